#pragma once
// What points at an object, and the name an object goes by. A product's pointing
// objects are the model objects that name it (activity relations, flow outputs,
// assembly parts, behaviour items, 3D contexts), each a spec object whose
// "PhysicActivity" is the activity it belongs to, when it belongs to one.
#include <vector>

#include "TavPPR.h"

class TavIPointingObjects : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPointingObjects);
  // In the order they were made.
  virtual std::vector<Ref<TavBaseUnknown>> GetPointingObjects() const = 0;
};

// The name an object shows the user when it has no label of its own.
class TavIAlias : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIAlias);
  virtual TavUnicodeString GetAlias() const = 0;
};
