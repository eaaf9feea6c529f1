// `undo`, `redo` and `print undo`: the current document's undo stack.
#include "ScriptUndo.h"

#include <charconv>
#include <ostream>

#include "HostScript.h"
#include "HostUndo.h"
#include "ScriptTable.h"

namespace host {

namespace {
// N of `undo N`: 1 when left out.
bool Count(const ScriptWords& a, const char* verb, std::size_t& n, std::string& err) {
  n = 1;
  if (a.empty()) return true;
  const std::string& w = a[0];
  auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
  if (ec != std::errc() || p != w.data() + w.size() || n == 0) {
    err = std::string(verb) + ": '" + w + "' is not a number of steps (1 or more)";
    return false;
  }
  return true;
}

bool Step(ScriptRunner& r, const ScriptWords& a, std::string& err, bool undo) {
  const char* verb = undo ? "undo" : "redo";
  std::size_t n = 0;
  if (!Count(a, verb, n, err)) return false;
  auto doc = r.Document(err);
  if (!doc) return false;
  std::vector<std::string> names;
  std::string why;
  if (!(undo ? r.Engine().Undo(*doc, n, &names, &why) : r.Engine().Redo(*doc, n, &names, &why))) {
    err = std::string(verb) + ": " + why;
    return false;
  }
  for (auto& name : names) r.Out() << (undo ? "undone: " : "redone: ") << name << '\n';
  return true;
}

std::string Changes(std::size_t n) { return std::to_string(n) + (n == 1 ? " change" : " changes"); }

bool PrintUndo(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  const UndoJournal& j = doc->Journal();
  std::ostream& out = r.Out();
  const std::size_t size = j.Size(), at = j.Position();
  out << "undo stack: ";
  if (size == 0) out << "empty";
  else out << size << (size == 1 ? " step" : " steps") << ", at " << at;
  out << (doc->IsModified() ? ", modified\n" : ", not modified\n");
  if (size == 0) return true;
  // The marked line is the step the model is at: undo takes it back, redo the one below.
  out << (at == 0 ? " -> " : "    ") << "0  (before the first step)\n";
  for (std::size_t i = 0; i < size; ++i) {
    const auto& s = j.StepAt(i);
    out << (i + 1 == at ? " -> " : "    ") << i + 1 << "  " << s.name << " (" << Changes(s.records.size())
        << (i < at ? ")" : ", undone)") << '\n';
  }
  return true;
}

void AddUndoStatements(ScriptTable& t) {
  t.Add({"undo", {{"N", ArgKind::Number, true}}, "undo the last command's changes (or the last N commands')",
         "Takes back what the last command changed in the current plant, as one step; with\n"
         "N, the last N steps. Nothing is undone when a step cannot be: the message says\n"
         "why and the plant stays as it was. A new command drops what could be redone.\n"
         "Example:\n  start OrvVekPlanner TavVekRenumberActCmd\n  undo",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) { return Step(r, a, err, true); }});
  t.Add({"redo", {{"N", ArgKind::Number, true}}, "redo what undo took back (N steps)",
         "Makes again the changes of the step undo took back last; with N, N steps.\n"
         "Example:\n  undo 2\n  redo",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) { return Step(r, a, err, false); }});
  t.AddSub("print", {"undo", {}, "the undo stack: each command's step, the current one marked",
                     "Lists the steps of the current plant's undo stack, oldest first, with the\n"
                     "number of changes each holds; the step the plant is at is marked ->, the\n"
                     "steps above it are undone (redo brings them back).\nExample:\n  print undo",
                     PrintUndo});
}
}  // namespace

void RegisterUndoStatements() { AddScriptStatements(AddUndoStatements); }

}  // namespace host
