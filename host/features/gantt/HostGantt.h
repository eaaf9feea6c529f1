#pragma once
// The host's windows and Gantt chart windows: the window frame, Gantt tables and
// their search, the Gantt setting controller, activity type attribute keys and
// resource parameters.
namespace host {

// Registers all of the unit; called once from RegisterHost (host/HostStartup.cpp).
void RegisterGanttHost();

// Its parts, each in its own file.
void RegisterActivityTypes();       // TypeCatalog / ActivityTypes.cpp: the type cache, <activityTypes>, attribute keys
void RegisterResourceParameters();  // ResourceParameters.cpp: TavIPrdProperties on resources
void RegisterDevices();             // GanttDevices.cpp: OrvIDeviceManager on resources with mechanisms

}  // namespace host
