// `print times PATH [--depth N]`: solves the tree of the activity at PATH and prints
// each node's times, or why it cannot be solved.
#include "ScriptTiming.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavGraph.h"
#include "TimingStore.h"

namespace host {

namespace {

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

bool PrintTimes(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  int depth = -1;
  if (a.size() == 3 && a[1] == "--depth") {
    char* end = nullptr;
    const long d = std::strtol(a[2].c_str(), &end, 10);
    if (a[2].empty() || *end || d < 0 || d > 1000000) {
      err = "--depth: '" + a[2] + "' is no depth (a number from 0)";
      return false;
    }
    depth = static_cast<int>(d);
  } else if (a.size() != 1) {
    err = "print times PATH [--depth N]";
    return false;
  }
  auto doc = r.Document(err);
  if (!doc) return false;
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  auto root = std::dynamic_pointer_cast<HostActivity>(p.GetLeaf() ? p.GetLeaf()->ExtendedObject() : nullptr);
  if (!root) {
    err = a[0] + " is no activity: only activities and behaviours are timed";
    return false;
  }
  OrvModelTimeSolver solver;
  if (FAILED(solver.FullSolve(root))) {
    err = "cannot time " + a[0] + ": " + solver.GetError().utf8();
    return false;
  }
  const TimingStore* store = TimingStore::Of(*doc);
  auto hit = store ? store->Find(*root) : TimingStore::Hit{};
  if (!hit) {
    err = "cannot time " + a[0] + ": it was not solved";
    return false;
  }
  r.Out() << "times of " << doc->PathString(root) << ", span " << Number(hit.solution->span) << '\n';
  std::vector<std::pair<HostActivity*, int>> work{{root.get(), 0}};
  while (!work.empty()) {
    auto [node, level] = work.back();
    work.pop_back();
    r.Out() << std::string(static_cast<std::size_t>(2 * level), ' ') << node->Label().utf8();
    if (IsControlNode(*node)) r.Out() << " (" << node->Type()->name << ")";
    if (auto h = store->Find(*node)) {
      const NodeTimes& t = h.Times();
      r.Out() << ": " << Number(t.begin) << ".." << Number(t.end) << " latest " << Number(t.latestBegin) << " slack "
              << Number(t.Slack()) << (h.Critical() ? " critical" : "") << '\n';
    } else {
      r.Out() << ": untimed\n";
    }
    if (depth >= 0 && level >= depth) continue;
    const auto& kids = node->Children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) work.emplace_back(it->get(), level + 1);
  }
  return true;
}

void AddTimingStatements(ScriptTable& t) {
  t.AddSub("print", {"times", {{"PATH", ArgKind::Path}, {"--depth N", ArgKind::Word, true, true}},
                     "solve the times of an activity's tree and print them",
                     "Solves the tree the activity at PATH belongs to (its process, or every\n"
                     "behaviour of the plant) from durations, control flow and precedences, and\n"
                     "prints one line per node below PATH (down to N levels with --depth):\n"
                     "earliest begin..end, latest begin, slack, and \"critical\" when it has no\n"
                     "slack. A cycle or a negative duration fails, naming the activities.\n"
                     "Example:\n  print times \"Process/Body Shop\" --depth 1",
                     PrintTimes});
}

}  // namespace

void RegisterTimingStatements() { AddScriptStatements(AddTimingStatements); }

}  // namespace host
