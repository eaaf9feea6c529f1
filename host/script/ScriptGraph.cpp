#include "ScriptGraph.h"

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavGraph.h"

namespace host {

namespace {

// pick graph PATH: the graph node of the activity at PATH, as a click on its box in
// a PERT chart gives it to the running command.
bool PickGraph(ScriptRunner& r, const std::string& path, std::string& err) {
  TavPathElement p = r.ResolvePath(path, err);
  if (p.IsEmpty()) return false;
  auto node = query<TavIGENode>(p.GetLeaf());
  if (!node) {
    err = "pick graph " + path + ": not an activity (only activities and behaviours have a box in a graph)";
    return false;
  }
  std::vector<Ref<TavBaseUnknown>> objects = p.Objects();
  objects.back() = node;
  if (!r.Engine().Pick(TavPathElement(std::move(objects)), &err)) {
    err = "pick graph " + path + ": " + err;
    return false;
  }
  return true;
}

void AddGraphStatements(ScriptTable& t) {
  const ScriptStatement* pick = t.Find("pick");
  if (!pick || pick->args.empty()) return;
  ScriptStatement row = *pick;
  row.args[0].choices.push_back("graph");
  row.help += "\n`pick graph PATH` picks the box of the activity at PATH in a PERT chart\n"
              "(its graph node).\nExample:\n  pick graph \"Process/Body Shop/Framing\"";
  ScriptHandler plain = pick->run;
  row.run = [plain](ScriptRunner& r, const ScriptWords& a, std::string& err) {
    if (a.size() == 2 && a[0] == "graph") return PickGraph(r, a[1], err);
    return plain(r, a, err);
  };
  t.Add(std::move(row));
}

}  // namespace

void RegisterGraphStatements() { AddScriptStatements(AddGraphStatements); }

}  // namespace host
