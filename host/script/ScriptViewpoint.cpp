// `print viewpoint`: what commands attached to the current editor's main 3D
// viewpoint so that it can be shown there (manufactured assemblies).
#include "ScriptViewpoint.h"

#include <ostream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavViewpoint.h"

namespace host {

namespace {

bool PrintViewpoint(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  auto viewpoint = TavMainViewpoint();
  const auto attached = viewpoint ? viewpoint->GetAttached() : std::vector<Ref<TavBaseUnknown>>{};
  std::ostream& out = r.Out();
  if (attached.empty()) {
    out << "viewpoint: nothing attached\n";
    return true;
  }
  out << "viewpoint: " << attached.size() << (attached.size() == 1 ? " object attached\n" : " objects attached\n");
  for (const auto& o : attached) out << "  " << doc->PathString(o) << '\n';
  return true;
}

void AddViewpointStatements(ScriptTable& t) {
  t.AddSub("print", {"viewpoint", {}, "what is attached to the 3D viewer's main viewpoint",
                     "Lists the objects commands attached to the main viewpoint of the current\n"
                     "plant's 3D viewer so that they can be shown and highlighted there\n"
                     "(manufactured assemblies; products and resources always are), in the order\n"
                     "they were attached, or \"viewpoint: nothing attached\".\nExample:\n  print viewpoint",
                     PrintViewpoint});
}

}  // namespace

void RegisterViewpointStatements() { AddScriptStatements(AddViewpointStatements); }

}  // namespace host
