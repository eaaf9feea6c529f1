#include "TavPositions.h"

#include <cmath>

TavIMovable::Position TavRelativePosition(const TavIMovable::Position& from, const TavIMovable::Position& to) {
  // Rows r0..r2 are the rotation, t the translation: x' = x R + t. The relative
  // transformation is to * inverse(from) in that convention: R = Rto * Rfrom^T,
  // t = (tto - tfrom) * Rfrom^T.
  TavIMovable::Position rel{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double s = 0;
      for (int k = 0; k < 3; ++k) s += to[3 * i + k] * from[3 * j + k];
      rel[3 * i + j] = s;
    }
  for (int j = 0; j < 3; ++j) {
    double s = 0;
    for (int k = 0; k < 3; ++k) s += (to[9 + k] - from[9 + k]) * from[3 * j + k];
    rel[9 + j] = s;
  }
  return rel;
}

bool TavIsIdentityPosition(const TavIMovable::Position& m) {
  for (int i = 0; i < 9; ++i) {
    const double want = i % 4 == 0 ? 1.0 : 0.0;
    if (!(std::fabs(m[i] - want) <= kTavRotationTolerance)) return false;  // NaN is never the identity
  }
  for (int i = 9; i < 12; ++i)
    if (!(std::fabs(m[i]) <= kTavTranslationTolerance)) return false;
  return true;
}

void TavDeclarePositionInterfaces() { TavInterfaceNames::Declare<TavIDesignPositions>(); }
