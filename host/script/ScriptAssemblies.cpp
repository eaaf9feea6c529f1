// `expect refused PATH`: a pick the running command must not take.
#include "ScriptAssemblies.h"

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {

bool ExpectRefused(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  if (!r.Engine().RunningCommand()) {
    err = "expectation failed: no command is running to refuse " + a[0];
    return false;
  }
  bool refused = false;
  std::string why;
  if (r.Engine().Pick(p, &why, &refused)) {
    err = "expectation failed: the pick of " + a[0] + " was taken";
    return false;
  }
  if (!refused) {
    err = "pick " + a[0] + ": " + why;  // taken, and failed while handled
    return false;
  }
  return true;
}

void AddAssemblyStatements(ScriptTable& t) {
  t.AddSub("expect", {"refused", {{"PATH", ArgKind::Path}}, "the running command refuses a pick of PATH",
                      "Picks PATH for the running command, as `pick` does, and requires the command\n"
                      "not to take it; the script goes on. It fails when the pick is taken or no\n"
                      "command runs.\nExample:\n  expect refused Resources/Station.10",
                      ExpectRefused});
}

}  // namespace

void RegisterAssemblyStatements() { AddScriptStatements(AddAssemblyStatements); }

}  // namespace host
