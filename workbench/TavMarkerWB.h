#pragma once
// Tells which workbench of the workshop "WSPROC" is current (late type "Mirt_mark").
#include "TavWorkbench.h"

class TavMarkerWB : public virtual TavIMarkerWorkbench {
public:
  explicit TavMarkerWB(Ref<TavBaseUnknown> extended = nullptr) : extended_(std::move(extended)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return extended_ ? extended_ : self(); }

  TavUnicodeString GetWorkshopName() override;
  // The current workbench of the first listed workshop of that name; empty
  // when there is no such workshop or no current workbench.
  TavUnicodeString GetWorkbenchName() override;

private:
  Ref<TavBaseUnknown> extended_;
};
