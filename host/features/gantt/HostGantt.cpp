#include "HostGantt.h"

#include "GanttChartWindow.h"
#include "HostWindows.h"

namespace host {

void RegisterGanttHost() {
  TavFrmLayoutWindows::Install(&HostWindows::Get());
  RegisterActivityTypes();
  RegisterResourceParameters();
  RegisterDevices();
  OrvGanttChartWindows::InstallFactory(CreateGanttChartWindow);
}

}  // namespace host
