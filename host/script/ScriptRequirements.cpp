#include "ScriptRequirements.h"

namespace host {

void RegisterRequirementStatements() {}

}  // namespace host
