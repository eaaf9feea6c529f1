// The editor's copy-and-paste actor (TavCCP_Actor): mode 1 takes a snapshot of the
// selected activity subtrees, mode 4 pastes it under the one selected activity or
// resource behaviour.
#include <unordered_map>

#include "ActivitySnapshot.h"
#include "HostCopy.h"
#include "HostRuntime.h"
#include "TavCopy.h"

namespace host {

namespace {

// What an editor's actor keeps between queries: the mode and the snapshot.
struct ActorState {
  std::weak_ptr<HostEditor> editor;
  int mode = 0;
  ActivitySnapshot snapshot;
};

// The actors' states of one document's editors. Kept by the document, so a snapshot
// (which holds products of the document) never outlives it.
class HostCopyPasteStates final : public virtual TavBaseUnknown {
public:
  explicit HostCopyPasteStates(HostDocument*) {}
  ActorState& Of(const Ref<HostEditor>& editor) {
    ActorState& s = states_[editor.get()];
    if (s.editor.lock() != editor) s = ActorState{editor, 0, {}};  // a new editor at a reused address
    return s;
  }

private:
  std::unordered_map<const HostEditor*, ActorState> states_;
};

// An activity the selection element ends at, in the document; null otherwise.
Ref<HostActivity> ActivityAt(const TavPathElement& p, const HostDocument& doc) {
  auto leaf = p.GetLeaf();
  auto a = std::dynamic_pointer_cast<HostActivity>(leaf ? leaf->ExtendedObject() : nullptr);
  return a && a->Doc() == &doc ? a : nullptr;
}

class HostCopyPasteActor final : public virtual TavCCP_Actor {
public:
  HostCopyPasteActor(Ref<HostEditor> editor, ActorState& state) : editor_(std::move(editor)), state_(state) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return editor_; }

  void SetMode(int mode) override { state_.mode = mode; }
  int GetMode() const override { return state_.mode; }

  bool IsAllowed(const TavSelectionSet& selection) const override {
    if (state_.mode == kCopyMode) return !CopyTops(selection).empty();
    if (state_.mode == kPasteMode) return PasteParent(selection) != nullptr;
    return false;
  }

  HRESULT Copy(const TavSelectionSet& selection) override {
    if (state_.mode != kCopyMode) return E_FAIL;
    auto tops = CopyTops(selection);
    if (tops.empty()) return E_FAIL;
    state_.snapshot = ActivitySnapshot::Take(tops);
    return S_OK;
  }

  HRESULT Paste(const TavSelectionSet& selection) override {
    if (state_.mode != kPasteMode) return E_FAIL;
    auto parent = PasteParent(selection);
    if (!parent) return E_FAIL;
    return state_.snapshot.PasteUnder(parent).empty() ? E_FAIL : S_OK;
  }

private:
  // Every element ends at an activity of the editor's document; a behaviour is no
  // process to copy. Empty when one does not.
  std::vector<Ref<HostActivity>> CopyTops(const TavSelectionSet& selection) const {
    std::vector<Ref<HostActivity>> tops;
    const HostDocument* doc = editor_->Document().get();
    if (!doc || selection.GetSize() == 0) return tops;
    for (auto& p : selection.Items()) {
      auto a = ActivityAt(p, *doc);
      if (!a || a->Type()->IsA("OrvBehavior")) return {};
      tops.push_back(std::move(a));
    }
    return tops;
  }

  Ref<HostActivity> PasteParent(const TavSelectionSet& selection) const {
    const HostDocument* doc = editor_->Document().get();
    if (!doc || selection.GetSize() != 1 || state_.snapshot.Empty()) return nullptr;
    auto parent = ActivityAt(selection.Items().front(), *doc);
    return parent && state_.snapshot.CanPasteUnder(*parent) ? parent : nullptr;
  }

  Ref<HostEditor> editor_;
  ActorState& state_;  // the document's, which the editor keeps alive
};

}  // namespace

void RegisterCopyPasteActor() {
  TavExtensionRegistry::Get().Register("TavFrmEditor", TavCCP_Actor::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto editor = std::dynamic_pointer_cast<HostEditor>(o ? o->ExtendedObject() : nullptr);
                                         if (!editor || !editor->Document()) return nullptr;
                                         ActorState& state = editor->Document()->FindOrAddContainer<HostCopyPasteStates>().Of(editor);
                                         return std::make_shared<HostCopyPasteActor>(editor, state);
                                       });
}

}  // namespace host
