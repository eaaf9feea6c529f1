#include "HostVisu.h"

#include <unordered_set>

#include "HostUndo.h"
#include "PlantSections.h"

namespace host {

namespace {

// The state an object had before a change: applying it puts that state back and
// records the state it replaced, so undo and redo are the same record.
class VisuUndo final : public UndoAction {
public:
  VisuUndo(HostVisuStore& s, Ref<HostProduct> p, VisualState before) : store_(s), p_(std::move(p)), before_(before) {}
  bool Apply(HostDocument& doc, std::string& why) override {
    if (!doc.Holds(*p_)) return UndoGone(*p_, why);
    const VisualState now = store_.Get(*p_);
    store_.Put(*p_, before_);
    doc.Recording()->Add(std::make_unique<VisuUndo>(store_, p_, now));
    return true;
  }
  std::size_t Bytes() const override { return sizeof(*this); }
  // One field per object: its whole viewer state.
  const void* FieldOwner() const override { return p_.get(); }
  bool FieldUnchanged() const override { return store_.Get(*p_) == before_; }

private:
  HostVisuStore& store_;  // the document's: it outlives the journal
  Ref<HostProduct> p_;
  VisualState before_;
};

bool InPalette(int v) { return v >= 0 && v <= 255; }

// Both interfaces of one product or resource.
class HostVisu final : public virtual TavI3DGeoVisu, public virtual TavIVisProperties {
public:
  HostVisu(Ref<HostProduct> p, HostVisuStore& s) : p_(std::move(p)), store_(s) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return p_; }

  int GetColorIndex() const override { return State().colour; }
  HRESULT SetColorIndex(int index) override {
    if (!InPalette(index)) return E_FAIL;
    return Edit([&](VisualState& s) { s.colour = index; });
  }
  int GetInheritance() const override { return State().inheritance; }
  HRESULT SetInheritance(int flags) override {
    return Edit([&](VisualState& s) { s.inheritance = flags; });
  }
  int GetOpacity() const override { return State().opacity; }
  HRESULT SetOpacity(int opacity) override {
    if (!InPalette(opacity)) return E_FAIL;
    return Edit([&](VisualState& s) { s.opacity = opacity; });
  }
  void Redraw() override { ++store_.redraws_; }

