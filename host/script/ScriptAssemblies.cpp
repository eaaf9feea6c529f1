// `expect refused PATH`: a pick the running command must not take.
#include "ScriptAssemblies.h"

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {

// `expect refused PATH` or `expect refused in PLANT PATH`.
bool ExpectRefused(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  if (a.size() == 2 || (a.size() == 3 && a[0] != "in")) {
    err = "usage: expect refused PATH, or expect refused in PLANT PATH";
    return false;
  }
  const std::string& path = a.back();
  bool other = false;
  TavPathElement p = a.size() == 3 ? r.ResolvePathIn(a[1], path, err, other) : r.ResolvePath(path, err);
  if (p.IsEmpty()) return false;
  if (!r.Engine().RunningCommand()) {
    err = "expectation failed: no command is running to refuse " + path;
    return false;
  }
  bool refused = false;
  std::string why;
  if (r.Engine().Pick(p, &why, &refused, other)) {
    err = "expectation failed: the pick of " + path + " was taken";
    return false;
  }
  if (!refused) {
    err = "pick " + path + ": " + why;  // taken, and failed while handled
    return false;
  }
  return true;
}

void AddAssemblyStatements(ScriptTable& t) {
  t.AddSub("expect", {"refused", {{"", ArgKind::Choice, true, false, {"in"}}, {"PLANT", ArgKind::Word, true}, {"PATH", ArgKind::Path}},
                      "the running command refuses a pick of PATH",
                      "Picks PATH (in another open plant with `in PLANT`) for the running command,\n"
                      "as `pick` does, and requires the command not to take it; the script goes on.\n"
                      "It fails when the pick is taken or no command runs.\n"
                      "Example:\n  expect refused Resources/Station.10",
                      ExpectRefused});
}

}  // namespace

void RegisterAssemblyStatements() { AddScriptStatements(AddAssemblyStatements); }

}  // namespace host
