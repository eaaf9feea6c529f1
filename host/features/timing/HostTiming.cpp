#include "HostTiming.h"

namespace host {

void RegisterTimingHost() {}

}  // namespace host
