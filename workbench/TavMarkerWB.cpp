#include "TavMarkerWB.h"

#include "WorkbenchTrace.h"

TavUnicodeString TavMarkerWB::GetWorkshopName() {
  TavTraceScope trace(WorkbenchTrace(), "TavMarkerWB", "GetWorkshopName");
  return "WSPROC";
}

TavUnicodeString TavMarkerWB::GetWorkbenchName() {
  TavTraceScope trace(WorkbenchTrace(), "TavMarkerWB", "GetWorkbenchName");
  const TavUnicodeString workshop = GetWorkshopName();
  for (TavCmdAccess* a = TavCmdWorkshop::GetGlobal(); a; a = a->GetNext()) {
    if (a->GetName() != workshop) continue;
    auto* ws = dynamic_cast<TavCmdWorkshop*>(a);
    TavCmdAccess* current = ws ? ws->GetCurrentWorkbench() : nullptr;
    return current ? current->GetName() : TavUnicodeString();
  }
  return {};
}
