#include "HostAssemblies.h"

namespace host {

void RegisterAssembliesHost() {}

}  // namespace host
