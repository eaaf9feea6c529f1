#include "HostGantt.h"

namespace host {
void RegisterGanttHost() {}
}  // namespace host
