#include "HostTree.h"

namespace host {

void RegisterTreeHost() {}

}  // namespace host
