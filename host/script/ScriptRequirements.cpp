// `print highlight` and `expect highlighted`: the objects the viewer highlights
// (the unconsumed parts a planner asked to see); `print requirements`: the
// engineering requirements of products and the activities implementing them.
#include "ScriptRequirements.h"

#include <ostream>
#include <set>

#include "HostScript.h"
#include "RequirementCoverage.h"
#include "ScriptTable.h"
#include "TavRequirements.h"

namespace host {

namespace {

// An object's path in its own plant; an object of another plant says which, and
// one taken out of its plant is named by its id.
std::string HighlightName(const Ref<TavBaseUnknown>& o, const HostDocument* current) {
  const auto* h = TavCast<HostObject>(o.get());
  const HostDocument* doc = h ? h->Doc() : nullptr;
  if (!doc) return h ? "#" + h->IdString() + " (in no plant)" : std::string("(an object of no plant)");
  std::string path = doc->PathString(o);
  if (doc != current) path += " (in " + doc->GetDisplayName().utf8() + ")";
  return path;
}

const HostDocument* CurrentDocument(ScriptRunner& r) {
  std::string ignored;
  return r.Document(ignored).get();
}

bool PrintHighlight(ScriptRunner& r, const ScriptWords&, std::string&) {
  const auto lit = TavViewerHighlight::GetHighlighted();
  std::ostream& out = r.Out();
  if (lit.empty()) {
    out << "highlight: none\n";
    return true;
  }
  out << "highlight: " << lit.size() << (lit.size() == 1 ? " object\n" : " objects\n");
  const HostDocument* current = CurrentDocument(r);
  for (auto& o : lit) out << "  " << HighlightName(o, current) << '\n';
  return true;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string s;
  for (auto& n : names) s += (s.empty() ? "" : ", ") + n;
  return s.empty() ? "none" : s;
}

// Exactly these objects, in any order; `none` for no object.
bool ExpectHighlighted(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  std::vector<Ref<TavBaseUnknown>> want;
  if (!(a.size() == 1 && a[0] == "none"))
    for (auto& path : a) {
      TavPathElement p = r.ResolvePath(path, err);
      if (p.IsEmpty()) return false;
      want.push_back(p.GetLeaf()->ExtendedObject());
    }
  const auto lit = TavViewerHighlight::GetHighlighted();
  std::set<const TavBaseUnknown*> litKeys, wantKeys;
  for (auto& o : lit) litKeys.insert(o->ExtendedObject().get());
  for (auto& o : want) wantKeys.insert(o.get());
  const HostDocument* current = CurrentDocument(r);
  std::vector<std::string> missing, extra;
  for (auto& o : want)
    if (!litKeys.count(o.get())) missing.push_back(HighlightName(o, current));
  for (auto& o : lit)
    if (!wantKeys.count(o->ExtendedObject().get())) extra.push_back(HighlightName(o, current));
  if (missing.empty() && extra.empty()) return true;
  std::vector<std::string> shown;
  for (auto& o : lit) shown.push_back(HighlightName(o, current));
  err = "expectation failed: the viewer highlights " + JoinNames(shown);
  if (!missing.empty()) err += "; not highlighted: " + JoinNames(missing);
  if (!extra.empty()) err += "; highlighted but not expected: " + JoinNames(extra);
  return false;
}

std::string LevelText(int level) {
  switch (level) {
    case 0: return "level 0 (no requirements)";
    case 1: return "level 1 (all implemented)";
    default: return "level 2 (not all implemented)";
  }
}

void PrintProductRequirements(std::ostream& out, const HostDocument& doc, const Ref<HostProduct>& p) {
  int level = -1;
  auto rec = query<OrvIReconciliationAnalysisForEngRequirement>(p);
  const bool answered = rec && SUCCEEDED(rec->GetReconciliationLevel(level));
  out << "  " << doc.PathString(p) << ": " << (answered ? LevelText(level) : std::string("no answer")) << '\n';
  for (auto& impl : ImplementationOf(doc, *p)) {
    out << "    " << impl.requirement->name.utf8();
    if (!impl.requirement->description.IsEmpty()) out << " (" << impl.requirement->description.utf8() << ")";
    if (impl.activities.empty()) {
      out << ": not implemented\n";
      continue;
    }
    std::vector<std::string> paths;
    for (auto& act : impl.activities) paths.push_back(doc.PathString(act));
    out << ": implemented by " << JoinNames(paths) << '\n';
  }
}

// Every product that carries requirements, or the product at PATH (whatever it
// carries) and those below it that carry some; depth first, as the tree shows them.
bool PrintRequirements(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  std::vector<Ref<HostProduct>> roots;
  Ref<HostProduct> named;
  if (!a.empty()) {
    TavPathElement p = r.ResolvePath(a[0], err);
    if (p.IsEmpty()) return false;
    named = std::dynamic_pointer_cast<HostProduct>(p.GetLeaf()->ExtendedObject());
    if (!named || named->IsResource()) {
      err = "print requirements: " + a[0] + " is no product (only products carry requirements)";
      return false;
    }
    roots.push_back(named);
  } else {
    roots = doc->Products().roots_;
  }
  const HostRequirementStore* store = RequirementsOf(*doc);
  std::vector<Ref<HostProduct>> shown;
  std::size_t count = 0;
  std::vector<Ref<HostProduct>> stack(roots.rbegin(), roots.rend());
  while (!stack.empty()) {
    Ref<HostProduct> p = std::move(stack.back());
    stack.pop_back();
    const std::size_t n = store ? store->Of(*p).size() : 0;
    if (n > 0 || p == named) shown.push_back(p);
    count += n;
    for (auto it = p->Children().rbegin(); it != p->Children().rend(); ++it) stack.push_back(*it);
  }
  std::ostream& out = r.Out();
  if (shown.empty()) {
    out << "requirements: none\n";
    return true;
  }
  out << "requirements: " << count << (count == 1 ? " requirement on " : " requirements on ") << shown.size()
      << (shown.size() == 1 ? " product\n" : " products\n");
  for (auto& p : shown) PrintProductRequirements(out, *doc, p);
  return true;
}

void AddRequirementStatements(ScriptTable& t) {
  t.AddSub("print", {"highlight", {}, "the objects the viewer highlights, in the order they were highlighted",
                     "Prints the objects the 3D viewer highlights (the unconsumed parts the\n"
                     "activities-of-product command shows), one path a line in the order they were\n"
                     "highlighted, or \"highlight: none\". An object of another plant says which.\n"
                     "Example:\n  print highlight",
                     PrintHighlight});
  t.AddSub("expect", {"highlighted", {{"PATH", ArgKind::Path, false, true}},
                      "the viewer highlights exactly these objects, in any order (none: no object)",
                      "Checks that the 3D viewer highlights exactly the objects at PATH..., in any\n"
                      "order; `none` checks that it highlights nothing. A failure lists what is\n"
                      "highlighted, what is missing and what is highlighted beyond the list.\n"
                      "Example:\n  expect highlighted Products/BodyInWhite.1/Bracket.3 Products/VinPlate.1\n"
                      "  expect highlighted none",
                      ExpectHighlighted});
  t.AddSub("print", {"requirements", {{"PATH", ArgKind::Path, true}},
                     "products' engineering requirements, the activities implementing them and the level",
                     "Lists every product of the current plant that carries engineering\n"
                     "requirements, depth first; with PATH, the product at PATH (whatever it\n"
                     "carries) and the products below it that carry some. Each product shows its\n"
                     "reconciliation level (0 no requirements, 1 all implemented, 2 not all\n"
                     "implemented), then each requirement with its description and the\n"
                     "activities implementing it, or \"not implemented\".\n"
                     "Example:\n  print requirements Products/BodyInWhite.1/Door.2",
                     PrintRequirements});
}

}  // namespace

void RegisterRequirementStatements() { AddScriptStatements(AddRequirementStatements); }

}  // namespace host
