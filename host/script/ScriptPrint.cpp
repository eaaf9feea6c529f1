// `print`: what the user would look at -- the plant, an object, dialogs, messages,
// selection sets, the running command.
#include <ostream>

#include "HostScript.h"
#include "ScriptTable.h"

namespace host {

namespace {
void PrintTree(std::ostream& out, const HostDocument& doc) {
  for (auto& r : doc.Process().roots_) {
    out << r->GetLabel().utf8() << " (" << r->GetTypeName().utf8() << ")\n";
    std::vector<std::pair<const HostActivity*, int>> work;
    for (auto it = r->Children().rbegin(); it != r->Children().rend(); ++it) work.emplace_back(it->get(), 1);
    while (!work.empty()) {
      auto [a, depth] = work.back();
      work.pop_back();
      out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << a->GetLabel().utf8() << " (" << a->GetTypeName().utf8() << ")\n";
      for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) work.emplace_back(it->get(), depth + 1);
    }
  }
  for (auto* list : {&doc.Products(), &doc.Resources()}) {
    out << list->GetListName().utf8() << '\n';
    std::vector<std::pair<const HostProduct*, int>> work;
    for (auto it = list->roots_.rbegin(); it != list->roots_.rend(); ++it) work.emplace_back(it->get(), 1);
    while (!work.empty()) {
      auto [p, depth] = work.back();
      work.pop_back();
      out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << p->GetName().utf8();
      if (!p->GetPartNumber().IsEmpty()) out << " [" << p->GetPartNumber().utf8() << "]";
      out << '\n';
      for (auto it = p->Children().rbegin(); it != p->Children().rend(); ++it) work.emplace_back(it->get(), depth + 1);
    }
  }
  if (!doc.Assemblies().assemblies_.empty()) {
    out << "Assemblies\n";
    for (auto& a : doc.Assemblies().assemblies_) out << "  " << a->GetName().utf8() << " (type " << a->GetType() << ")\n";
  }
}

bool PrintObject(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  auto doc = r.Document(err);
  std::ostream& out = r.Out();
  auto o = p.GetLeaf();
  out << doc->PathString(o);
  if (auto id = query<TavIModelIdentity>(o)) out << " #" << id->GetId().utf8();
  out << '\n';
  if (auto act = query<TavISPPAbstractActivity>(o)) {
    out << "  type " << act->GetTypeName().utf8() << ", time " << TavValueToText(act->GetTime()).utf8() << '\n';
    if (!act->GetDescription().IsEmpty()) out << "  description " << act->GetDescription().utf8() << '\n';
  }
  if (auto pr = query<TavIProduct>(o)) out << "  part number " << pr->GetPartNumber().utf8() << '\n';
  if (auto rel = query<TavIPCSRelations>(o))
    for (auto& rl : rel->GetRelations()) {
      out << "  " << rl->GetRelationType().utf8() << " " << doc->PathString(rl->GetTarget()) << '\n';
      if (auto ra = query<TavIAttributeHolder>(rl))
        for (auto& at : ra->GetAttributes()) out << "    attribute " << at.name.utf8() << " = " << TavValueToText(at.value).utf8() << '\n';
    }
  if (auto attrs = query<TavIAttributeHolder>(o))
    for (auto& at : attrs->GetAttributes()) out << "  attribute " << at.name.utf8() << " = " << TavValueToText(at.value).utf8() << '\n';
  return true;
}

ScriptStatement SetPrinter(const std::string& name) {
  return {name, {}, "print the " + TavUnicodeString(name).ToUpper().utf8() + " selection set", {},
          [name](ScriptRunner& r, const ScriptWords&, std::string& err) {
            auto ed = r.Editor(err);
            if (!ed) return false;
            TavSelectionSet& set = name == "hso" ? ed->GetHSO() : name == "cso" ? ed->GetCSO() : ed->GetPSO();
            r.Out() << set.GetName() << " (" << set.GetSize() << ")\n";
            for (auto& p : set.Items()) r.Out() << "  " << ed->Document()->PathString(p.GetLeaf()) << '\n';
            return true;
          }};
}
}  // namespace

void AddPrintStatements(ScriptTable& t) {
  t.Add({"print", {}, "print the plant, an object, dialogs, messages, a selection set, the command",
         "Prints what the user would look at. Every topic prints as stable text, so\n"
         "golden tests can compare it.\nExample:\n  print tree\n  print object \"#op30_hinges\"\n  print dialog ASRDialog",
         nullptr,
         {{"tree", {}, "print the process, product and resource trees and the assemblies", {},
           [](ScriptRunner& r, const ScriptWords&, std::string& err) {
             auto doc = r.Document(err);
             if (doc) PrintTree(r.Out(), *doc);
             return doc != nullptr;
           }},
          {"object", {{"PATH", ArgKind::Path}}, "print an object: type, time, relations, attributes", {}, PrintObject},
          {"dialog", {{"NAME[.WIDGET]", ArgKind::Widget}}, "dump a dialog: its widgets, values and rows", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             TavDlgWidget* d = r.ResolveWidget(a[0], err);
             if (!d) return false;
             std::string text;
             d->Dump(text, 0);
             r.Out() << text;
             return true;
           }},
          {"dialogs", {}, "list the live dialogs, shown or hidden", {},
           [](ScriptRunner& r, const ScriptWords&, std::string&) {
             for (auto* d : TavDlgDialog::All())
               r.Out() << d->GetKind() << ' ' << d->GetName() << (d->IsVisible() ? " [shown]" : " [hidden]") << '\n';
             return true;
           }},
          {"messages", {}, "list the message windows shown so far", {},
           [](ScriptRunner& r, const ScriptWords&, std::string&) {
             for (auto& m : r.Engine().Messages()) r.Out() << "[" << m.kind << "] " << m.title << ": " << m.text << '\n';
             return true;
           }},
          SetPrinter("hso"), SetPrinter("cso"), SetPrinter("pso"),
          {"command", {}, "the running command and its state", {},
           [](ScriptRunner& r, const ScriptWords&, std::string&) {
             auto* c = r.Engine().RunningCommand();
             if (c)
               r.Out() << "running " << c->GetName() << " in state " << (c->GetCurrentState() ? c->GetCurrentState()->GetName() : "?") << '\n';
             else
               r.Out() << "no command running\n";
             return true;
           }}}});
}

}  // namespace host
