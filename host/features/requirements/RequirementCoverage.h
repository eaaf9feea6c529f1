#pragma once
// Which activities implement a product's engineering requirements. An activity
// implements them through a "process_implements_requirement" relation to the
// product: the one requirement named by the relation's text attribute
// "Requirement", or every requirement of the product when the relation has none.
// Every activity of the document counts: processes, TSAs and resource behaviours.
// Answers come from the document's relation index, so a query costs the product's
// requirements and the relations naming it, and follows undo and redo at once.
#include <vector>

#include "RequirementStore.h"

namespace host {

// What one implementing relation covers.
struct RequirementCover {
  enum Kind { Every, One, Unreadable } kind = Every;  // Unreadable: "Requirement" is no text
  TavUnicodeString name;                              // for One
};
// A "process_implements_requirement" relation.
bool IsImplementsRequirement(const HostRelation& r);
RequirementCover CoverOf(const HostRelation& r);

// The "process_implements_requirement" relations naming `target`, owned by
// activities of the document now; in file order when `ordered`.
std::vector<Ref<HostRelation>> ImplementingRelations(const HostDocument& doc, const TavBaseUnknown* target,
                                                     bool ordered);

// 0: the product carries no requirement; 1: each is implemented by an activity;
// 2: at least one is not.
int ReconciliationLevelOf(const HostDocument& doc, const HostProduct& product);

// Each requirement of a product, in file order, with the activities implementing
// it in file order.
struct RequirementImplementation {
  const EngRequirement* requirement;
  std::vector<Ref<HostActivity>> activities;
};
std::vector<RequirementImplementation> ImplementationOf(const HostDocument& doc, const HostProduct& product);

}  // namespace host
