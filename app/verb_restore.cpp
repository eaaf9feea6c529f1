// mirt restore PLANT [--list] [--product PATH...] (-o OUT | --in-place) [--json]: the
// products and resources displaced from their design positions, and putting them back
// as the restore dialog does.
#include <iostream>

#include "OrvVekDesignRestore.h"
#include "Output.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, out;
  std::vector<std::string> products;
  bool list = false, inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

mirt::Json Entries(const host::HostDocument& doc, const std::vector<Ref<TavBaseUnknown>>& objects) {
  mirt::Json out = mirt::Json::array();
  for (auto& o : objects) {
    auto p = query<TavIProduct>(o);
    auto* h = TavCast<host::HostObject>(o.get());
    out.push_back({{"path", doc.PathString(o)}, {"id", h ? h->IdString() : std::string()},
                   {"kind", p && p->IsResource() ? "resource" : "product"}});
  }
  return out;
}

void PrintList(const host::HostDocument& doc, const char* heading, const std::vector<Ref<TavBaseUnknown>>& objects) {
  std::cout << heading << ": " << objects.size() << '\n';
  for (auto& o : objects) std::cout << "  " << doc.PathString(o) << '\n';
}

int Run() {
  Options& o = Opt();
  if (o.list && (!o.products.empty() || !o.out.empty() || o.inPlace))
    throw mirt::VerbError("--list only lists: it takes no --product, -o or --in-place");
  const std::string target = o.list ? std::string() : mirt::PlantOutput(o.plant, o.out, o.inPlace);
  std::string error;
  Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  OrvVekDesignRestore engine(doc);
  if (!engine.IsValid()) throw mirt::VerbError(o.plant + " keeps no design positions");
  const std::vector<Ref<TavBaseUnknown>> displaced = engine.ComputeDisplacedPrdRes();
  std::vector<Ref<TavBaseUnknown>> products, resources;
  OrvVekDesignRestore::SegregatePrdResList(displaced, products, resources);

  if (o.list) {
    if (o.format.Get() == mirt::Format::Json) {
      mirt::PrintJson(std::cout, {{"plant", o.plant}, {"products", Entries(*doc, products)}, {"resources", Entries(*doc, resources)}});
    } else {
      PrintList(*doc, "displaced products", products);
      PrintList(*doc, "displaced resources", resources);
    }
    return 0;
  }

  // What to put back: as the dialog's two choices, all (with the assemblies) or those named.
  std::vector<Ref<TavBaseUnknown>> list;
  if (o.products.empty()) {
    list = products;
    list.insert(list.end(), resources.begin(), resources.end());
    for (auto& ma : OrvEMfgAssemblyFactory::GetMAsInContainer(doc, 0)) list.push_back(ma);
  } else {
    for (auto& path : o.products) {
      auto leaf = doc->Resolve(path).GetLeaf();
      if (!leaf || !query<TavIProduct>(leaf)) throw mirt::VerbError("--product: no product or resource '" + path + "' in " + o.plant);
      if (!engine.IsDisplaced(leaf))
        throw mirt::VerbError("--product: '" + path + "' stands in its design position; nothing was written");
      list.push_back(leaf);
    }
  }
  engine.Restore(list);
  if (!host::SavePlant(*doc, target, error)) throw mirt::VerbError(error);

  if (o.format.Get() == mirt::Format::Json) {
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"restored", Entries(*doc, engine.Moved())}, {"output", target}});
    return 0;
  }
  PrintList(*doc, "put back in their design positions", engine.Moved());
  std::cout << "saved " << target << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::RestoreVerb() {
  return mirt::Verb{
    "restore", "List the products and resources displaced from their design positions, or put them back", 28,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_flag("--list", o.list, "Only list the displaced products and resources");
      sub.add_option("--product", o.products,
                     "Put back only these displaced products or resources (paths or #ids), with their displaced "
                     "children; default: all, and the parts of every manufactured assembly")
          ->expected(1, -1);
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Displaced: the current position differs from the design position by more than the tolerance "
                 "(docs/positions.md). Tags and products whose cables are out of their design state are never listed.\n"
                 "Exit codes: 0 done, 1 bad input (a plant that does not load, an unknown or undisplaced --product): "
                 "then nothing is written.");
    },
    Run};
}
