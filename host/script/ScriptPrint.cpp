// `print`: what the user would look at -- the plant, an object, dialogs, messages,
// selection sets, the running command.
#include <charconv>
#include <fstream>
#include <ostream>
#include <sstream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavMfgVersioning.h"
#include "TavPositions.h"
#include "TavResources.h"

namespace host {

namespace {
constexpr int kAllLevels = -1;

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }

// "Weld.1.2.2 (PhysicalActivity, time 12, resources Robot.1, Welder.2)"
std::string ActivityLine(const HostActivity& a) {
  std::string line = a.GetLabel().utf8() + " (" + a.GetTypeName().utf8();
  if (a.GetTime() != 0) line += ", time " + TavValueToText(a.GetTime()).utf8();
  std::string resources;
  for (auto& r : a.Relations())
    if (r->Type()->kind == RelationKind::Resource)
      if (auto o = query<TavIModelIdentity>(r->GetTarget())) {
        auto h = std::dynamic_pointer_cast<HostObject>(r->GetTarget());
        resources += (resources.empty() ? "" : ", ") + (h ? h->DisplayName().utf8() : "#" + o->GetId().utf8());
      }
  if (!resources.empty()) line += ", resources " + resources;
  return line + ")";
}

std::string ProductLine(const HostProduct& p) {
  std::string line = p.GetName().utf8();
  if (!p.GetPartNumber().IsEmpty()) line += " [" + p.GetPartNumber().utf8() + "]";
  if (!p.GetResourceType().IsEmpty()) line += " (" + p.GetResourceType().utf8() + ")";
  return line;
}

// Depth-first, children in order, down to `levels` below `top` (all when negative).
template <class Node, class Line>
void PrintSubtree(std::ostream& out, const Node* top, int depth, int levels, Line line) {
  std::vector<std::pair<const Node*, int>> work{{top, 0}};
  while (!work.empty()) {
    auto [n, level] = work.back();
    work.pop_back();
    out << Indent(depth + level) << line(*n) << '\n';
    if (levels >= 0 && level >= levels) continue;
    for (auto it = n->Children().rbegin(); it != n->Children().rend(); ++it) work.emplace_back(it->get(), level + 1);
  }
}

void PrintSection(std::ostream& out, const HostRootList& list, int levels) {
  out << list.GetListName().utf8() << '\n';
  if (levels == 0) return;
  for (auto& r : list.roots_) PrintSubtree(out, r.get(), 1, levels - 1, ProductLine);
}

// "HingeKit (type 2, plan type StationKit, not directly changeable)"; the plan type
// and the mark only when set. `typeText` adds the type's text ("type 2 ManufacturingKit").
std::string AssemblyLine(const HostAssembly& a, bool typeText) {
  std::string line = a.GetName().utf8();
  if (typeText && !a.PartNumber().IsEmpty()) line += " [" + a.PartNumber().utf8() + "]";
  line += " (type " + std::to_string(a.GetType());
  if (typeText && !a.GetTypeText().IsEmpty()) line += " " + a.GetTypeText().utf8();
  if (!a.PlanType().IsEmpty()) line += ", plan type " + a.PlanType().utf8();
  if (a.IsNotDirectlyChangeable()) line += ", not directly changeable";
  return line + ")";
}

void PrintAssemblies(std::ostream& out, const HostDocument& doc, int levels) {
  if (doc.Assemblies().assemblies_.empty()) return;
  out << "Assemblies\n";
  if (levels == 0) return;
  for (auto& a : doc.Assemblies().assemblies_) out << "  " << AssemblyLine(*a, false) << '\n';
}

// One assembly and its content, in order: products and resources by path, the
// assemblies inside with their own content, down to `levels` below it.
void PrintAssembly(std::ostream& out, const HostDocument& doc, const HostAssembly& top, int levels) {
  std::vector<std::pair<const TavBaseUnknown*, int>> work{{&top, 0}};
  while (!work.empty()) {
    auto [n, level] = work.back();
    work.pop_back();
    const auto* a = dynamic_cast<const HostAssembly*>(n);
    out << Indent(level)
        << (a ? AssemblyLine(*a, true) : doc.PathString(const_cast<TavBaseUnknown*>(n)->self())) << '\n';
    if (!a || (levels >= 0 && level >= levels)) continue;
    for (auto it = a->Parts().rbegin(); it != a->Parts().rend(); ++it) work.emplace_back(it->get(), level + 1);
  }
}

// print tree [PATH] [--depth N]
bool PrintTree(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  int levels = kAllLevels;
  std::string path;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == "--depth") {
      int n = -1;
      if (i + 1 < a.size()) {
        auto [p, ec] = std::from_chars(a[i + 1].data(), a[i + 1].data() + a[i + 1].size(), n);
        if (ec != std::errc() || p != a[i + 1].data() + a[i + 1].size()) n = -1;
      }
      if (n < 0) {
        err = "print tree: --depth takes a number of levels (0 or more)";
        return false;
      }
      levels = n;
      ++i;
    } else if (path.empty()) {
      path = a[i];
    } else {
      err = "usage: print tree [PATH] [--depth N]";
      return false;
    }
  }
  std::ostream& out = r.Out();
  if (path.empty()) {
    for (auto& root : doc->Process().roots_) PrintSubtree(out, static_cast<const HostActivity*>(root.get()), 0, levels, ActivityLine);
    PrintSection(out, doc->Products(), levels);
    PrintSection(out, doc->Resources(), levels);
    PrintAssemblies(out, *doc, levels);
    return true;
  }
  if (path == "Products" || path == "Resources") {
    PrintSection(out, path == "Products" ? doc->Products() : doc->Resources(), levels);
    return true;
  }
  if (path == "Assemblies") {
    PrintAssemblies(out, *doc, levels);
    return true;
  }
  TavPathElement p = r.ResolvePath(path, err);
  if (p.IsEmpty()) return false;
  auto leaf = p.GetLeaf();
  if (auto act = std::dynamic_pointer_cast<HostActivity>(leaf)) PrintSubtree(out, act.get(), 0, levels, ActivityLine);
  else if (auto prod = std::dynamic_pointer_cast<HostProduct>(leaf)) PrintSubtree(out, prod.get(), 0, levels, ProductLine);
  else if (auto ma = std::dynamic_pointer_cast<HostAssembly>(leaf)) PrintAssembly(out, *doc, *ma, levels);
  else out << doc->PathString(leaf) << '\n';
  return true;
}

