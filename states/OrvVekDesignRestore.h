#pragma once
// Products and resources displaced from their design positions, and putting them
// back: the restore dialog's command and `mirt restore` share this.
#include <unordered_set>

#include "TavPositions.h"

class OrvVekDesignRestore {
public:
  explicit OrvVekDesignRestore(Ref<TavDocument> doc);
  // The document keeps design positions.
  bool IsValid() const { return design_ != nullptr; }
  const Ref<TavDocument>& Document() const { return doc_; }

  // Current and design position differ (tags and objects that cannot move never do).
  bool IsDisplaced(const Ref<TavBaseUnknown>& product) const;
  // ComputeDisplacedPrdRes: the displaced products, then resources, of the product and
  // resource structures in tree order (a father before its children), without tags
  // and without those the cable design-state check rejects.
  std::vector<Ref<TavBaseUnknown>> ComputeDisplacedPrdRes() const;
  // GetDisplacedChildren: the displaced descendants, in tree order.
  std::vector<Ref<TavBaseUnknown>> GetDisplacedChildren(const Ref<TavBaseUnknown>& product) const;
  // SegregatePrdResList: products and resources apart, each in list order.
  static void SegregatePrdResList(const std::vector<Ref<TavBaseUnknown>>& list, std::vector<Ref<TavBaseUnknown>>& products,
                                  std::vector<Ref<TavBaseUnknown>>& resources);

  // Restore: each entry in order, tags skipped; an assembly puts its parts and child
  // assemblies back, a product itself, its displaced children and its applications'
  // data. Each product is restored once, however often the list reaches it.
  void Restore(const std::vector<Ref<TavBaseUnknown>>& list);
  // The products moved back so far (each once), in the order moved.
  const std::vector<Ref<TavBaseUnknown>>& Moved() const { return moved_; }

private:
  void RestoreProduct(const Ref<TavBaseUnknown>& product);
  void RestoreMA(const Ref<TavBaseUnknown>& assembly);
  // Back to the design position when displaced; true when it moved.
  bool PutBack(const Ref<TavBaseUnknown>& product);
  void RestoreApplicativeData(const Ref<TavBaseUnknown>& product);

  Ref<TavDocument> doc_;
  Ref<TavIDesignPositions> design_;
  std::unordered_set<const TavBaseUnknown*> restored_, movedSet_, assemblies_;
  std::vector<Ref<TavBaseUnknown>> moved_;
};
