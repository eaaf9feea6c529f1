// Navigation boxes in scripts: `pick dialog` (a click on a node), `expand`, and
// `print libraries` (the host's tree of the plant's activity libraries).
#include <ostream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavNavigBox.h"

namespace host {

namespace {
// "DIALOG.WIDGET/PATH": the box and, when a path is given, its node.
TavDlgNavigBox* ResolveBox(ScriptRunner& r, const std::string& spec, bool pathRequired, std::string& path, std::string& err) {
  const auto slash = spec.find('/');
  const std::string widget = spec.substr(0, slash);
  path = slash == std::string::npos ? std::string() : spec.substr(slash + 1);
  if (pathRequired && slash == std::string::npos) {
    err = "'" + spec + "' names no node: write DIALOG.WIDGET/PATH";
    return nullptr;
  }
  if (widget.find('.') == std::string::npos) {
    err = "'" + widget + "' names no widget: write DIALOG.WIDGET";
    return nullptr;
  }
  TavDlgWidget* w = r.ResolveWidget(widget, err);
  if (!w) return nullptr;
  auto* box = dynamic_cast<TavDlgNavigBox*>(w);
  if (!box) {
    err = widget + " is a " + w->GetKind() + ", not a navigation box";
    return nullptr;
  }
  if (TavDlgDialog* d = box->GetDialog(); d && !d->IsVisible()) {
    err = "dialog " + d->GetName() + " is not shown";
    return nullptr;
  }
  return box;
}

bool Expand(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  std::string path;
  TavDlgNavigBox* box = ResolveBox(r, a[0], false, path, err);
  if (!box) return false;
  if (path.empty()) {
    box->ExpandAll();
    return true;
  }
  TavNavigNode* node = box->ResolveNode(path, &err);
  if (!node) return false;
  box->ShowNode(*node);  // its ancestors open as well
  box->Expand(*node);
  return true;
}

bool PrintLibraries(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  // A plant without a library manager has no libraries either: one answer for both.
  auto libraries = TavActivityLibrariesOf(doc);
  auto containers = libraries ? libraries->GetLibraryContainers() : std::vector<Ref<TavBaseUnknown>>();
  if (containers.empty()) {
    r.Out() << "this plant has no activity libraries\n";
    return true;
  }
  // The tree the user sees in the host: one root a library, fully expanded.
  TavDlgNavigBox box(nullptr, "ActivityLibraries");
  for (auto& c : containers) box.AddRoot(c);
  box.ExpandAll();
  std::string text;
  box.Dump(text, 0);
  r.Out() << text;
  return true;
}
}  // namespace

TavPathElement ResolveDialogPick(ScriptRunner& r, const std::string& spec, std::string& err) {
  std::string path;
  TavDlgNavigBox* box = ResolveBox(r, spec, true, path, err);
  if (!box) return {};
  std::vector<Ref<TavBaseUnknown>> objects;
  if (!box->ResolvePath(path, objects, &err)) return {};
  box->ShowNode(*box->ResolveNode(path, nullptr));  // a click selects the node it picks
  return TavPathElement(std::move(objects));
}

void AddNavigStatements(ScriptTable& t) {
  t.Add({"expand", {{"DIALOG.WIDGET[/PATH]", ArgKind::Widget}}, "expand a node of a navigation box, or all of it",
         "Opens a node of a dialog's navigation box (its ancestors too), as a click on\n"
         "its box does; without a path, every node. `print dialog` shows the tree.\n"
         "Example:\n  expand AddActivityDialog.ActivityTreeView/body.act\n  expand AddActivityDialog.ActivityTreeView",
         Expand});
  t.AddSub("print", {"libraries", {}, "the host's tree of the plant's activity libraries, fully expanded", {}, PrintLibraries});
}

}  // namespace host
