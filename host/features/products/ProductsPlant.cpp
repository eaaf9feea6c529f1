// The plant elements <resourceContexts> and <blockMovable>, and plant files read as
// a source of resources (docs/plant-format.md).
#include <filesystem>
#include <map>

#include "HostProducts.h"
#include "PlantDocument.h"
#include "PlantSections.h"

namespace host {

namespace {

bool LoadResourceContexts(const PlantElement& section, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(section, {})) return false;
  HostResourceContexts* store = ResourceContextsOf(ctx.doc);
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "context")) return false;
    std::optional<std::string> ref;
    if (!ctx.ReadAttributes(*e, {{"ref", &ref, true}})) return false;
    auto r = std::dynamic_pointer_cast<HostProduct>(ctx.Lookup(*ref));
    if (!r || !r->IsResource()) {
      ctx.Error(e, "'" + *ref + "' is no resource of this plant");
      return false;
    }
    if (store->IsResourceContext(r)) {
      ctx.Error(e, "duplicate resource context '" + *ref + "'");
      return false;
    }
    store->AppendLoaded(r);
  }
  return !ctx.Failed();
}

void SaveResourceContexts(const HostDocument& doc, PlantWriter& w) {
  w.Start("resourceContexts");
  if (const HostResourceContexts* store = ResourceContextsOf(doc))
    for (auto& r : store->List())
      if (doc.Holds(*r)) {
        w.Start("context");
        w.Attr("ref", r->IdString());
        w.End();
      }
  w.End();  // no context: an empty element, which the writer drops
}

bool LoadBlockMovable(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  std::optional<std::string> value;
  if (!ctx.ReadAttributes(e, {{"value", &value, true}})) return false;
  bool movable = true;
  if (!ctx.ParseBool(e, "value", *value, movable)) return false;
  if (movable) {
    // Only the exception is written, so that a file saves as it was read.
    ctx.Error(&e, "<blockMovable value=\"true\"/> is the default: leave the element out");
    return false;
  }
  auto p = std::dynamic_pointer_cast<HostProduct>(owner);
  if (!BlockMovableOf(ctx.doc)->Set(p, false)) {
    ctx.Error(&e, "two <blockMovable> elements");
    return false;
  }
  return true;
}

void SaveBlockMovable(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* p = TavCast<HostProduct>(owner.get());
  const HostBlockMovable* store = p && p->Doc() ? BlockMovableOf(*p->Doc()) : nullptr;
  if (!store || store->IsBlockMovable(*p)) return;
  w.Start("blockMovable");
  w.Attr("value", "false");
  w.End();
}

// Each plant file once per session (by its canonical path), kept open so that the
// handles given out stay valid.
class HostPlantFileReader final : public TavPlantFileReader {
public:
  HRESULT ReadResources(const std::string& path, std::vector<Ref<TavIProduct>>& resources, std::string& error) override {
    resources.clear();
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    const std::string key = ec ? path : canonical.string();
    auto it = open_.find(key);
    if (it == open_.end()) {
      if (!std::filesystem::is_regular_file(path, ec)) {
        error = path + ": no such plant file";
        return E_FAIL;
      }
      auto doc = LoadPlant(path, error);
      if (!doc) return E_FAIL;
      it = open_.emplace(key, std::move(doc)).first;
    }
    const auto& roots = it->second->Resources().roots_;
    if (roots.empty()) {
      error = path + " has no resources";
      return E_FAIL;
    }
    resources.assign(roots.begin(), roots.end());
    return S_OK;
  }
  void Forget() { open_.clear(); }

private:
  std::map<std::string, Ref<HostDocument>> open_;
};

// Never destroyed: the documents it keeps must not outlive the registries their
// destructors use.
HostPlantFileReader& Reader() {
  static auto* reader = new HostPlantFileReader;
  return *reader;
}

}  // namespace

void ForgetPlantFiles() { Reader().Forget(); }

void RegisterProductsPlant() {
  RegisterPlantSection("resourceContexts", LoadResourceContexts, SaveResourceContexts);
  for (const char* parent : {"product", "resource"}) RegisterElementExtension(parent, "blockMovable", LoadBlockMovable, SaveBlockMovable);
  TavPlantFileReader::Install(&Reader());
}

}  // namespace host
