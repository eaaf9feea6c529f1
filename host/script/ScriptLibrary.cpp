// `library modified NAME`: the plant's activity library NAME stands as edited in
// another window and not saved, as the add-activity dialog then warns.
#include "ScriptLibrary.h"

#include "HostLibrary.h"
#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {

bool LibraryModified(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto doc = r.Document(err);
  return doc && MarkLibraryModified(*doc, a[0], err);
}

void AddLibraryStatements(ScriptTable& t) {
  t.Add({"library", {}, "the current plant's activity libraries",
         "Changes how the current plant's activity libraries stand.\n"
         "Example:\n  library modified body.act",
         nullptr,
         {{"modified", {{"NAME", ArgKind::Word}}, "the library NAME (file name, or path as the plant gives it) is modified and not saved",
           "Marks the library as edited and not saved (dirty status 3): the add-activity\n"
           "dialog warns before offering its types. Fails when the plant has no library\n"
           "of that file name or path.\n"
           "Example:\n  library modified body.act\n  library modified \"libs/body.act\"",
           LibraryModified}}});
}

}  // namespace

void RegisterLibraryStatements() { AddScriptStatements(AddLibraryStatements); }

}  // namespace host
