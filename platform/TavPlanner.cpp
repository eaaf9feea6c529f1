#include "TavPlanner.h"

namespace {
TavPlannerHost* g_planner = nullptr;
}

TavPlannerHost* TavPlannerHost::Get() { return g_planner; }
void TavPlannerHost::Install(TavPlannerHost* p) { g_planner = p; }

std::vector<Ref<TavBaseUnknown>> OrvVekServices::GetAllTSAs(const Ref<TavDocument>& doc) {
  if (!doc || !g_planner) return {};
  return g_planner->GetAllTSAs(doc);
}
