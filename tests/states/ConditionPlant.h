#pragma once
// A cell whose door, hood, fixture and gripper have states: Load holds conditions,
// Weld none, Robot.1 can have a behaviour but has none, Robot.2 has one with a
// begin condition; a variant where another hub user locks Load. Open in a session
// with the command engine.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "HostEngine.h"
#include "HostRuntime.h"
#include "HostStates.h"
#include "OrvDefineConditionCmd.h"
#include "PlantDocument.h"

namespace conditiontest {

// The plant the session scripts of tests/e2e/states use too.
inline std::string PlantFile(bool lockedLoad) {
  return std::string(MIRT_TEST_DATA) + (lockedLoad ? "/e2e/states/cell-locked.xml" : "/e2e/states/cell.xml");
}

struct ConditionPlant : ::testing::Test {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  std::ostringstream out;
  host::HostEngine engine{&out};
  OrvDefineConditionCmd* cmd = nullptr;

  void Load(bool lockedLoad = false) {
    std::string error;
    doc = host::LoadPlant(PlantFile(lockedLoad), error);
    ASSERT_TRUE(doc) << error;
    session.OpenDocument(doc);
  }
  void SetUp() override { Load(); }

  Ref<TavBaseUnknown> Obj(const std::string& id) const { return doc->FindById(id); }
  Ref<OrvIState> State(const std::string& id) const { return query<OrvIState>(Obj(id)); }
  host::HostStateStore& Store() const { return *host::StatesOf(*doc); }
  std::string Bytes() const { return host::SerializePlant(*doc); }

  // Starts the command and picks `id`; true when the dialog opened.
  bool Open(const std::string& id) {
    std::string err;
    auto c = std::make_unique<OrvDefineConditionCmd>();
    cmd = c.get();
    if (!engine.StartCommand(std::move(c), &err)) return false;
    return engine.Pick(doc->PathOf(Obj(id)), &err) && cmd->Dialog()->IsVisible();
  }
  OrvVekActivitiesStateDlg& Dlg() const { return *cmd->Dialog(); }
  std::string CommandState() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  template <class W = TavDlgWidget>
  W* Widget(const std::string& name) const {
    return dynamic_cast<W*>(Dlg().Find(name));
  }
  // What a user does: choose a tab page, select lines (by number), push a button.
  void Page(const std::string& tabs, const std::string& page) {
    std::string err;
    ASSERT_TRUE(Widget(tabs)->SetValueFromText(page, &err)) << err;
  }
  void Choose(const std::string& list, std::vector<std::string> rows) {
    std::string err;
    ASSERT_TRUE(Widget<TavDlgLines>(list)->SelectLinesFromText(rows, &err)) << err;
  }
  void Push(const std::string& button) { Widget(button)->Notify(TavDlgNotification::Activate); }
  // Selects an object of the shown left page by its line text and its states by name.
  void Pick(bool resources, const std::string& object, std::vector<std::string> states) {
    Page("pItemResTabContainer", resources ? "pResourceTabPage" : "pItemTabPage");
    Choose(resources ? "pResSelectorList" : "pItemSelectorList", {object});
    Choose(resources ? "pResStatesSelectorList" : "pItmStatesSelectorList", std::move(states));
  }
  std::vector<std::string> Lines(const std::string& list) const {
    std::vector<std::string> v;
    auto* l = Widget<TavDlgLines>(list);
    for (int i = 0; i < l->GetLineCount(); ++i) v.push_back(l->GetLine(i).utf8());
    return v;
  }
  static std::vector<std::string> Ids(const OrvVekActivitiesStateDlg::States& states) {
    std::vector<std::string> v;
    for (auto& s : states) v.push_back(query<TavIModelIdentity>(s)->GetId().utf8());
    return v;
  }
  // One of the holder's lists in the model (an activity's, or a behaviour's).
  std::vector<std::string> Held(const Ref<TavBaseUnknown>& holder, OrvVekActivitiesStateDlg::Page page) const {
    using D = OrvVekActivitiesStateDlg;
    const int kind = page == D::Begin ? TavStateConditionKind::Begin
                     : page == D::End ? TavStateConditionKind::End : TavStateConditionKind::Context3D;
    if (auto c = query<OrvIResourceStatesCondition>(holder)) return Ids(c->GetConditions(kind));
    if (page == D::Context3D) {
      auto c = query<TavISPPActivity3DContext>(holder);
      return c ? Ids(c->Get3DContext()) : std::vector<std::string>{};
    }
    auto c = query<TavISPP3DStateCondition>(holder);
    return c ? Ids(c->GetStateConditions(kind)) : std::vector<std::string>{};
  }
  std::vector<std::string> Held(const std::string& holder, OrvVekActivitiesStateDlg::Page page) const {
    return Held(Obj(holder), page);
  }
};

}  // namespace conditiontest
