// `print centred`: each open plant's window, what it highlights and what its viewer
// was last centred on (a command may show an object in another plant's window);
// `print setting`: one value of a setting repository, as a command stored it;
// `unavailable`: the test hook taking a setting component away.
#include "ScriptCompare.h"

#include <ostream>

#include "TavSettingComponents.h"

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {

std::string Paths(const HostDocument& doc, const std::vector<TavPathElement>& items) {
  std::string s;
  for (auto& p : items) s += (s.empty() ? "" : ", ") + doc.PathString(p.GetLeaf());
  return s.empty() ? "nothing" : s;
}

bool PrintCentred(ScriptRunner& r, const ScriptWords&, std::string&) {
  auto& editors = r.Session().Editors();
  if (editors.empty()) {
    r.Out() << "centred: no plant open\n";
    return true;
  }
  for (auto& e : editors) {
    const HostDocument& doc = *e->Document();
    r.Out() << doc.GetDisplayName().utf8() << (e == r.Session().CurrentHostEditor() ? " (current)" : "")
            << ": highlighted " << Paths(doc, e->GetHSO().Items()) << "; centred on "
            << Paths(doc, e->Viewer().GetLastFrame()) << '\n';
  }
  return true;
}

// The value as stored (a text byte for byte, so that a stored format can be
// checked), an array a value a line, or "not set".
bool PrintSetting(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  if (std::string problem = RepositoryNameProblem(a[0]); !problem.empty()) {
    err = problem + ": '" + a[0] + "'";
    return false;
  }
  const TavRepository& repo = TavSettingRepository::GetRepository(a[0]);
  std::ostream& out = r.Out();
  out << a[0] << ' ' << a[1];
  if (auto v = repo.Read(a[1])) {
    out << " = " << TavValueToText(*v).utf8() << '\n';
  } else if (auto strings = repo.ReadStrings(a[1])) {
    out << ": " << strings->size() << (strings->size() == 1 ? " value\n" : " values\n");
    for (auto& x : *strings) out << "  " << x.utf8() << '\n';
  } else {
    out << ": not set\n";
  }
  return true;
}

void AddCompareStatements(ScriptTable& t) {
  t.AddSub("print", {"centred", {}, "what each open plant's window highlights and centres its viewer on",
                     "Prints one line per open plant: what its window highlights and what its 3D\n"
                     "viewer was last centred on, as a command showing an object (in the current\n"
                     "plant or in another plant's window) left them.\nExample:\n  print centred",
                     PrintCentred});
  t.AddSub("print", {"setting", {{"REPOSITORY", ArgKind::Setting}, {"KEY", ArgKind::Word}},
                     "one value of a setting repository, as stored",
                     "Prints a setting as a command stored it (a text byte for byte), an array\n"
                     "one value a line, or says it is not set.\n"
                     "Example:\n  print setting OrvDSICompareToolSettingCtrl ReportAttributes",
                     PrintSetting});
  t.Add({"unavailable", {{"REPOSITORY", ArgKind::Setting}},
         "take a setting component away for the rest of the session",
         "From now on the named setting component cannot be created, as in an\n"
         "installation that lacks it: commands that depend on it say so or do without.\n"
         "Example:\n  unavailable OrvDSICompareToolSettingCtrl",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           if (std::string problem = RepositoryNameProblem(a[0]); !problem.empty()) {
             err = problem + ": '" + a[0] + "'";
             return false;
           }
           TavSettingComponents::SetUnavailable(a[0], true);
           r.Out() << "setting component " << a[0] << " is unavailable\n";
           return true;
         }});
}

}  // namespace

void RegisterCompareStatements() { AddScriptStatements(AddCompareStatements); }

}  // namespace host
