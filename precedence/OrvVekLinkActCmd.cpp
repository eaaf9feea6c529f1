#include "OrvVekLinkActCmd.h"

#include "OrvVekCommandServices.h"
#include "OrvVekLinkActServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekLinkActCmd", "Traces for module OrvVekLinkActCmd");
  return t;
}

Ref<TavBaseUnknown> FatherOf(const Ref<TavBaseUnknown>& node) {
  auto a = query<TavISPPAbstractActivity>(node);
  return a ? a->GetFather() : nullptr;
}
}  // namespace

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkActCmd() { return std::make_unique<OrvVekLinkActCmd>(); }

bool OrvVekLinkActCmd::Link() {
  TavTraceScope scope(Trace(), "OrvVekLinkActCmd", "Link");
  using Services = OrvVekLinkActServices;
  if (!Services::IsPartialReadOnlyAndPersistCF()) return BaseLink();
  const LinkStep& r = Current();
  Services::Nodes toLock{r.First, r.Second};
  auto activity = query<TavISPPActivity>(r.First);
  if (activity && activity->IsOfType("Activity")) toLock.push_back(activity->GetFather());
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (FAILED(Services::LockNodes(toLock, editor ? editor->GetDocument() : nullptr)) && !Services::GoOnAfterDisplayWarning()) {
    AbandonInsertions();  // no link: a Switch or OrIn made for it goes too
    return false;
  }
  const Services::Nodes parents{FatherOf(r.First), FatherOf(r.Second)};
  const Services::Nodes before = Services::GetChildStartStopList(parents);
  const auto name = [](const Ref<TavBaseUnknown>& n) { return OrvVekCommandServices::GetDisplayName(n).Strip(); };
  Services::StartLog(r.First, Services::Text("OrvVekLinkActServices.Log.Link", "Link /P1 to /P2", {name(r.First), name(r.Second)}));
  const bool linked = BaseLink();
  Services::LockChildStartStopAct(before, Services::GetChildStartStopList(parents));
  Services::EndLog(r.First);
  return linked;
}
