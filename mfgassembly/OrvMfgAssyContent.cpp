#include "OrvMfgAssyContent.h"

#include <algorithm>

const void* OrvMfgAssyContent::Key(const Ref<TavBaseUnknown>& o) {
  if (!o) return nullptr;
  Ref<TavBaseUnknown> extended = o->ExtendedObject();
  return extended ? static_cast<const void*>(extended.get()) : static_cast<const void*>(o.get());
}

bool OrvMfgAssyContent::Add(const Ref<TavBaseUnknown>& object, TavUnicodeString name, TavUnicodeString type) {
  const void* key = Key(object);
  if (!key || index_.count(key)) return false;
  index_.emplace(key, items_.size());
  items_.push_back({object, std::move(name), std::move(type)});
  return true;
}

bool OrvMfgAssyContent::Toggle(const Ref<TavBaseUnknown>& object, TavUnicodeString name, TavUnicodeString type) {
  const void* key = Key(object);
  if (!key) return false;
  if (auto it = index_.find(key); it != index_.end()) {
    items_[it->second].object = nullptr;
    index_.erase(it);
    holes_ = true;
    return false;
  }
  return Add(object, std::move(name), std::move(type));
}

void OrvMfgAssyContent::RemoveRows(const std::vector<int>& rows) {
  Settle();
  for (int row : rows) {
    if (row < 0 || row >= static_cast<int>(items_.size())) continue;
    auto& item = items_[static_cast<std::size_t>(row)];
    if (!item.object) continue;
    index_.erase(Key(item.object));
    item.object = nullptr;
    holes_ = true;
  }
  Settle();
}

void OrvMfgAssyContent::Settle() {
  if (!holes_) return;
  holes_ = false;
  std::erase_if(items_, [](const Item& i) { return !i.object; });
  for (std::size_t i = 0; i < items_.size(); ++i) index_[Key(items_[i].object)] = i;
}

void OrvMfgAssyContent::Clear() {
  items_.clear();
  index_.clear();
  holes_ = false;
}

void OrvMfgAssyContent::Assign(const std::vector<Item>& items) {
  Clear();
  items_.reserve(items.size());
  index_.reserve(items.size());
  for (const auto& i : items) Add(i.object, i.name, i.type);
}

bool OrvMfgAssyContent::Contains(const Ref<TavBaseUnknown>& object) const {
  const void* key = Key(object);
  return key && index_.count(key) > 0;
}

std::vector<Ref<TavBaseUnknown>> OrvMfgAssyContent::Objects() const {
  std::vector<Ref<TavBaseUnknown>> out;
  out.reserve(items_.size());
  for (const auto& i : items_)
    if (i.object) out.push_back(i.object);
  return out;
}

std::vector<TavUnicodeString> OrvMfgAssyContent::Names() const {
  std::vector<TavUnicodeString> out;
  out.reserve(items_.size());
  for (const auto& i : items_)
    if (i.object) out.push_back(i.name);
  return out;
}

std::vector<TavUnicodeString> OrvMfgAssyContent::Types() const {
  std::vector<TavUnicodeString> out;
  out.reserve(items_.size());
  for (const auto& i : items_)
    if (i.object) out.push_back(i.type);
  return out;
}
