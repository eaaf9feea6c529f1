#include "HostIdTable.h"

#include <functional>

#include "HostModel.h"

namespace host {

namespace {
// Filled to at most three quarters: linear probes stay short.
constexpr std::size_t Capacity(std::size_t n) { return n + n / 3 + 16; }
}  // namespace

std::uint64_t IdTable::Hash(std::string_view id) { return std::hash<std::string_view>{}(id); }

std::size_t IdTable::Locate(std::string_view id, std::uint64_t h) const {
  if (slots_.empty()) return 0;
  for (std::size_t i = Home(h);; i = Next(i)) {
    const Slot& s = slots_[i];
    if (!s.object) {
      if (s.hash == 0) return slots_.size();
      continue;  // tombstone
    }
    if (s.hash == h && !s.weak.expired() && s.object->IdString() == id) return i;
  }
}

HostObject* IdTable::Find(std::string_view id) const {
  std::size_t i = Locate(id, Hash(id));
  return i < slots_.size() ? slots_[i].object : nullptr;
}

Ref<TavBaseUnknown> IdTable::Lock(std::string_view id) const {
  std::size_t i = Locate(id, Hash(id));
  return i < slots_.size() ? slots_[i].weak.lock() : nullptr;
}

bool IdTable::Insert(HostObject& o) {
  if (Capacity(size_ + tombs_ + 1) > slots_.size()) Grow(Capacity(2 * (size_ + 1)));
  const std::string& id = o.IdString();
  const std::uint64_t h = Hash(id);
  std::size_t free = slots_.size();
  std::size_t i = Home(h);
  // Only a slot of the same hash is looked into: the probe reads no other object.
  for (;; i = Next(i)) {
    Slot& s = slots_[i];
    if (!s.object) {
      if (s.hash == 0) break;
      if (free == slots_.size()) free = i;  // tombstone
      continue;
    }
    if (s.hash != h) continue;
    if (s.weak.expired()) {
      if (free == slots_.size()) free = i;
      continue;
    }
    if (s.object->IdString() == id) return s.object == &o;
  }
  if (free == slots_.size()) free = i;
  Slot& s = slots_[free];
  if (s.object) {
    // An object gone without leaving: its slot changes hands.
  } else if (s.hash == 1) {
    --tombs_;
    ++size_;
  } else {
    ++size_;
  }
  s.hash = h;
  s.object = &o;
  s.weak = o.weak_from_this();
  return true;
}

void IdTable::Erase(const HostObject& o) {
  std::size_t i = Locate(o.IdString(), Hash(o.IdString()));
  if (i == slots_.size() || slots_[i].object != &o) return;
  slots_[i] = Slot{1, nullptr, {}};
  --size_;
  ++tombs_;
}

void IdTable::Reserve(std::size_t n) {
  if (Capacity(n) > slots_.size()) Grow(Capacity(n));
}

// Live objects move to a fresh array; tombstones and gone objects stay behind.
void IdTable::Grow(std::size_t capacity) {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.resize(capacity);
  size_ = 0;
  tombs_ = 0;
  for (Slot& s : old) {
    if (!s.Live()) continue;
    std::size_t i = Home(s.hash);
    while (slots_[i].object) i = Next(i);
    slots_[i] = std::move(s);
    ++size_;
  }
}

}  // namespace host
