#include "HostGraph.h"

namespace host {

void RegisterGraphHost() {}

}  // namespace host
