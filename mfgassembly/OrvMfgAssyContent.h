#pragma once
// The content a command has picked: objects in pick order with their display
// names and type texts, no object twice. Membership is hashed, so a pick of many
// objects costs a constant per object; removals inside one pick are collected and
// the list is compacted once at its end.
#include <unordered_map>
#include <vector>

#include "TavServices.h"

class OrvMfgAssyContent {
public:
  struct Item {
    Ref<TavBaseUnknown> object;
    TavUnicodeString name, type;
  };

  // Appends an object that is not content yet, or takes out one that is (a second
  // pick deselects). True when it was appended. Call Settle() after a batch.
  bool Toggle(const Ref<TavBaseUnknown>& object, TavUnicodeString name, TavUnicodeString type = {});
  // Appends unless already there; true when appended.
  bool Add(const Ref<TavBaseUnknown>& object, TavUnicodeString name, TavUnicodeString type = {});
  // Takes out the rows (0-based, any order; rows outside the list are ignored).
  void RemoveRows(const std::vector<int>& rows);
  // Drops the rows taken out since the last call; keeps the others in order.
  void Settle();
  void Clear();
  // A new list from the objects given, in order (duplicates dropped).
  void Assign(const std::vector<Item>& items);

  bool Contains(const Ref<TavBaseUnknown>& object) const;
  int Size() const { return static_cast<int>(index_.size()); }
  bool IsEmpty() const { return index_.empty(); }
  // Valid after Settle().
  const std::vector<Item>& Items() const { return items_; }
  std::vector<Ref<TavBaseUnknown>> Objects() const;
  std::vector<TavUnicodeString> Names() const;
  std::vector<TavUnicodeString> Types() const;

private:
  // One key per model object, whatever interface its handle was taken through.
  static const void* Key(const Ref<TavBaseUnknown>& o);
  std::vector<Item> items_;  // a taken-out row keeps a null object until Settle()
  std::unordered_map<const void*, std::size_t> index_;
  bool holes_ = false;
};
