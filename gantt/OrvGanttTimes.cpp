#include "OrvGanttTimes.h"

#include "OrvVekCommandServices.h"
#include "TavDialog.h"
#include "TavGantt.h"

Ref<TavBaseUnknown> OrvGanttTimes::RootProcessOf(const Ref<TavBaseUnknown>& activity) {
  Ref<TavBaseUnknown> top;
  for (auto a = query<TavISPPActivity>(activity); a; a = query<TavISPPActivity>(a->GetFather())) {
    top = a;
    if (query<TavISPPActivityRoot>(top)) break;
  }
  return top;
}

Ref<TavBaseUnknown> OrvGanttTimes::CurrentRootProcess() {
  Ref<TavISPPActivityRoot> root;
  return SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)) ? root : nullptr;
}

bool OrvGanttTimes::SolveAndRefresh(const Ref<TavBaseUnknown>& root) {
  auto adapters = query<OrvIVEKAdapters>(root);
  if (!query<OrvITimedActivity>(root) || !adapters) return false;
  OrvModelTimeSolver solver;
  if (FAILED(solver.FullSolve(root))) {
    TavDlgNotify box(nullptr, "GanttTimes", TavDlgNotify::Warning);
    box.DisplayBox(TavMsgCatalog::BuildMessage("OrvGanttTimes", "SolveFailed.Title", {}, "Times not solved"),
                   TavMsgCatalog::BuildMessage("OrvGanttTimes", "SolveFailed.Text", {solver.GetError()},
                                               "The times cannot be solved: /P1"));
    box.DisplayBlocked();
  }
  adapters->RefreshAdapters();
  return true;
}

int OrvGanttTimes::DisplayMode() {
  if (!OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName)) return 0;
  // The controller's repository carries the display setting beside the columns.
  auto v = TavSettingRepository::GetRepository(OrvIVEKGanttSettingAtt::kControllerName).Read(kDisplayModeKey);
  if (!v) return 1;
  if (auto* i = std::get_if<std::int64_t>(&*v)) return *i == 2 ? 0 : 1;
  if (auto* d = std::get_if<double>(&*v)) return *d == 2 ? 0 : 1;
  return TavValueToText(*v).utf8() == "2" ? 0 : 1;
}
