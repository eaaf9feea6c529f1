#include "ScriptTree.h"

namespace host {

void RegisterTreeStatements() {}

}  // namespace host
