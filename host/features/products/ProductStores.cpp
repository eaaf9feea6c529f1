// The document's resource contexts and block-movable settings, with their undo records.
#include <algorithm>

#include "HostProducts.h"
#include "HostUndo.h"

namespace host {

HostResourceContexts* ResourceContextsOf(const HostDocument& doc) { return doc.FindContainer<HostResourceContexts>(); }
HostBlockMovable* BlockMovableOf(const HostDocument& doc) { return doc.FindContainer<HostBlockMovable>(); }

// ------------------------------------------------------------------ resource contexts
// A context put back at its place (attach) or taken away.
class ResourceContextUndo final : public UndoAction {
public:
  ResourceContextUndo(HostResourceContexts& store, Ref<HostProduct> resource, std::size_t index, bool attach)
      : store_(store), resource_(std::move(resource)), index_(index), attach_(attach) {}
  std::size_t Bytes() const override { return sizeof(*this); }
  bool Apply(HostDocument& doc, std::string& why) override {
    auto& list = store_.list_;
    auto at = std::find(list.begin(), list.end(), resource_);
    if (attach_) {
      if (at != list.end() || index_ > list.size()) {
        why = "the resource context " + UndoName(*resource_) + " cannot be put back: its place is gone";
        return false;
      }
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(index_), resource_);
    } else {
      if (at == list.end()) {
        why = UndoName(*resource_) + " is no resource context any more";
        return false;
      }
      index_ = static_cast<std::size_t>(at - list.begin());
      list.erase(at);
    }
    doc.Recording()->Add(std::make_unique<ResourceContextUndo>(store_, resource_, index_, !attach_));
    return true;
  }

private:
  HostResourceContexts& store_;  // the document's: it outlives the journal
  Ref<HostProduct> resource_;
  std::size_t index_;
  bool attach_;
};

Ref<HostProduct> HostResourceContexts::ResourceOf(const Ref<TavBaseUnknown>& o) const {
  auto r = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
  return r && r->IsResource() && doc_->Holds(*r) ? r : nullptr;
}

HRESULT HostResourceContexts::AddResourceContext(const Ref<TavBaseUnknown>& resource) {
  auto r = ResourceOf(resource);
  if (!r) return E_FAIL;
  if (std::find(list_.begin(), list_.end(), r) != list_.end()) return S_FALSE;
  list_.push_back(r);
  if (UndoLog* log = doc_->Recording()) log->Add(std::make_unique<ResourceContextUndo>(*this, r, list_.size() - 1, false));
  return S_OK;
}

HRESULT HostResourceContexts::RemoveResourceContext(const Ref<TavBaseUnknown>& resource) {
  auto r = std::dynamic_pointer_cast<HostProduct>(resource ? resource->ExtendedObject() : nullptr);
  auto at = r ? std::find(list_.begin(), list_.end(), r) : list_.end();
  if (at == list_.end()) return S_FALSE;
  const auto index = static_cast<std::size_t>(at - list_.begin());
  list_.erase(at);
  if (UndoLog* log = doc_->Recording()) log->Add(std::make_unique<ResourceContextUndo>(*this, r, index, true));
  return S_OK;
}

bool HostResourceContexts::IsResourceContext(const Ref<TavBaseUnknown>& resource) const {
  auto r = ResourceOf(resource);
  return r && std::find(list_.begin(), list_.end(), r) != list_.end();
}

bool HostResourceContexts::IsUnderResourceContext(const Ref<TavBaseUnknown>& resource) const {
  if (list_.empty()) return false;
  for (auto r = ResourceOf(resource); r; r = r->Father())
    if (std::find(list_.begin(), list_.end(), r) != list_.end()) return true;
  return false;
}

// ------------------------------------------------------------------ block-movable
// A product's setting before a change.
class BlockMovableUndo final : public UndoAction {
public:
  BlockMovableUndo(HostBlockMovable& store, Ref<HostProduct> product, bool movable)
      : store_(store), product_(std::move(product)), movable_(movable) {}
  std::size_t Bytes() const override { return sizeof(*this); }
  bool Apply(HostDocument& doc, std::string& why) override {
    if (!doc.Holds(*product_)) return UndoGone(*product_, why);
    store_.Set(product_, movable_);  // records the reverse
    return true;
  }

private:
  HostBlockMovable& store_;
  Ref<HostProduct> product_;
  bool movable_;
};

bool HostBlockMovable::IsBlockMovable(const HostProduct& p) const {
  auto it = fixed_.find(&p);
  return it == fixed_.end() || it->second.lock().get() != &p;
}

bool HostBlockMovable::Set(const Ref<HostProduct>& p, bool movable) {
  if (!p || IsBlockMovable(*p) == movable) return false;
  if (movable) fixed_.erase(p.get());
  else fixed_[p.get()] = p;
  if (UndoLog* log = RecorderOf(*p)) log->Add(std::make_unique<BlockMovableUndo>(*this, p, !movable));
  return true;
}

}  // namespace host
