#include "RequirementStore.h"

namespace host {

bool HostRequirementStore::Add(const Ref<HostProduct>& product, const TavUnicodeString& name,
                               const TavUnicodeString& description) {
  auto& list = byProduct_[product.get()];
  if (!byName_.emplace(std::make_pair(product.get(), name.utf8()), list.size()).second) return false;
  list.push_back(all_.size());
  all_.push_back({product, name, description});
  return true;
}

const std::vector<std::size_t>& HostRequirementStore::Of(const HostProduct& product) const {
  static const std::vector<std::size_t> none;
  auto it = byProduct_.find(&product);
  return it == byProduct_.end() ? none : it->second;
}

std::size_t HostRequirementStore::Find(const HostProduct& product, const TavUnicodeString& name) const {
  auto it = byName_.find(std::make_pair(&product, name.utf8()));
  return it == byName_.end() ? npos : it->second;
}

HostRequirementStore* RequirementsOf(const HostDocument& doc) { return doc.FindContainer<HostRequirementStore>(); }

}  // namespace host
