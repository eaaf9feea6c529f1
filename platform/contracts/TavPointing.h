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

// The automation side of the products collection that holds a product instance
// (TavIAProducts of its father): the instance replaced by the product a product
// document ("*.TavProduct") holds. The instance keeps its id, father, place,
// placement and the relations naming it; it takes the document's name (the first
// free ".N" when a sibling has it), part number, attributes and children (fresh
// ids). What named one of its old descendants names the new one of the same name
// path, or goes. Recorded for undo. E_FAIL with `error` naming the file (its line
// and column when it is malformed), nothing changed, when the document cannot be
// read or the instance is no child of this collection's product.
class TavIAProduct : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIAProduct);
  virtual HRESULT ReplaceComponent(const Ref<TavBaseUnknown>& instance, const TavUnicodeString& path,
                                   std::string& error) = 0;
};
