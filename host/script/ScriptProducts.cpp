// `print notifications`: what the product structure and the process tree of the
// current plant were told since the last time (or since the plant was opened).
#include "ScriptProducts.h"

#include <ostream>

#include "HostProducts.h"
#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {

bool PrintNotifications(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  HostNotifications* n = NotificationsOf(*doc);
  const std::vector<std::string> lines = n ? n->Take() : std::vector<std::string>{};
  if (lines.empty()) r.Out() << "no notifications\n";
  for (auto& line : lines) r.Out() << line << '\n';
  return true;
}

void AddProductStatements(ScriptTable& t) {
  t.AddSub("print", {"notifications", {},
                     "what the product structure and the process tree were told, then forget it",
                     "Prints, in order, the notifications sent since the last `print notifications`\n"
                     "(or since the plant was opened), one line each:\n"
                     "  product added: PATH (under FATHER)\n"
                     "  product removed: PATH (from FATHER)\n"
                     "  product root modified\n"
                     "  product redrawn: PATH\n"
                     "  assembly redrawn: PATH\n"
                     "  assemblies redrawn                 the assembly tree\n"
                     "  activity modified: PATH (KIND)     KIND a number or a name (Add_Context)\n"
                     "then forgets them; \"no notifications\" when there were none.\n"
                     "Example:\n  print notifications",
                     PrintNotifications});
}

}  // namespace

void RegisterProductStatements() { AddScriptStatements(AddProductStatements); }

}  // namespace host