  bool IsShown() const override { return State().shown; }
  HRESULT SetShow(bool shown) override {
    return Edit([&](VisualState& s) { s.shown = shown; });
  }
  int GetStoredColor() const override { return State().own; }
  void SendVisPropertiesChange() override { ++store_.notifications_; }
  void SendModelModification() override { ++store_.notifications_; }

private:
  VisualState State() const { return store_.Get(*p_); }
  template <class F>
  HRESULT Edit(F&& f) {
    VisualState s = State();
    f(s);
    return store_.Change(*p_, s);
  }
  Ref<HostProduct> p_;
  HostVisuStore& store_;
};

bool LoadVisuals(const PlantElement& section, PlantLoadContext& ctx) {
  HostVisuStore* store = VisuStoreOf(ctx.doc);
  if (!store) {
    ctx.Error(&section, "this document keeps no viewer state");
    return false;
  }
  if (!ctx.ReadAttributes(section, {})) return false;
  std::unordered_set<const HostProduct*> seen;
  for (const PlantElement* e : ctx.Children(section)) {
    if (!ctx.Expect(*e, "visual")) return false;
    std::optional<std::string> object, colour, inheritance, opacity, own, hidden;
    if (!ctx.ReadAttributes(*e, {{"object", &object, true},
                                 {"colour", &colour, false},
                                 {"inheritance", &inheritance, false},
                                 {"opacity", &opacity, false},
                                 {"own", &own, false},
                                 {"hidden", &hidden, false}}))
      return false;
    auto product = std::dynamic_pointer_cast<HostProduct>(ctx.Lookup(*object));
    if (!product) {
      ctx.Error(e, ctx.Lookup(*object) ? "'" + *object + "' has no 3D representation (not a product or resource)"
                                       : "a visual of unknown object '" + *object + "'");
      return false;
    }
    if (!seen.insert(product.get()).second) {
      ctx.Error(e, "object '" + *object + "' has two visuals");
      return false;
    }
    VisualState s;
    auto number = [&](const std::optional<std::string>& text, const char* attr, int& out, bool palette) {
      if (!text) return true;
      std::int64_t v = 0;
      if (!ctx.ParseInt(*e, attr, *text, v)) return false;
      if (palette ? (v < 0 || v > 255) : (v < 0 || v > 0xFFFF)) {
        ctx.Error(e, std::string(attr) + "=\"" + *text + "\" is out of range (" + (palette ? "0 to 255" : "0 to 65535") + ")");
        return false;
      }
      out = static_cast<int>(v);
      return true;
    };
    if (!number(own, "own", s.own, true)) return false;
    s.colour = s.own;  // the current colour is the own one unless stated
    if (!number(colour, "colour", s.colour, true) || !number(inheritance, "inheritance", s.inheritance, false) ||
        !number(opacity, "opacity", s.opacity, true))
      return false;
    bool isHidden = false;
    if (hidden && !ctx.ParseBool(*e, "hidden", *hidden, isHidden)) return false;
    s.shown = !isHidden;
    store->Put(*product, s);
  }
  return !ctx.Failed();
}

void SaveProductVisuals(const HostVisuStore& store, const Ref<HostProduct>& root, PlantWriter& w) {
  std::vector<const HostProduct*> stack{root.get()};
  while (!stack.empty()) {
    const HostProduct* p = stack.back();
    stack.pop_back();
    const VisualState s = store.Get(*p);
    if (!s.IsDefault()) {
      w.Start("visual");
      w.Attr("object", p->IdString());
      if (s.colour != s.own) w.AttrInt("colour", s.colour);
      if (s.inheritance != kTavInheritOwnColour) w.AttrInt("inheritance", s.inheritance);
      if (s.opacity != kTavOpaque) w.AttrInt("opacity", s.opacity);
      if (s.own != kTavDefaultColour) w.AttrInt("own", s.own);
      if (!s.shown) w.Attr("hidden", "true");
      w.End();
    }
    const auto& children = p->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
  }
}

// Products first, then resources, each tree depth first: the order the file lists them.
void SaveVisuals(const HostDocument& doc, PlantWriter& w) {
  const HostVisuStore* store = VisuStoreOf(doc);
  if (!store || store->Size() == 0) return;
  w.Start("visuals");
  for (const HostRootList* list : {&doc.Products(), &doc.Resources()})
    for (auto& root : list->roots_) SaveProductVisuals(*store, root, w);
  w.End();
}

}  // namespace

VisualState HostVisuStore::Get(const HostProduct& p) const {
  auto it = states_.find(&p);
  return it == states_.end() ? VisualState{} : it->second.state;
}

void HostVisuStore::Put(HostProduct& p, const VisualState& s) {
  if (s.IsDefault()) states_.erase(&p);
  else states_[&p] = Entry{SelfRef<HostProduct>(p), s};
}

HRESULT HostVisuStore::Change(HostProduct& p, const VisualState& s) {
  const VisualState before = Get(p);
  if (before == s) return S_FALSE;
  if (UndoLog* log = doc_.Recording()) log->Add(std::make_unique<VisuUndo>(*this, SelfRef<HostProduct>(p), before));
  Put(p, s);
  return S_OK;
}

HostVisuStore* VisuStoreOf(const HostDocument& doc) { return doc.FindContainer<HostVisuStore>(); }

void RegisterVisuHost() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!VisuStoreOf(doc)) doc.AddContainer(std::make_shared<HostVisuStore>(doc));
  });
  auto factory = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto p = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    HostVisuStore* store = p && p->Doc() ? VisuStoreOf(*p->Doc()) : nullptr;
    return store ? std::make_shared<HostVisu>(p, *store) : nullptr;
  };
  for (const char* late : {"TavProduct", "TavResource"})
    for (const char* i : {TavI3DGeoVisu::kInterfaceName, TavIVisProperties::kInterfaceName})
      TavExtensionRegistry::Get().Register(late, i, factory);
  RegisterPlantSection("visuals", LoadVisuals, SaveVisuals);
}

}  // namespace host
