#include "TavPlanner.h"

namespace {
TavPlannerHost* g_planner = nullptr;
}

TavPlannerHost* TavPlannerHost::Get() { return g_planner; }
void TavPlannerHost::Install(TavPlannerHost* p) { g_planner = p; }
