// `print states`, `expect position`, `edit`: the states of the current plant, where
// a product stands, and the double click that opens an object's editor.
#include "ScriptStates.h"

#include <cmath>
#include <ostream>

#include "HostScript.h"
#include "PlantSections.h"
#include "ScriptTable.h"
#include "StatesListing.h"

namespace host {

namespace {

bool PrintStates(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto doc = r.Document(err);
  if (!doc) return false;
  std::vector<Ref<TavBaseUnknown>> objects;
  for (auto& path : a) {
    TavPathElement p = r.ResolvePath(path, err);
    if (p.IsEmpty()) return false;
    objects.push_back(p.GetLeaf());
  }
  r.Out() << StatesText(ListStates(*doc, a.empty() ? nullptr : &objects));
  return true;
}

bool ExpectPosition(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  auto movable = query<TavIMovable>(p.GetLeaf());
  if (!movable) {
    err = a[0] + " cannot move (not a product or resource)";
    return false;
  }
  if (a.size() != 13) {
    err = "expect position: give the 12 numbers of the matrix (rotation rows, then translation)";
    return false;
  }
  TavIMovable::Position want{};
  for (std::size_t i = 0; i < want.size(); ++i) {
    std::size_t used = 0;
    try {
      want[i] = std::stod(a[i + 1], &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != a[i + 1].size() || !std::isfinite(want[i])) {
      err = "expect position: '" + a[i + 1] + "' is not a number";
      return false;
    }
  }
  const TavIMovable::Position have = movable->GetPosition();
  for (std::size_t i = 0; i < want.size(); ++i)
    if (std::abs(have[i] - want[i]) > 1e-9 * std::max(1.0, std::abs(want[i]))) {
      err = a[0] + " stands at " + PlantMatrixText(have) + ", expected " + PlantMatrixText(want);
      return false;
    }
  return true;
}

bool Edit(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  TavPathElement p = r.ResolvePath(a[0], err);
  if (p.IsEmpty()) return false;
  auto editor = query<TavIEditExtension>(p.GetLeaf());
  if (!editor) {
    err = a[0] + " has no editor: a double click does nothing";
    return false;
  }
  // S_FALSE: the editor said why it does not open (an assembly not directly changeable).
  if (FAILED(editor->Activate(p))) {
    err = "the editor of " + a[0] + " did not open";
    return false;
  }
  return true;
}

void AddStateStatements(ScriptTable& t) {
  t.AddSub("print", {"states", {{"PATH", ArgKind::Path, true, true}},
                     "states, stored positions and the conditions of activities",
                     "Lists each product's, resource's and assembly's stored positions and states\n"
                     "(with what each state is made of, in order), then each activity's and\n"
                     "behaviour's begin conditions, 3D context and end conditions. With paths,\n"
                     "only what concerns those objects. States are named OWNER/state:NAME,\n"
                     "positions PRODUCT/position:NAME.\n"
                     "Example:\n  print states\n  print states \"Resources/Fixture.1\"",
                     PrintStates});
  t.AddSub("expect", {"position", {{"PATH", ArgKind::Path}, {"MATRIX", ArgKind::Word, false, true}},
                      "a product or resource stands at the 12-number matrix (rotation rows, translation)", {},
                      ExpectPosition});
  t.Add({"edit", {{"PATH", ArgKind::Path}}, "double-click an object in the tree",
         "Opens the editor the object has for a double click (a state opens its\n"
         "definition, an assembly its editing command or a window saying why it cannot\n"
         "be changed); fails when the object has none.\n"
         "Example:\n  edit \"Resources/Fixture.1/state:Closed\"",
         Edit});
}

}  // namespace

void RegisterStateStatements() { AddScriptStatements(AddStateStatements); }

}  // namespace host
