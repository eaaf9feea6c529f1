#include "OrvVekCommandServices.h"

#include "OrvVekServices.h"
#include "ServicesTrace.h"
#include "TavPlanner.h"

namespace {
Ref<TavDocument> DocumentOf(const Ref<TavBaseUnknown>& activity) {
  if (activity) return TavDocumentOf(activity);
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

// Takes the handles over: no reference counting per activity.
void AppendActivities(std::vector<Ref<TavISPPActivity>>& out, std::vector<Ref<TavISPPActivity>>&& activities) {
  if (out.empty()) {
    out = std::move(activities);
    std::erase(out, nullptr);
    return;
  }
  out.reserve(out.size() + activities.size());
  for (auto& a : activities)
    if (a) out.push_back(std::move(a));
}
}  // namespace

HRESULT OrvVekCommandServices::GetProcessContainer(Ref<TavISPPProcessContainer>& container, const Ref<TavBaseUnknown>& activity) {
  TavTraceScope trace(ServicesTrace(), "OrvVekCommandServices", "GetProcessContainer");
  container = nullptr;
  auto doc = DocumentOf(activity);
  if (!doc) return E_FAIL;
  container = query<TavISPPProcessContainer>(doc->GetRootContainer(TavISPPProcessContainer::kInterfaceName));
  return container ? S_OK : E_FAIL;
}

HRESULT OrvVekCommandServices::GetRootProcess(Ref<TavISPPActivityRoot>& root, const Ref<TavBaseUnknown>& activity) {
  TavTraceScope trace(ServicesTrace(), "OrvVekCommandServices", "GetRootProcess");
  root = nullptr;
  Ref<TavISPPProcessContainer> c;
  if (FAILED(GetProcessContainer(c, activity))) return E_FAIL;
  auto roots = c->GetRootActivities();
  if (roots.empty() || !roots.front()) return E_FAIL;
  root = roots.front();
  return S_OK;
}

std::vector<Ref<TavISPPActivity>> OrvVekCommandServices::GetAllActivities() {
  TavTraceScope trace(ServicesTrace(), "OrvVekCommandServices", "GetAllActivities");
  std::vector<Ref<TavISPPActivity>> out;
  Ref<TavISPPActivityRoot> root;
  if (FAILED(GetRootProcess(root, nullptr))) return out;
  auto cm = query<TavISPPChildManagement>(root);
  if (!cm) return out;
  static const TavUnicodeString kActivity("Activity");
  AppendActivities(out, cm->GetAllChildActivities(kActivity));
  auto member = query<TavIDocumentMember>(root);
  std::vector<Ref<TavBaseUnknown>> tsas = OrvVekServices::GetAllTSAs(member ? member->GetDocument() : nullptr);
  for (const auto& t : tsas)
    if (auto a = query<TavISPPActivity>(t)) out.push_back(std::move(a));
  for (const auto& t : tsas)
    if (auto tcm = query<TavISPPChildManagement>(t)) AppendActivities(out, tcm->GetAllChildActivities(kActivity));
  return out;
}

TavUnicodeString OrvVekCommandServices::GetDisplayName(const Ref<TavBaseUnknown>& object) {
  TavTraceScope trace(ServicesTrace(), "OrvVekCommandServices", "GetDisplayName");
  auto nav = query<TavINavigateObject>(object);
  if (!nav) return {};
  auto ids = nav->GetIdentificators();
  return ids.empty() ? TavUnicodeString() : ids.front();
}

void OrvVekCommandServices::ReframeOnCSO() {
  TavTraceScope trace(ServicesTrace(), "OrvVekCommandServices", "ReframeOnCSO");
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (!ed) return;
  TavSelectionSet temp("ReframeHSO");
  for (const auto& path : ed->GetCSO().Items()) {
    // The product at the end of the path: the leaf, or its father when the leaf is no product.
    auto objs = path.Objects();
    if (objs.empty()) continue;
    if (!query<TavIProduct>(objs.back()) && objs.size() > 1) objs.pop_back();
    if (!query<TavIProduct>(objs.back())) continue;
    temp.AddElement(TavPathElement(std::move(objs)));
  }
  if (temp.GetSize() > 0)
    for (auto& v : ed->GetViewers3D()) v->Reframe(temp);
  temp.Empty();
}

TavPathElement OrvVekCommandServices::GetActivityPath(const Ref<TavBaseUnknown>& activity) {
  std::vector<Ref<TavBaseUnknown>> chain;
  for (Ref<TavBaseUnknown> o = activity; o;) {
    chain.push_back(o);
    auto a = query<TavISPPAbstractActivity>(o);
    o = a ? a->GetFather() : nullptr;
  }
  return TavPathElement({chain.rbegin(), chain.rend()});
}
