// Guidance statements: `help` reads the statement table; `commands` lists the
// command classes this build runs.
#include <ostream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavModules.h"

namespace host {

void AddHelpStatements(ScriptTable& t) {
  t.Add({"help", {{"STATEMENT", ArgKind::Statement, true, true}}, "list the statements, or explain one",
         "Without a word, lists every statement with one line each; with a statement\n"
         "(and a sub-statement), explains it with an example.\nExample:\n  help\n  help pick\n  help expect hso",
         [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
           const ScriptTable& table = ScriptStatements();
           if (a.empty()) {
             r.Out() << table.Help();
             return true;
           }
           std::string text;
           if (!table.Help(a, text, err)) return false;
           r.Out() << text;
           return true;
         }});
  t.Add({"commands", {}, "list the command classes this build runs (for start)",
         "Lists each load module and command class that runs in this build; classes\n"
         "that headers name but that are not built yet are left out.\nExample:\n  commands",
         [](ScriptRunner& r, const ScriptWords&, std::string&) {
           const auto& reg = TavModuleRegistry::Get();
           for (auto& [module, cls] : reg.Classes())
             if (!reg.IsPlaceholder(module, cls)) r.Out() << module << ' ' << cls << '\n';
           return true;
         }});
}

}  // namespace host
