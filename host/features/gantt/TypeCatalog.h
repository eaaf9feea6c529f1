#pragma once
// The host's activity types as the workbench looks them up (OrvVekPlantypeCache):
// those of activity libraries, every other type the model knows (built-in and
// body-in-white types), and the types plants declare in <activityTypes>, with the
// attribute keys each declares. Types live for the run: a plant's declaration holds
// while the plant is open, and another open plant may only declare the same.
#include <string>
#include <unordered_map>
#include <vector>

#include "HostModel.h"
#include "TavActivityLib.h"

namespace host {

struct DeclaredType {
  std::string name, super;
  std::vector<std::string> keys;  // in declaration order
};

class TypeCatalog final : public OrvVekPlantypeCache {
public:
  static TypeCatalog& Get();
  // Takes over from the cache installed before (the libraries'), which it asks first.
  void Install();

  HRESULT BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const override;
  Ref<TavIActivityType> FindType(const TavUnicodeString& name) const override;

  // Whether a plant may declare `t` (its super known, no clash with another type);
  // the reason when not. `earlier`: types declared before it in the same plant.
  bool CanDeclare(const DeclaredType& t, const std::vector<DeclaredType>& earlier, std::string& error) const;
  // Registers (or holds once more) a type CanDeclare accepted.
  void Declare(const DeclaredType& t);
  // A plant that declared the type is gone.
  void Release(const std::string& name);
  const DeclaredType* FindDeclared(const std::string& name) const;

  // The keys declared along the type's super chain, super types' first, each once.
  std::vector<TavUnicodeString> DeclaredKeys(const std::string& type) const;
  // The keys every activity of the type carries: the physical activity's times and
  // description, and the fastener counts of fastening operations.
  static std::vector<TavUnicodeString> BuiltInKeys(const std::string& type);

private:
  TypeCatalog() = default;
  struct Entry {
    DeclaredType type;
    int holders = 0;
  };
  OrvVekPlantypeCache* libraries_ = nullptr;
  std::unordered_map<std::string, Entry> declared_;
  mutable std::unordered_map<std::string, Ref<TavIActivityType>> made_;  // types no library defines
};


}  // namespace host
