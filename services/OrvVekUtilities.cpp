#include "OrvVekUtilities.h"

#include "OrvVekCommandServices.h"
#include "ServicesTrace.h"

namespace {
Ref<TavISPPContExt> ContExt(const Ref<TavDocument>& document) {
  if (!document) return nullptr;
  for (auto& c : document->GetContainers())
    if (auto e = query<TavISPPContExt>(c)) return e;
  return nullptr;
}

void AppendOutputs(const Ref<TavBaseUnknown>& activity, std::vector<Ref<TavBaseUnknown>>& list) {
  auto flow = query<TavISPPFlowMgt>(activity);
  if (!flow) return;
  for (auto& o : flow->GetOutputs())
    if (auto io = query<TavISPPProductIO>(o))
      if (auto p = io->GetProduct()) list.push_back(std::move(p));
}
}  // namespace

HRESULT OrvVekUtilities::GetOutputItems(const Ref<TavBaseUnknown>& activity, std::vector<Ref<TavBaseUnknown>>& list) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "GetOutputItems");
  AppendOutputs(activity, list);
  RemoveDuplicates(list);
  return S_OK;
}

HRESULT OrvVekUtilities::GetAllOutputItems(std::vector<Ref<TavBaseUnknown>>& list) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "GetAllOutputItems");
  // One duplicate removal at the end gives the same list as one per activity, in linear time.
  for (auto& a : OrvVekCommandServices::GetAllActivities()) AppendOutputs(a, list);
  RemoveDuplicates(list);
  return S_OK;
}

HRESULT OrvVekUtilities::Dispatch(const Ref<TavDocument>& document, int kind) {
  if (!document) return E_FAIL;
  auto ext = ContExt(document);
  if (!ext) return E_FAIL;
  for (auto& mono : ext->GetMonoProcessContainers())
    if (auto root = mono ? mono->GetRootActivity() : nullptr) mono->SendModification(root, kind);
  return S_OK;
}

HRESULT OrvVekUtilities::DispatchAddContextNotif(const Ref<TavDocument>& d) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "DispatchAddContextNotif");
  return Dispatch(d, TavActivityModification::AddContext);
}
HRESULT OrvVekUtilities::DispatchCreateChildNotif(const Ref<TavDocument>& d) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "DispatchCreateChildNotif");
  return Dispatch(d, TavActivityModification::CreateChild);
}
HRESULT OrvVekUtilities::DispatchAddChildNotif(const Ref<TavDocument>& d) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "DispatchAddChildNotif");
  return Dispatch(d, TavActivityModification::AddChild);
}

HRESULT OrvVekUtilities::RedrawFakeNode(const Ref<TavDocument>& document) {
  TavTraceScope trace(ServicesTrace(), "OrvVekUtilities", "RedrawFakeNode");
  auto ext = ContExt(document);
  auto redraw = query<TavIRedrawEvent>(ext);
  if (!redraw) return E_FAIL;
  redraw->Redraw();
  return S_OK;
}
