// The plant section <tsas>: the document's TSAs with their activity trees
// (docs/plant-format.md). Each <tsa> holds what a <process> holds; the flow links
// and precedences of TSA activities are written by the core in <links>.
#include "HostPlanner.h"
#include "PlantSections.h"

namespace host {

namespace {

bool LoadTsas(const PlantElement& section, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(section, {})) return false;
  HostContExt* ext = ContExtOf(ctx.doc);
  if (!ext) {
    ctx.Error(&section, "this document keeps no TSAs");
    return false;
  }
  const PlantLoadContext::ActivityRootMaker makeTsa = [ext](const std::string& id, const TavUnicodeString& label,
                                                           const std::string& type) -> Ref<HostActivity> {
    return ext->CreateTSA(id, label, type);
  };
  for (const PlantElement* t : ctx.Children(section)) {
    if (!ctx.Expect(*t, "tsa")) return false;
    if (!ctx.LoadActivityTree(*t, makeTsa)) return false;
  }
  return !ctx.Failed();
}

void SaveTsas(const HostDocument& doc, PlantWriter& w) {
  w.Start("tsas");
  if (const HostContExt* ext = ContExtOf(doc))
    for (auto& t : ext->TSAs()) WritePlantActivityTree(doc, t, "tsa", w);
  w.End();  // no TSA: an empty element, which the writer drops
}

std::vector<Ref<HostActivity>> TsaRoots(const HostDocument& doc) {
  const HostContExt* ext = ContExtOf(doc);
  if (!ext) return {};
  return {ext->TSAs().begin(), ext->TSAs().end()};
}

}  // namespace

void RegisterTsaSection() {
  RegisterPlantSection("tsas", LoadTsas, SaveTsas);
  RegisterPlantActivityRoots("tsas", TsaRoots);
}

}  // namespace host
