#include "ScriptGraph.h"

namespace host {

void RegisterGraphStatements() {}

}  // namespace host
