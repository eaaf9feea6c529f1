#pragma once
// The engineering requirements a document's products carry, in the order they were
// read (docs/plant-format.md, "Engineering requirements"). Nothing in a session
// edits them: the store changes only while a plant loads, so it needs no undo.
#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "HostModel.h"

namespace host {

struct EngRequirement {
  Ref<HostProduct> product;
  TavUnicodeString name, description;
};

class HostRequirementStore final : public virtual TavBaseUnknown {
public:
  explicit HostRequirementStore(HostDocument*) {}

  // Loading: false when the product already carries a requirement of that name.
  bool Add(const Ref<HostProduct>& product, const TavUnicodeString& name, const TavUnicodeString& description);
  // Every requirement, in file order; those of products taken out of the document too.
  const std::vector<EngRequirement>& All() const { return all_; }
  bool Empty() const { return all_.empty(); }
  // A product's requirements, in file order (indexes into All()).
  const std::vector<std::size_t>& Of(const HostProduct& product) const;
  // The place of a requirement in Of(product), or npos.
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  std::size_t Find(const HostProduct& product, const TavUnicodeString& name) const;

private:
  std::vector<EngRequirement> all_;
  std::unordered_map<const HostProduct*, std::vector<std::size_t>> byProduct_;
  // (product, name) -> place in the product's list: a product may carry hundreds.
  std::map<std::pair<const HostProduct*, std::string>, std::size_t, std::less<>> byName_;
};

// Every document has one from its creation (RegisterRequirementsHost).
HostRequirementStore* RequirementsOf(const HostDocument& doc);

}  // namespace host
