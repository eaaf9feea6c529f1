#include "HostRequirements.h"

namespace host {

void RegisterRequirementsHost() {}

}  // namespace host