// Where a product, resource or assembly is used: the activities relating to it.
std::vector<std::pair<const HostActivity*, std::string>> UsesOf(const HostDocument& doc, const TavBaseUnknown* target) {
  std::vector<std::pair<const HostActivity*, std::string>> out;
  for (auto& root : doc.Process().roots_) {
    std::vector<const HostActivity*> work{root.get()};
    while (!work.empty()) {
      const HostActivity* act = work.back();
      work.pop_back();
      for (auto& rel : act->Relations())
        if (rel->GetTarget().get() == target) out.emplace_back(act, rel->GetRelationType().utf8());
      for (auto it = act->Children().rbegin(); it != act->Children().rend(); ++it) work.push_back(it->get());
    }
  }
  return out;
}

namespace {
std::string MatrixWords(const TavIMovable::Position& m) {
  std::string out;
  for (double v : m) out += (out.empty() ? "" : " ") + TavValueToText(v).utf8();
  return out;
}

// Where a product stands and where its design puts it, once either is not the identity.
void PrintPositions(std::ostream& out, const HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  auto movable = query<TavIMovable>(o);
  auto design = TavDesignPositionsOf(std::dynamic_pointer_cast<TavDocument>(const_cast<HostDocument&>(doc).self()));
  if (design && design->IsTagObject(o)) out << "  tag object\n";
  if (!movable || !design) return;
  const auto now = movable->GetPosition(), home = design->GetDesignPosition(o);
  if (now == kTavIdentityPosition && home == kTavIdentityPosition) return;
  out << "  position " << MatrixWords(now) << '\n';
  out << "  design position " << MatrixWords(home) << (TavSamePosition(home, now) ? "" : " (displaced)") << '\n';
}
}  // namespace

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
  if (auto pr = query<TavIProduct>(o)) {
    out << "  part number " << pr->GetPartNumber().utf8() << '\n';
    if (pr->IsResource()) out << "  resource type " << (pr->GetResourceType().IsEmpty() ? "(none)" : pr->GetResourceType().utf8()) << '\n';
    if (auto contexts = pr->IsResource() ? TavResourceContextsOf(doc) : nullptr; contexts && contexts->IsResourceContext(o))
      out << "  resource context\n";
    PrintPositions(out, *doc, o);
  }
  if (auto rel = query<TavIPCSRelations>(o))
    for (auto& rl : rel->GetRelations()) {
      out << "  " << rl->GetRelationType().utf8() << " " << doc->PathString(rl->GetTarget()) << '\n';
      if (auto ra = query<TavIAttributeHolder>(rl))
        for (auto& at : ra->GetAttributes()) out << "    attribute " << at.name.utf8() << " = " << TavValueToText(at.value).utf8() << '\n';
    }
  if (auto attrs = query<TavIAttributeHolder>(o))
    for (auto& at : attrs->GetAttributes()) out << "  attribute " << at.name.utf8() << " = " << TavValueToText(at.value).utf8() << '\n';
  // Where it stands among the others: links of an activity, parts of an assembly, uses of an item.
  if (auto act = std::dynamic_pointer_cast<HostActivity>(o)) {
    for (auto& n : act->GetPreviousNodes()) out << "  flow from " << doc->PathString(n) << '\n';
    for (auto& n : act->GetNextNodes()) out << "  flow to " << doc->PathString(n) << '\n';
    for (auto& n : act->GetPrecedences()) out << "  after " << doc->PathString(n) << '\n';
    for (auto& n : act->GetSuccessors()) out << "  before " << doc->PathString(n) << '\n';
    for (auto& n : act->GetConstraints(TavConstraintType::Plain)) out << "  constrained with " << doc->PathString(n) << '\n';
    for (auto& n : act->GetConstraints(TavConstraintType::StartStart)) out << "  starts with " << doc->PathString(n) << '\n';
    for (auto& n : act->GetConstraints(TavConstraintType::EndEnd)) out << "  ends with " << doc->PathString(n) << '\n';
    for (auto& n : act->GetPrevCycleConstraints()) out << "  after previous cycle of " << doc->PathString(n) << '\n';
  }
  if (auto ref = query<OrvIMfgAssemblyReference>(o)) {
    if (ref->GetVersion()) out << "  version " << ref->GetVersion() << '\n';
    if (ref->IsExternallyProduced()) out << "  externally produced\n";
    if (auto p = ref->GetRefEbomProduct()) out << "  realises " << doc->PathString(p) << '\n';
  }
  if (auto ma = query<OrvIMfgAssembly>(o)) {
    std::vector<Ref<TavBaseUnknown>> parts;
    const bool byStructure = ma->GetParts(parts) == 1;
    for (auto& part : parts) out << "  part " << doc->PathString(part) << (byStructure ? " (with its structure)" : "") << '\n';
  }
  if (query<TavIProduct>(o) || query<OrvIMfgAssembly>(o))
    for (auto& [act, relation] : UsesOf(*doc, o.get())) out << "  used by " << doc->PathString(const_cast<HostActivity*>(act)->self()) << " (" << relation << ")\n";
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
         "golden tests can compare it. `print tree` takes a path (or Products, Resources,\n"
         "Assemblies) and --depth N to print only part of a large plant. An assembly's\n"
         "path prints it with its type, plan type and mark, then its content.\n"
         "Example:\n  print tree \"Process/Body Shop\" --depth 1\n  print object \"#op30_hinges\"\n  print dialog ASRDialog",
         nullptr,
         {{"tree", {{"PATH", ArgKind::Path, true}, {"--depth N", ArgKind::Choice, true, false, {"--depth"}}, {"", ArgKind::Number, true}},
           "print the trees, or the subtree at PATH, N levels deep: activities with time and resources",
           {}, PrintTree},
          {"object", {{"PATH", ArgKind::Path}},
           "print an object: type, time, relations, attributes, links, parts, where it is used", {}, PrintObject},
          {"file", {{"PATH", ArgKind::File}}, "print a file the session wrote in the output folder, byte for byte", {},
           [](ScriptRunner& r, const ScriptWords& a, std::string& err) {
             std::ifstream in(r.FilePath(a[0], true), std::ios::binary);
             if (!in) {
               err = "no file " + a[0];
               return false;
             }
             std::ostringstream bytes;
             bytes << in.rdbuf();
             r.Out() << bytes.str();
             return true;
           }},
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
          {"status", {}, "the text of the status line", {},
           [](ScriptRunner& r, const ScriptWords&, std::string&) {
             r.Out() << "status: " << TavApplicationFrame::GetStatusText().utf8() << '\n';
             return true;
           }},
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
