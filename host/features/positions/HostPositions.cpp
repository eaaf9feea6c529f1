#include "HostPositions.h"

namespace host {

namespace {
const HostObject* ModelObject(const Ref<TavBaseUnknown>& o) {
  return o ? TavCast<HostObject>(o->ExtendedObject().get()) : nullptr;
}
}  // namespace

const char* TagKindName(TagKind k) {
  switch (k) {
    case TagKind::Tag: return "tag";
    case TagKind::TagGroup: return "tagGroup";
    case TagKind::TagList: return "tagList";
  }
  return "tag";
}

TavIMovable::Position HostDesignStore::Design(const HostProduct& p) const {
  const auto n = static_cast<std::size_t>(p.GetModelNumber());
  return n < slot_.size() ? designs_[slot_[n]] : designs_[0];
}

void HostDesignStore::SetDesign(const HostProduct& p, const TavIMovable::Position& m) {
  const auto n = static_cast<std::size_t>(p.GetModelNumber());
  if (n >= slot_.size()) {
    if (m == designs_[0]) return;
    slot_.resize(std::max(n + 1, slot_.size() * 2), 0);
  }
  if (slot_[n]) designs_[slot_[n]] = m;
  else if (m != designs_[0]) {
    slot_[n] = static_cast<std::uint32_t>(designs_.size());
    designs_.push_back(m);
  }
}

TavIMovable::Position HostDesignStore::GetDesignPosition(const Ref<TavBaseUnknown>& product) const {
  auto* p = product ? TavCast<HostProduct>(product->ExtendedObject().get()) : nullptr;
  return p && p->Doc() == &doc_ ? Design(*p) : designs_[0];
}

const TagKind* HostDesignStore::TagOf(const HostObject& o) const {
  if (tags_.empty()) return nullptr;
  auto it = tags_.find(o.GetModelNumber());
  return it == tags_.end() ? nullptr : &it->second;
}

bool HostDesignStore::IsTagObject(const Ref<TavBaseUnknown>& object) const {
  const HostObject* o = ModelObject(object);
  return o && TagOf(*o);
}

bool HostDesignStore::CableInDesignState(const HostObject& o) const {
  if (cables_.empty()) return true;
  auto it = cables_.find(o.GetModelNumber());
  return it == cables_.end() || it->second;
}

bool HostDesignStore::CheckCableDesignStates(const Ref<TavBaseUnknown>& product) const {
  const HostObject* o = ModelObject(product);
  return !o || CableInDesignState(*o);
}

HostDesignStore* DesignPositionsOf(const HostDocument& doc) { return doc.FindContainer<HostDesignStore>(); }

}  // namespace host
