// A document's activity libraries and hub plan types, and their plant sections.
#include "HostLibrary.h"

#include <filesystem>
#include <map>
#include <sstream>

#include "PlantSections.h"

namespace host {

namespace fs = std::filesystem;

namespace {

// The library root container of a document (TavIActivityLibraryMgt).
class HostLibraryMgt final : public virtual TavIActivityLibraryMgt {
public:
  explicit HostLibraryMgt(HostDocument* doc) : doc_(doc) {}
  std::string LateType() const override { return "SPPLibMgt"; }
  std::vector<Ref<TavBaseUnknown>> GetLibraryContainers() const override { return {libraries_.begin(), libraries_.end()}; }

  Ref<TavBaseUnknown> AttachWorkbenchLibrary(const TavUnicodeString& fileName, TavUnicodeString& error) override {
    error = TavUnicodeString();
    for (auto& c : libraries_)
      if (c->IsWorkbenchLibrary() && c->File().FileName() == fileName.utf8()) return c;
    std::string e;
    const ActivityLibraryFile* f = ActivityLibraries::Get().LoadWorkbenchLibrary(fileName.utf8(), e);
    if (!f) {
      error = e;
      return nullptr;
    }
    // Attaching changes no plant: nothing records it, nothing saves it.
    auto c = Make(*f, {}, true);
    libraries_.push_back(c);
    return c;
  }

  Ref<HostLibraryContainer> Make(const ActivityLibraryFile& f, std::string writtenPath, bool workbench) const {
    // A hub plant's libraries live in the hub; others name themselves by their title.
    Ref<TavIDocEnvironment> env = doc_->IsHub() ? doc_->GetDocEnvironment() : LibraryEnvironment::Local();
    return std::make_shared<HostLibraryContainer>(f, std::make_shared<LibraryDocument>(f, std::move(env)),
                                                  std::move(writtenPath), workbench);
  }

  HostDocument* doc_;
  std::vector<Ref<HostLibraryContainer>> libraries_;
};

HostLibraryMgt* MgtOf(const HostDocument& doc) { return doc.FindContainer<HostLibraryMgt>(); }

// ------------------------------------------------------------------ hub plan types
class HostPlanType final : public virtual OrvIMHIPlanType {
public:
  HostPlanType(std::string name, std::vector<TavUnicodeString> children, bool listable)
      : name_(std::move(name)), children_(std::move(children)), listable_(listable) {}
  std::string LateType() const override { return "OrvMHIPlanType"; }
  TavUnicodeString GetName() const override { return name_; }
  HRESULT GetAllowedChildTypes(std::vector<TavUnicodeString>& types) const override {
    types.clear();
    if (!listable_) return E_FAIL;
    types = children_;
    return S_OK;
  }
  const std::string& Name() const { return name_; }
  const std::vector<TavUnicodeString>& Children() const { return children_; }
  bool Listable() const { return listable_; }

private:
  std::string name_;
  std::vector<TavUnicodeString> children_;
  bool listable_;
};

// The hub's plan types of a hub document and which object has which. Kept by object
// id: an object taken out and put back by undo keeps its plan type.
class HostPlanTypes final : public virtual TavBaseUnknown {
public:
  explicit HostPlanTypes(HostDocument*) {}
  std::vector<Ref<HostPlanType>> types;            // hub order
  std::map<std::string, Ref<HostPlanType>> byName;
  std::vector<std::string> assignedOrder;          // object ids, as assigned
  std::map<std::string, Ref<HostPlanType>> assigned;
};

HostPlanTypes* PlanTypesOf(const HostDocument& doc) { return doc.FindContainer<HostPlanTypes>(); }

// An activity, behaviour or resource of a hub document.
class HostPlanTypeObject final : public virtual OrvIMHIPlanTypeObject {
public:
  explicit HostPlanTypeObject(Ref<HostObject> a) : activity_(std::move(a)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return activity_; }
  Ref<OrvIMHIPlanType> GetPlanType() const override {
    // Through the document each time: an activity taken out of it, or outliving it, has none.
    const HostPlanTypes* store = activity_->Doc() ? PlanTypesOf(*activity_->Doc()) : nullptr;
    if (!store) return nullptr;
    auto it = store->assigned.find(activity_->IdString());
    return it == store->assigned.end() ? nullptr : it->second;
  }

private:
  Ref<HostObject> activity_;
};

// What a plan type is assigned to: an activity (a process, a behaviour) or a resource.
Ref<HostObject> PlanTypeHolder(const Ref<TavBaseUnknown>& o) {
  if (auto a = std::dynamic_pointer_cast<HostActivity>(o)) return a;
  auto r = std::dynamic_pointer_cast<HostProduct>(o);
  return r && r->IsResource() ? r : nullptr;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// ------------------------------------------------------------------ plant sections
bool LoadLibraries(const PlantElement& section, PlantLoadContext& ctx) {
  if (!ctx.ReadAttributes(section, {})) return false;
  HostLibraryMgt* mgt = MgtOf(ctx.doc);
  const fs::path base = fs::path(ctx.FileName()).parent_path();
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "library")) return false;
    std::optional<std::string> path;
    if (!ctx.ReadAttributes(*e, {{"path", &path, true}})) return false;
    if (path->empty()) {
      ctx.Error(e, "a <library> needs a path");
      return false;
    }
    const fs::path p(*path);
    const std::string file = p.is_absolute() || base.empty() ? *path : (base / p).string();
    std::string error;
    const ActivityLibraryFile* f = ActivityLibraries::Get().Load(file, error);
    if (!f) {
      ctx.Error(e, "library '" + *path + "' cannot be loaded: " + error);
      return false;
    }
    mgt->libraries_.push_back(mgt->Make(*f, *path, false));
  }
  return !ctx.Failed();
}

