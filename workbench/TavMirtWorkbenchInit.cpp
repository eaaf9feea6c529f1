#include "TavMirtWorkbenchInit.h"

#include <cstdlib>

#include "TavServices.h"
#include "WorkbenchTrace.h"

namespace {
// A header not in the host's list is skipped.
void SetAvailable(const char* identifier, bool available) {
  TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(identifier, 0);
  if (!h) return;
  if (available)
    h->BecomeAvailable();
  else
    h->BecomeUnavailable();
}
}  // namespace

void TavMirtWorkbenchInit::Init() {
  TavTraceScope trace(WorkbenchTrace(), "TavMirtWorkbenchInit", "Init");
  SetTransitionFlag(1);
  OrvEProcessTransition::Init();

  Ref<TavFrmEditor> editor = TavFrmEditor::GetCurrentEditor();
  Ref<TavDocument> doc = editor ? editor->GetDocument() : nullptr;
  if (!doc) return;
  Ref<TavIDocEnvironment> env = doc->GetDocEnvironment();
  if (!env) return;

  if (env->IsAKindOf("YorDocEnv")) {
    SetAvailable("WexDDPFeedByAnotherProc", false);
    for (const char* id : {"OrvEKPLoadEngIntentHdr", "WexAssignEngIntentHdr", "OrvEKPReconcileEIHdr",
                           "WexAutoReplanHdr", "WexDDPModificationTable"})
      SetAvailable(id, true);
  } else {
    SetAvailable("WexDDPFeedByAnotherProc", true);
    // Defined and not starting with "0"; an empty value has no "0" to start with.
    const char* odt = std::getenv("ADL_ODT_IN");
    const bool engIntent = odt && odt[0] != '0';
    SetAvailable("WexAssignEngIntentHdr", engIntent);
    SetAvailable("OrvEKPReconcileEIHdr", engIntent);
    for (const char* id : {"WexAutoReplanHdr", "OrvEKPLoadEngIntentHdr", "WexDDPModificationTable"})
      SetAvailable(id, false);
  }
  if (std::getenv("VEK_ENABLE_ZARNET")) SetAvailable("WexDDPModificationTable", true);
}

void TavMirtWorkbenchInit::Dispose() {
  TavTraceScope trace(WorkbenchTrace(), "TavMirtWorkbenchInit", "Dispose");
  OrvEProcessTransition::Dispose();
}
