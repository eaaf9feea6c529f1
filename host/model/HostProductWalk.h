#pragma once
// Every product, then every resource, of a document in tree order (a father before
// its children, children in order), without recursion: generators and whole-plant
// passes of the features visit them so.
#include "HostModel.h"

namespace host {

template <class F>
void ForEachProductInTreeOrder(HostDocument& doc, F&& visit) {
  for (HostRootList* list : {&doc.Products(), &doc.Resources()})
    for (auto& root : list->roots_) {
      std::vector<Ref<HostProduct>> stack{root};
      while (!stack.empty()) {
        Ref<HostProduct> p = std::move(stack.back());
        stack.pop_back();
        visit(p);
        const auto& c = p->Children();
        for (auto it = c.rbegin(); it != c.rend(); ++it) stack.push_back(*it);
      }
    }
}

}  // namespace host
