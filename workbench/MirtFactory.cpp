#include "MirtFactory.h"

#include "Mirt.h"
#include "WorkbenchTrace.h"

bool MirtFactory::Support(const TavUnicodeString& name) {
  TavTraceScope trace(WorkbenchTrace(), "MirtFactory", "Support");
  return name == "Mirt";
}

Ref<TavBaseUnknown> MirtFactory::Create(const TavUnicodeString& interfaceName) {
  TavTraceScope trace(WorkbenchTrace(), "MirtFactory", "Create");
  Ref<TavBaseUnknown> workbench = std::make_shared<Mirt>();
  // The interface keeps the workbench alive; our own reference goes with this scope.
  return workbench->QueryInterface(interfaceName.utf8());
}
