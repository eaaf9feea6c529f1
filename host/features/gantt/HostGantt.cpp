#include "HostGantt.h"

#include "HostWindows.h"

namespace host {

void RegisterGanttHost() {
  TavFrmLayoutWindows::Install(&HostWindows::Get());
  RegisterActivityTypes();
  RegisterResourceParameters();
}

}  // namespace host
