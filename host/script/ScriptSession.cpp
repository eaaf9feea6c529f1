// Statements about the session: plants, workbenches, commands, picks, environment.
#include <cstdlib>

#include "HostScript.h"
#include "HostWorkbench.h"
#include "PlantDocument.h"
#include "ScriptTable.h"

namespace host {

namespace {
std::string Join(const ScriptWords& w, std::size_t from = 0) {
  std::string s;
  for (std::size_t i = from; i < w.size(); ++i) s += (i > from ? " " : "") + w[i];
  return s;
}

bool Open(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  if (!r.Open(r.FilePath(a[0], false), &err)) return false;
  r.Out() << "opened " << a[0] << '\n';
  return true;
}

bool Save(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  // With no name the plant goes back to the file it came from.
  const std::string target = a.empty() ? doc->FilePath() : r.FilePath(a[0], true);
  if (target.empty()) {
    err = "this plant has no file yet: save FILE";
    return false;
  }
  if (!SavePlant(*doc, target, err)) return false;
  doc->MarkSaved();  // the undo stack stays; undoing back here reads unmodified again
  r.Out() << "saved " << (a.empty() ? target : a[0]) << '\n';
  return true;
}

bool WriteRepository(TavRepository& (*repo)(const std::string&), const ScriptWords& a, std::string& err) {
  if (std::string problem = RepositoryNameProblem(a[0]); !problem.empty()) {
    err = problem + ": '" + a[0] + "'";
    return false;
  }
  repo(a[0]).Write(a[1], RepositoryValueFromText(Join(a, 2)));
  return true;
}
bool Setting(ScriptRunner&, const ScriptWords& a, std::string& err) {
  return WriteRepository(&TavSettingRepository::GetRepository, a, err);
}
bool Preference(ScriptRunner&, const ScriptWords& a, std::string& err) {
  return WriteRepository(&TavSysPreferenceRepository::GetRepository, a, err);
}

bool Select(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto ed = r.Editor(err);
  if (!ed) return false;
  if (a.empty()) {
    ed->GetCSO().Empty();
    return true;
  }
  // Every path first: a bad one leaves the selection as it was.
  std::vector<TavPathElement> picks;
  for (auto& p : a) {
    picks.push_back(r.ResolvePath(p, err));
    if (picks.back().IsEmpty()) return false;
  }
  for (auto& p : picks) ed->GetCSO().AddElement(p);
  return true;
}

// What an object is, in a planner's words.
std::string KindOf(const Ref<TavBaseUnknown>& o) {
  if (query<TavISPPAbstractActivity>(o)) return "activity";
  if (auto p = query<TavIProduct>(o)) return p->IsResource() ? "resource" : "product";
  if (query<OrvIMfgAssembly>(o)) return "assembly";
  return "object";
}

bool Pick(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  // "pick [tree|viewer] PATH..." / "pick dialog DIALOG.WIDGET/PATH" / "pick in PLANT
  // PATH"; a lone word is always the path. Several paths are picked together.
  const bool in = a.size() > 1 && a[0] == "in";
  const bool dialog = a.size() > 1 && a[0] == "dialog";
  const bool where = a.size() > 1 && (a[0] == "tree" || a[0] == "viewer");
  if ((in && a.size() != 3) || (dialog && a.size() != 2)) {
    err = "pick: usage: pick [tree|viewer] PATH..., pick dialog DIALOG.WIDGET/PATH, or pick in PLANT PATH";
    return false;
  }
  const std::string& path = a.back();
  std::vector<TavPathElement> picks;
  bool other = false;
  if (in) {
    picks.push_back(r.ResolvePathIn(a[1], path, err, other));
  } else if (dialog) {
    // A node of a dialog's navigation box reaches the agents as a tree pick does.
    picks.push_back(ResolveDialogPick(r, path, err));
    if (picks.back().IsEmpty()) err = "pick dialog " + path + ": " + err;
  } else {
    for (std::size_t i = where ? 1 : 0; i < a.size() && (picks.empty() || !picks.back().IsEmpty()); ++i)
      picks.push_back(r.ResolvePath(a[i], err));
  }
  if (picks.back().IsEmpty()) return false;
  const std::string waits = r.WaitingFor();
  if (!r.Engine().Pick(picks, &err, nullptr, other)) {
    // The engine names its states and agents; the user knows objects and steps.
    const Ref<TavBaseUnknown> leaf = picks.front().GetLeaf();
    if (err.rfind("no agent of state", 0) == 0 && err.find("another plant") != std::string::npos)
      err = "this step takes no pick in another plant";
    else if (err.rfind("no agent of state", 0) == 0 && err.find("picked together") != std::string::npos)
      err = "this step takes one object at a time";
    else if (err.rfind("no agent of state", 0) == 0)
      err = "this step takes " + (waits.rfind("pick ", 0) == 0 ? waits.substr(5) : std::string("no pick")) + ", not " +
            (KindOf(leaf)[0] == 'a' ? "an " : "a ") + KindOf(leaf);
    else if (err.rfind("the pick was refused in state", 0) == 0)
      err = "the command does not take this " + KindOf(leaf) + " at this step (" + waits + ")";
    err = "pick " + (picks.size() == 1 ? path : std::to_string(picks.size()) + " objects") + ": " + err;
    return false;
  }
  return true;
}
// `close` and `quit` take one flag; any other word must not pass for it.
bool Discard(const ScriptWords& a, const char* statement, bool& discard, std::string& err) {
  discard = !a.empty();
  if (!discard || a[0] == "--discard") return true;
  err = std::string(statement) + ": '" + a[0] + "' is not --discard";
  return false;
}
}  // namespace

void AddSessionStatements(ScriptTable& t) {
  t.Add({"open", {{"FILE", ArgKind::File}}, "open a plant as the current document",
         "Loads a plant file (docs/plant-format.md) and makes it the current document. A\n"
         "relative name is read beside the script. A command still running is cancelled\n"
         "first. Loading is all or nothing: a bad file is named with file:line:column.\n"
         "Example:\n  open sample-plant.xml",
         Open});
  t.Add({"save", {{"FILE", ArgKind::File, true}}, "save the current plant atomically (to its own file without FILE)",
         "Writes the current plant to FILE (a relative name lands in the output folder),\n"
         "or back to the file it was opened from, through a temporary file, so a failure\n"
         "never leaves a truncated plant.\nExample:\n  save renumbered-plant.xml\n  save",
         Save});
  t.Add({"close", {{"", ArgKind::Choice, true, false, {"--discard"}}}, "close the current plant",
         "Closes the current document; a command still running on it is cancelled first\n"
         "and says so. The previous document, if any, becomes current. A plant with\n"
         "unsaved changes does not close: the shell asks whether to save them; a script\n"
         "fails unless it saved first or says --discard.\nExample:\n  close\n  close --discard",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           bool discard = false;
           return Discard(a, "close", discard, err) && r.Close(&err, discard);
         }});
  t.Add({"workbench", {{"NAME", ArgKind::Workbench}}, "enter a workbench of the process workshop",
         "Enters a workbench; its headers can then be fired by identifier.\nExample:\n  workbench Mirt",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           if (!r.Workbenches().Enter(a[0], &err)) return false;
           r.Out() << "entered workbench " << a[0] << '\n';
           return true;
         }});
  t.Add({"fire", {{"HEADER", ArgKind::Header}}, "fire a command header of the current workbench",
         "Starts the command of a header of the current workbench, by the header's\n"
         "identifier. An unavailable header or a class not built yet says so.\n"
         "Example:\n  workbench Mirt\n  fire TavVekRenumberActHdr",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavCommandHeader* h = r.Workbenches().HeaderToFire(a[0], &err);
           return h && r.Engine().Start(h->GetModuleName().utf8(), h->GetClassName().utf8(), &err, HeaderTitle(*h).text);
         }});
  t.Add({"start", {{"MODULE", ArgKind::Module}, {"CLASS", ArgKind::Class}, {"ARG", ArgKind::Word, true}},
         "start a command class directly",
         "Starts a command by its load module and class, without a workbench (`commands`\n"
         "lists the classes this build runs), with an optional argument the command reads\n"
         "when it builds its graph. A command already running is replaced.\n"
         "Example:\n  start OrvVekPlanner TavVekRenumberActCmd\n  start OrvVekPlanner OrvVekLinkActCmd SingleShot",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           return r.Engine().Start(a[0], a[1], &err, {}, a.size() > 2 ? a[2] : std::string());
         }});
  t.Add({"select", {{"PATH", ArgKind::Path, true, true}}, "put objects into the current selection (CSO); empty it",
         "Adds objects to the current selection, which commands take when they start;\n"
         "with no path, empties it.\nExample:\n  select Products/BodyInWhite.1/Door.1\n  select",
         Select});
  t.Add({"active", {{"PATH", ArgKind::Path}}, "set the editor's current path (the activity being edited)",
         "Makes an object the editor's current path, as when the user opens an activity\n"
         "for editing.\nExample:\n  active \"Process/Body Shop/Framing\"",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           TavPathElement p = r.ResolvePath(a[0], err);
           if (p.IsEmpty()) return false;
           r.Session().CurrentHostEditor()->SetActivePath(p);
           return true;
         }});
  t.Add({"pick", {{"", ArgKind::Choice, true, false, {"tree", "viewer", "dialog", "in"}}, {"PLANT", ArgKind::Word, true}, {"PATH", ArgKind::Path, false, true}},
         "pick an object for the running command",
         "Offers an object to the agents of the running command's current state, as a\n"
         "click in the tree or the 3D viewer would. `pick dialog DIALOG.WIDGET/PATH`\n"
         "clicks the node at PATH (node texts from a root, separated by /; a library\n"
         "by its file name) in a dialog's navigation box and selects it. `pick in PLANT\n"
         "PATH` picks in another open plant (by its name or file name), which only a\n"
         "step taking picks in other plants accepts. Several paths are picked together,\n"
         "as a box drawn around them would (a step that takes one object at a time\n"
         "refuses them). A pick no agent takes fails and says why.\nExample:\n  pick Products/BodyInWhite.1/Bracket.3\n  pick in sample-plant-rev2 \"Process/Body Shop\"\n"
         "  pick viewer \"#op40_brackets\"\n  pick dialog AddActivityDialog.ActivityTreeView/body.act/Weld",
         Pick});
  t.Add({"cancel", {}, "cancel the running command",
         "Cancels the running command: it ends, leaving no selection or highlight.\nExample:\n  cancel",
         [](ScriptRunner& r, const ScriptWords&, std::string& err) { return r.Engine().Cancel(&err); }});
  t.Add({"env", {{"NAME", ArgKind::Variable}, {"VALUE", ArgKind::Word, true}}, "set an environment variable",
         "Sets a variable the workbench reads (its switches); no value sets it empty.\n"
         "Example:\n  env MIRT_TRACE all",
         [](ScriptRunner&, const ScriptWords& a, std::string&) {
           ::setenv(a[0].c_str(), a.size() > 1 ? a[1].c_str() : "", 1);
           return true;
         }});
  t.Add({"unsetenv", {{"NAME", ArgKind::Variable}}, "clear an environment variable",
         "Removes a variable from the environment.\nExample:\n  unsetenv MIRT_TRACE",
         [](ScriptRunner&, const ScriptWords& a, std::string&) {
           ::unsetenv(a[0].c_str());
           return true;
         }});
  t.Add({"setting", {{"REPOSITORY", ArgKind::Setting}, {"KEY", ArgKind::Word}, {"VALUE", ArgKind::Text}},
         "write a value into a setting repository",
         "Writes a setting: true/false, an integer, a number, else a text.\n"
         "Example:\n  setting OrvVekPartConsumption AttributeCheck true",
         Setting});
  t.Add({"preference", {{"REPOSITORY", ArgKind::Word}, {"KEY", ArgKind::Word}, {"VALUE", ArgKind::Text}},
         "write a value into a preference repository",
         "Writes a user preference, as `setting` does a setting: true/false, an integer,\n"
         "a number, else a text.\nExample:\n  preference OrvGanttSearch SavedQueryListSize 3",
         Preference});
  t.Add({"echo", {{"TEXT", ArgKind::Text, true}}, "print a line",
         "Prints its words, joined by blanks.\nExample:\n  echo \"== renumbering\"",
         [](ScriptRunner& r, const ScriptWords& a, std::string&) {
           r.Out() << Join(a) << '\n';
           return true;
         }});
  t.Add({"quit", {{"", ArgKind::Choice, true, false, {"--discard"}}}, "end the session (the shell) or the script",
         "Ends the shell, or stops a script here with success. Open plants with unsaved\n"
         "changes hold it, as for close: the shell asks, a script fails unless it saved\n"
         "first or says --discard.\nExample:\n  quit\n  quit --discard",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           bool discard = false;
           return Discard(a, "quit", discard, err) && r.Quit(&err, discard);
         }});
}

}  // namespace host
