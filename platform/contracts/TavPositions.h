#pragma once
// Where products belong: the design position each product's own structure gives it,
// beside the current one (TavIMovable) that planners change in the process context;
// the host's feature objects that are no products to a planner (tags); and the
// host's check of cable design states.
#include <string_view>

#include "TavPPR.h"

// No move: where a product without a position stands.
inline constexpr TavIMovable::Position kTavIdentityPosition{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

// One document's design positions (a root container of the document).
class TavIDesignPositions : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIDesignPositions);
  // The design position of a product or resource; the identity for anything else.
  virtual TavIMovable::Position GetDesignPosition(const Ref<TavBaseUnknown>& product) const = 0;
  // A tag, tag group or tag list of the host's features.
  virtual bool IsTagObject(const Ref<TavBaseUnknown>& object) const = 0;
  // False when the product's cable design states forbid putting it back.
  virtual bool CheckCableDesignStates(const Ref<TavBaseUnknown>& product) const = 0;
};

inline Ref<TavIDesignPositions> TavDesignPositionsOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<TavIDesignPositions>(doc->GetRootContainer(TavIDesignPositions::kInterfaceName));
}

// Position tolerances. Matrices read from files or computed through rotations carry
// rounding: two positions are the same when the relative transformation between them
// is the identity within these bounds (rotation entries, unitless; translation, in
// the model's length unit).
inline constexpr double kTavRotationTolerance = 1e-9;
inline constexpr double kTavTranslationTolerance = 1e-6;

// The transformation taking `from` to `to` (rigid positions: the inverse of a
// rotation is its transpose).
TavIMovable::Position TavRelativePosition(const TavIMovable::Position& from, const TavIMovable::Position& to);
// Whether the relative transformation is the identity within the tolerances.
bool TavIsIdentityPosition(const TavIMovable::Position& relative);
inline bool TavSamePosition(const TavIMovable::Position& a, const TavIMovable::Position& b) {
  return TavIsIdentityPosition(TavRelativePosition(a, b));
}

void TavDeclarePositionInterfaces();