void SaveLibraries(const HostDocument& doc, PlantWriter& w) {
  w.Start("activityLibraries");
  if (HostLibraryMgt* mgt = MgtOf(doc))
    for (auto& c : mgt->libraries_) {
      if (c->IsWorkbenchLibrary()) continue;
      w.Start("library");
      w.Attr("path", c->WrittenPath());
      w.End();
    }
  w.End();
}

bool LoadPlanTypes(const PlantElement& section, PlantLoadContext& ctx) {
  HostPlanTypes* store = PlanTypesOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "plan types need a hub plant (environment=\"hub\")");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  // A resource's plan type allows plan types of resources as children: names that are
  // no activity type must name a plan type of the section, defined before or after.
  struct PlanTypeChild {
    const PlantElement* at;
    std::string planType, child;
  };
  std::vector<PlanTypeChild> planTypeChildren;
  for (const PlantElement* e : ctx.Children(section)) {
    if (PlantLoadContext::Name(*e) == "planType") {
      std::optional<std::string> name, children, listable;
      if (!ctx.ReadAttributes(*e, {{"name", &name, true}, {"children", &children, false}, {"listable", &listable, false}})) return false;
      bool canList = true;
      if (listable && !ctx.ParseBool(*e, "listable", *listable, canList)) return false;
      if (name->empty() || store->byName.count(*name)) {
        ctx.Error(e, name->empty() ? "a <planType> needs a name" : "duplicate plan type '" + *name + "'");
        return false;
      }
      if (!canList && children) {
        ctx.Error(e, "plan type '" + *name + "' cannot list children but names some");
        return false;
      }
      std::vector<TavUnicodeString> types;
      for (auto& t : Words(children.value_or(""))) {
        if (!FindType(t)) planTypeChildren.push_back({e, *name, t});
        types.emplace_back(t);
      }
      auto pt = std::make_shared<HostPlanType>(*name, std::move(types), canList);
      store->types.push_back(pt);
      store->byName[*name] = pt;
      continue;
    }
    if (!ctx.Expect(*e, "planAssign")) return false;
    std::optional<std::string> object, planType;
    if (!ctx.ReadAttributes(*e, {{"object", &object, true}, {"planType", &planType, true}})) return false;
    auto it = store->byName.find(*planType);
    if (it == store->byName.end()) {
      ctx.Error(e, "unknown plan type '" + *planType + "' (define it before it is assigned)");
      return false;
    }
    if (!PlanTypeHolder(ctx.Lookup(*object))) {
      ctx.Error(e, "'" + *object + "' is no activity, process, behaviour or resource");
      return false;
    }
    if (!store->assigned.emplace(*object, it->second).second) {
      ctx.Error(e, "'" + *object + "' has a plan type already");
      return false;
    }
    store->assignedOrder.push_back(*object);
  }
  if (ctx.Failed()) return false;
  for (auto& c : planTypeChildren)
    if (!store->byName.count(c.child)) {
      ctx.Error(c.at, "plan type '" + c.planType + "' allows the unknown activity type '" + c.child +
                          "' (nor is it a plan type)");
      return false;
    }
  return true;
}

