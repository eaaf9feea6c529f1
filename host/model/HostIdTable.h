#pragma once
// A document's objects by id. Open addressing over (hash, object) slots: the id lives
// in the object itself, so an object costs one 32-byte slot and a lookup touches the
// slot and the object, where a node map allocated a node and a second copy of the id
// and chased a chain of them. A slot holds its object weakly: an object destroyed
// without leaving the table (a subtree undo dropped) reads as absent; its slot is
// taken again by the next insertion of its id, or dropped when the table grows.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "TavBase.h"

namespace host {

class HostObject;

class IdTable {
public:
  // The live object holding `id`, or null.
  HostObject* Find(std::string_view id) const;
  Ref<TavBaseUnknown> Lock(std::string_view id) const;
  // Files `o` under its id (o.IdString()). False, and nothing changed, when another
  // live object holds the id; true when `o` holds it already.
  bool Insert(HostObject& o);
  // Takes `o` out when it is the object filed under its id.
  void Erase(const HostObject& o);
  // Slots in use, including objects gone without leaving (until their slot is reused).
  std::size_t Size() const { return size_; }
  // Room for n objects without growing.
  void Reserve(std::size_t n);
  // Every live object, in no particular order. f must not change the table.
  template <class F>
  void ForEach(F&& f) const {
    for (const Slot& s : slots_)
      if (s.object && !s.weak.expired()) f(*s.object);
  }

private:
  struct Slot {
    std::uint64_t hash = 0;
    HostObject* object = nullptr;  // null: empty (hash 0) or a tombstone (hash 1)
    std::weak_ptr<TavBaseUnknown> weak;
    bool Live() const { return object && !weak.expired(); }
  };
  static std::uint64_t Hash(std::string_view id);
  // The hash scaled onto the table: any capacity, not only powers of two.
  std::size_t Home(std::uint64_t h) const {
    __extension__ using Wide = unsigned __int128;
    return static_cast<std::size_t>((static_cast<Wide>(h) * slots_.size()) >> 64);
  }
  std::size_t Next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }
  // The slot of the live object holding id, or slots_.size().
  std::size_t Locate(std::string_view id, std::uint64_t h) const;
  void Grow(std::size_t capacity);

  std::vector<Slot> slots_;
  std::size_t size_ = 0;   // slots holding an object (live or gone)
  std::size_t tombs_ = 0;  // slots emptied by Erase
};

}  // namespace host
