// `print viewer`, `expect colour`, `expect hidden`, `expect shown`: what the 3D
// viewer shows of the current plant's products and resources.
#include "ScriptViewer.h"

#include <charconv>
#include <ostream>
#include <sstream>

#include "HostScript.h"
#include "ScriptTable.h"
#include "TavVisu.h"

namespace host {

namespace {

struct Visual {
  int colour, inheritance, opacity, own;
  bool shown;
  bool IsDefault() const {
    return colour == own && inheritance == kTavInheritOwnColour && opacity == kTavOpaque && own == kTavDefaultColour &&
           shown;
  }
};

bool VisualOf(const Ref<TavBaseUnknown>& o, Visual& v) {
  auto geo = query<TavI3DGeoVisu>(o);
  auto props = query<TavIVisProperties>(o);
  if (!geo || !props) return false;
  v = {geo->GetColorIndex(), geo->GetInheritance(), geo->GetOpacity(), props->GetStoredColor(), props->IsShown()};
  return true;
}

bool PrintViewer(ScriptRunner& r, const ScriptWords&, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  std::ostringstream lines;
  std::size_t n = 0;
  for (const HostRootList* list : {&doc->Products(), &doc->Resources()})
    for (auto& root : list->roots_) {
      std::vector<Ref<TavIProduct>> all{root};
      for (auto& d : root->GetAllDescendants()) all.push_back(d);
      for (auto& p : all) {
        Visual v{};
        if (!VisualOf(p, v) || v.IsDefault()) continue;
        ++n;
        lines << "  " << doc->PathString(p) << " colour " << v.colour;
        if (v.own != kTavDefaultColour) lines << " (own " << v.own << ")";
        if (v.inheritance != kTavInheritOwnColour) lines << " inheritance " << v.inheritance;
        if (v.opacity != kTavOpaque) lines << " opacity " << v.opacity;
        if (!v.shown) lines << " hidden";
        lines << '\n';
      }
    }
  std::ostream& out = r.Out();
  if (n == 0) out << "viewer: every product and resource as designed\n";
  else out << "viewer: " << n << (n == 1 ? " object" : " objects") << " changed\n" << lines.str();
  return true;
}

bool Target(ScriptRunner& r, const std::string& path, Visual& v, std::string& err) {
  TavPathElement p = r.ResolvePath(path, err);
  if (p.IsEmpty()) return false;
  if (!VisualOf(p.GetLeaf(), v)) {
    err = path + " has no 3D representation (not a product or resource)";
    return false;
  }
  return true;
}

bool ExpectColour(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  int want = 0;
  const std::string& w = a[1];
  auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), want);
  if (ec != std::errc() || end != w.data() + w.size() || want < 0 || want > 255) {
    err = "expect colour: '" + w + "' is not a palette index (0 to 255)";
    return false;
  }
  Visual v{};
  if (!Target(r, a[0], v, err)) return false;
  if (v.colour != want) {
    err = a[0] + " has colour " + std::to_string(v.colour) + ", expected " + w;
    return false;
  }
  return true;
}

ScriptHandler ExpectShown(bool want) {
  return [want](ScriptRunner& r, const ScriptWords& a, std::string& err) {
    Visual v{};
    if (!Target(r, a[0], v, err)) return false;
    if (v.shown != want) {
      err = a[0] + " is " + (v.shown ? "shown" : "hidden") + ", expected " + (want ? "shown" : "hidden");
      return false;
    }
    return true;
  };
}

void AddViewerStatements(ScriptTable& t) {
  t.AddSub("print", {"viewer", {}, "what the 3D viewer shows differently: colours and hidden objects",
                     "Lists every product and resource of the current plant whose viewer state is\n"
                     "not as designed: its palette colour (and its own colour when it has one), a\n"
                     "colour inheritance or opacity other than the usual, and whether it is hidden.\n"
                     "Example:\n  print viewer",
                     PrintViewer});
  t.AddSub("expect", {"colour", {{"PATH", ArgKind::Path}, {"N", ArgKind::Number}},
                      "a product or resource shows palette colour N", {}, ExpectColour});
  t.AddSub("expect", {"hidden", {{"PATH", ArgKind::Path}}, "a product or resource is hidden in the viewer", {},
                      ExpectShown(false)});
  t.AddSub("expect", {"shown", {{"PATH", ArgKind::Path}}, "a product or resource is shown in the viewer", {},
                      ExpectShown(true)});
}

}  // namespace

void RegisterViewerStatements() { AddScriptStatements(AddViewerStatements); }

}  // namespace host