void SavePlanTypes(const HostDocument& doc, PlantWriter& w) {
  HostPlanTypes* store = PlanTypesOf(doc);
  w.Start("planTypes");
  if (store) {
    for (auto& t : store->types) {
      w.Start("planType");
      w.Attr("name", t->Name());
      std::string children;
      for (auto& c : t->Children()) children += (children.empty() ? "" : " ") + c.utf8();
      if (!children.empty()) w.Attr("children", children);
      if (!t->Listable()) w.Attr("listable", "false");
      w.End();
    }
    // An object no longer in the plant keeps no assignment in the file.
    for (auto& id : store->assignedOrder)
      if (doc.FindById(TavUnicodeString(id))) {
        w.Start("planAssign");
        w.Attr("object", id);
        w.Attr("planType", store->assigned.at(id)->Name());
        w.End();
      }
  }
  w.End();
}

}  // namespace

std::vector<Ref<HostLibraryContainer>> LibrariesOf(const HostDocument& doc) {
  HostLibraryMgt* mgt = MgtOf(doc);
  return mgt ? mgt->libraries_ : std::vector<Ref<HostLibraryContainer>>{};
}

std::string PlanTypeNameOf(const HostObject& object) {
  const HostPlanTypes* store = object.Doc() ? PlanTypesOf(*object.Doc()) : nullptr;
  if (!store) return {};
  auto it = store->assigned.find(object.IdString());
  return it == store->assigned.end() ? std::string() : it->second->Name();
}

bool AssignPlanType(const HostObject& object, const std::string& planType) {
  HostPlanTypes* store = object.Doc() ? PlanTypesOf(*object.Doc()) : nullptr;
  if (!store || !PlanTypeHolder(const_cast<HostObject&>(object).self())) return false;
  auto type = store->byName.find(planType);
  if (type == store->byName.end()) return false;
  if (store->assigned.insert_or_assign(object.IdString(), type->second).second) store->assignedOrder.push_back(object.IdString());
  return true;
}

bool MarkLibraryModified(HostDocument& doc, const std::string& name, std::string& error) {
  bool any = false;
  for (auto& c : LibrariesOf(doc))
    if (c->File().FileName() == name || (!c->WrittenPath().empty() && c->WrittenPath() == name)) {
      c->Document().SetDirtyStatus(TavDirtyStatus::ModifiedNotSaved);
      any = true;
    }
  if (!any) error = "the plant has no activity library '" + name + "' (give its file name or its path as the plant gives it)";
  return any;
}

void RegisterLibraryHost() {
  ActivityLibraries& libraries = ActivityLibraries::Get();
  OrvVekPlantypeCache::Install(&libraries);
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!MgtOf(doc)) doc.AddContainer(std::make_shared<HostLibraryMgt>(&doc));
    if (doc.IsHub() && !PlanTypesOf(doc)) doc.AddContainer(std::make_shared<HostPlanTypes>(&doc));
  });
  TavExtensionRegistry::Get().RegisterForAnyType(OrvIMHIPlanTypeObject::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto a = PlanTypeHolder(o ? o->ExtendedObject() : nullptr);
    HostPlanTypes* store = a && a->Doc() ? PlanTypesOf(*a->Doc()) : nullptr;
    return store ? std::make_shared<HostPlanTypeObject>(a) : nullptr;
  });
  RegisterPlantSection("activityLibraries", LoadLibraries, SaveLibraries, PlantSectionPhase::Early);
  RegisterPlantSection("planTypes", LoadPlanTypes, SavePlanTypes, PlantSectionPhase::Late);
  // The workbench's libraries: their types exist for every plant. A missing resource
  // folder is reported when a command attaches them.
  std::string error;
  for (const char* f : {"OrvBIWActivityLibrary.feat", "VEKAssistantProcessLibrary.feat"}) libraries.LoadWorkbenchLibrary(f, error);
}

}  // namespace host
