// Control flow in the host: link objects and their ids, the linking rules,
// constraints in <links>, and the hub session of hub plants.
#include <gtest/gtest.h>

#include "HostFlow.h"
#include "HostFlowFeature.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "PlantText.h"

using namespace host;

namespace {

// Framing-like parent: Start, three activities, Stop, and a nested child under b.
const char* kPlant = R"(<plant format="1"%ENV%>
  <process id="proc" name="Process" type="Activity">
    <activity id="p" name="Line" type="PhysicalActivity">
      <activity id="start" name="Start" type="Start"/>
      <activity id="a" name="A" type="PhysicalActivity"/>
      <activity id="b" name="B" type="PhysicalActivity">
        <activity id="b1" name="B1" type="PhysicalActivity"/>
      </activity>
      <activity id="c" name="C" type="PhysicalActivity">
        <activity id="c1" name="C1" type="PhysicalActivity"/>
      </activity>
      <activity id="feed" name="Feeder" type="Feeder"/>
      <activity id="stop" name="Stop" type="Stop"/>
    </activity>
    <activity id="q" name="Other" type="PhysicalActivity"/>
  </process>
  <links>
    <flow id="fl1" from="start" to="a"/>
    <flow from="a" to="b"/>
    %LINKS%
  </links>
  %SECTIONS%
</plant>)";

std::string Plant(const std::string& links = {}, const std::string& sections = {}, bool hub = false) {
  std::string s = kPlant;
  auto put = [&](const std::string& key, const std::string& v) { s.replace(s.find(key), key.size(), v); };
  put("%ENV%", hub ? " environment=\"hub\"" : "");
  put("%LINKS%", links);
  put("%SECTIONS%", sections);
  return s;
}

Ref<TavBaseUnknown> Obj(HostDocument& d, const char* id) { return d.FindById(id); }

}  // namespace

TEST(FlowLinks, LinkObjectsKeepTheirIdsAcrossRemovalUndoAndSave) {
  auto doc = LoadPlantText(Plant());
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find(R"(<flow id="fl1" from="start" to="a"/>)"), std::string::npos);
  EXPECT_NE(saved.find(R"(<flow from="a" to="b"/>)"), std::string::npos);

  // A stored id names its link; a link picked by its ends gets a session id that is never saved.
  auto stored = query<TavISPPControlFlow>(doc->FindById("fl1"));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->GetSourceNode(), Obj(*doc, "start"));
  auto picked = doc->Resolve("Process/Line/A -> Process/Line/B").GetLeaf();
  ASSERT_TRUE(query<TavISPPControlFlow>(picked));
  EXPECT_EQ(doc->PathString(picked), "Process/Line/A -> Process/Line/B");
  EXPECT_EQ(doc->Resolve("Process/Line/A -> Process/Line/B").GetLeaf(), picked);  // the same object each time
  EXPECT_TRUE(doc->Resolve("Process/Line/B -> Process/Line/A").IsEmpty());
  EXPECT_EQ(doc->Resolve("#a -> #b").GetLeaf(), picked);
  EXPECT_TRUE(doc->Resolve(" -> Process/Line/B").IsEmpty());
  // Ends are nodes, not links: many arrows cost one lookup pair each, not a split tree.
  std::string arrows = "Process/Line/A";
  for (int i = 0; i < 200; ++i) arrows += " -> Process/Line/A";
  EXPECT_TRUE(doc->Resolve(arrows).IsEmpty());
  EXPECT_EQ(SerializePlant(*doc), saved);

  // Deleting through the life cycle is one undoable change; the object outlives it.
  auto a = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "a"));
  EXPECT_EQ(a->GetControlFlows(false).front(), doc->FindById("fl1"));
  doc->Journal().Begin();
  ASSERT_EQ(query<TavILifeCycleObject>(stored)->Remove(), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("delete"));
  EXPECT_FALSE(stored->GetSourceNode());
  EXPECT_EQ(query<TavILifeCycleObject>(stored)->Remove(), E_FAIL);  // gone already
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(stored->GetTargetNode(), Obj(*doc, "a"));
  EXPECT_EQ(SerializePlant(*doc), saved);
}

TEST(FlowLinks, LoaderChecksFlowIdsAndConstraints) {
  EXPECT_NE(PlantTextError(Plant(R"(<flow id="a" from="b" to="c"/>)")).find("duplicate id 'a'"), std::string::npos);
  EXPECT_NE(PlantTextError(Plant(R"(<flow id="bad id" from="b" to="c"/>)")).find("bad id"), std::string::npos);
  EXPECT_NE(PlantTextError(Plant(R"(<constraint from="a" to="stop"/>)")).find("joins activities, not flow nodes"), std::string::npos);
  EXPECT_NE(PlantTextError(Plant(R"(<prevCycle from="a" to="a"/>)")).find("cannot be linked to itself"), std::string::npos);
  EXPECT_NE(PlantTextError(Plant(R"(<constraint from="a" to="b"/><constraint from="a" to="b"/>)")).find("duplicate constraint"),
            std::string::npos);
  EXPECT_NE(PlantTextError(Plant(R"(<prevCycle from="a" to="nowhere"/>)")).find("nowhere"), std::string::npos);
  // A problem inside a link names the link's element.
  EXPECT_NE(PlantTextError(Plant(R"(<constraint from="a" to="b">x</constraint>)")).find("unexpected text in <constraint>"),
            std::string::npos);
  // Both kinds round-trip.
  auto doc = LoadPlantText(Plant(R"(<constraint from="b" to="c"/><prevCycle from="a" to="q"/><prevCycle from="a" to="c"/>)"));
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find(R"(<constraint from="b" to="c"/>)"), std::string::npos);
  EXPECT_EQ(SerializePlant(*LoadPlantText(saved)), saved);
  auto a = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "a"));
  ASSERT_EQ(a->GetPrevCycleConstraints().size(), 2u);
  EXPECT_EQ(a->GetPrevCycleConstraints()[0], Obj(*doc, "q"));
}

TEST(FlowLinks, ConstraintChangesUndoAndFollowRemovedActivities) {
  auto doc = LoadPlantText(Plant(R"(<constraint from="b" to="c"/>)"));
  auto a = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "a"));
  auto c = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "c"));
  const std::string before = SerializePlant(*doc);
  doc->Journal().Begin();
  EXPECT_EQ(a->SetPrevCycleConstraints({c, Obj(*doc, "q"), c}), S_OK);  // a repeat counts once
  EXPECT_EQ(a->AddConstraint(c), S_OK);
  EXPECT_EQ(a->AddConstraint(c), S_FALSE);
  EXPECT_EQ(a->SetPrevCycleConstraints({a}), E_FAIL);  // not itself; nothing changed
  EXPECT_EQ(a->SetPrevCycleConstraints({Obj(*doc, "stop")}), E_FAIL);
  ASSERT_TRUE(doc->Journal().Commit("constraints"));
  const std::string after = SerializePlant(*doc);
  EXPECT_NE(after.find(R"(<prevCycle from="a" to="q"/>)"), std::string::npos);
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  ASSERT_TRUE(doc->Journal().Redo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
  // Removing c takes every constraint naming it along, and undo brings them back.
  doc->Journal().Begin();
  doc->RemoveActivity(c);
  ASSERT_TRUE(doc->Journal().Commit("remove"));
  EXPECT_EQ(SerializePlant(*doc).find("to=\"c\""), std::string::npos);
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
}

TEST(FlowLinks, RulesOfTheLinkServices) {
  auto doc = LoadPlantText(Plant(R"(<precedence from="c" to="b"/><precedence from="b1" to="c1"/>)"));
  auto n = [&](const char* id) { return Obj(*doc, id); };
  EXPECT_EQ(TavSPPLinkServices::CanLinkFrom(n("stop")), 1);
  EXPECT_EQ(TavSPPLinkServices::CanLinkTo(n("start")), 1);
  EXPECT_EQ(TavSPPLinkServices::CanLinkFrom(n("feed")), 1);
  EXPECT_EQ(TavSPPLinkServices::CanLinkTo(n("feed")), 1);
  EXPECT_EQ(TavSPPLinkServices::CanLinkFrom(n("proc")), 1);  // a root has no siblings
  EXPECT_EQ(TavSPPLinkServices::CanLinkFrom(nullptr), 1);
  EXPECT_EQ(TavSPPLinkServices::CanLinkFrom(n("start")), 0);
  EXPECT_EQ(TavSPPLinkServices::AreAllreadyLinked(n("a"), n("b")), 0);
  EXPECT_EQ(TavSPPLinkServices::AreAllreadyLinked(n("b"), n("a")), 1);
  EXPECT_EQ(TavSPPLinkServices::LinkViolatesHierachy(n("a"), n("c")), 1);
  EXPECT_EQ(TavSPPLinkServices::LinkViolatesHierachy(n("a"), n("b1")), 0);
  EXPECT_EQ(TavSPPLinkServices::LinkViolatesHierachy(n("a"), n("a")), 0);

  // c must come before b: b -> c contradicts it and says why; c -> b agrees.
  TavError::TavCleanLastError();
  EXPECT_EQ(TavSPPLinkServices::IsLinkOkForPrecedence(n("c"), n("b")), S_OK);
  EXPECT_LT(TavSPPLinkServices::IsLinkOkForPrecedence(n("b"), n("c")), 0);
  auto e = TavError::TavGetLastError(E_FAIL);
  ASSERT_TRUE(e);
  EXPECT_NE(e->GetNLSMessage().utf8().find("C must be done before B"), std::string::npos);
  TavError::TavCleanLastError();
  EXPECT_EQ(TavSPPLinkServices::Link(n("b"), n("c")), E_FAIL);
  EXPECT_TRUE(TavError::TavGetLastError(E_FAIL));
  EXPECT_EQ(TavSPPLinkServices::Link(n("a"), n("b1")), E_FAIL);  // not siblings
  EXPECT_EQ(TavSPPLinkServices::Link(n("b"), n("stop")), S_OK);

  // A precedence between descendants (c1 before b1) orders their parents only under
  // the multi-level check.
  auto doc2 = LoadPlantText(Plant(R"(<precedence from="c1" to="b1"/>)"));
  auto m = [&](const char* id) { return Obj(*doc2, id); };
  auto& repo = TavSettingRepository::GetRepository(kLinkSettings);
  repo.Delete(kMultiLevelKey);
  EXPECT_LT(TavSPPLinkServices::IsMultiLevelPrecedenceCheckActivated(), 0);
  EXPECT_EQ(TavSPPLinkServices::IsLinkOkForPrecedence(m("b"), m("c")), S_OK);  // one level: nothing between b and c
  EXPECT_EQ(TavSPPLinkServices::ActiveMultiLevelPrecedenceCheck(), S_OK);
  EXPECT_EQ(TavSPPLinkServices::IsMultiLevelPrecedenceCheckActivated(), S_OK);
  EXPECT_LT(TavSPPLinkServices::IsLinkOkForPrecedence(m("b"), m("c")), 0);  // c1 before b1 orders c before b
  repo.Delete(kMultiLevelKey);
  TavError::TavCleanLastError();
}

TEST(FlowLinks, SwitchAndOrInTakeOverTheLinksAndUndoAsOne) {
  auto doc = LoadPlantText(Plant(R"(<flow from="a" to="c"/><flow from="start" to="c"/>)"));
  auto a = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "a"));
  auto c = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "c"));
  const std::string before = SerializePlant(*doc);
  doc->Journal().Begin();
  Ref<TavBaseUnknown> sw, orin;
  ASSERT_EQ(TavSPPLinkServices::InsertSwitchAfter(a, sw), S_OK);
  ASSERT_EQ(TavSPPLinkServices::InsertOrInBefore(c, orin), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("insert"));
  auto swf = query<TavISPPFlowMgt>(sw);
  EXPECT_EQ(swf->GetNodeType(), "Switch");
  EXPECT_EQ(a->GetNextNodes(), std::vector<Ref<TavBaseUnknown>>{sw});
  EXPECT_EQ(swf->GetNextNodes().size(), 2u);  // b and the OrIn before c
  EXPECT_EQ(c->GetPreviousNodes(), std::vector<Ref<TavBaseUnknown>>{orin});
  EXPECT_EQ(query<TavISPPFlowMgt>(orin)->GetPreviousNodes().size(), 2u);  // the Switch and Start
  // The new nodes sit beside their node among the children.
  auto kids = a->FatherActivity()->Children();
  EXPECT_EQ(kids[2], std::dynamic_pointer_cast<HostActivity>(sw));
  EXPECT_EQ(kids[4], std::dynamic_pointer_cast<HostActivity>(orin));
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  Ref<TavBaseUnknown> none;
  EXPECT_EQ(TavSPPLinkServices::InsertSwitchAfter(Obj(*doc, "proc"), none), E_FAIL);
  EXPECT_FALSE(none);
}

TEST(FlowLinks, AllowedPredecessorsAreSiblingsNotAlreadyAfter) {
  auto doc = LoadPlantText(Plant(R"(<precedence from="a" to="b"/><precedence from="b" to="c"/>)"));
  auto a = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "a"));
  auto c = std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "c"));
  // b and c follow a (c through b): a may only get nothing; c may get a or b.
  EXPECT_TRUE(a->GetAllowedPredecessors().empty());
  auto allowed = c->GetAllowedPredecessors();
  EXPECT_EQ(allowed, (std::vector<Ref<TavBaseUnknown>>{a, Obj(*doc, "b")}));
  EXPECT_TRUE(std::dynamic_pointer_cast<HostActivity>(Obj(*doc, "proc"))->GetAllowedPredecessors().empty());
}

TEST(HubSession, LocksLogsAndModeRoundTrip) {
  const std::string section =
      R"(<hubSession partialReadOnly="true" persistentFlow="true"><lock object="b" user="alice"/></hubSession>)";
  EXPECT_NE(PlantTextError(Plant({}, section)).find("needs a hub plant"), std::string::npos);
  EXPECT_NE(PlantTextError(Plant({}, R"(<hubSession><lock object="zz" user="x"/></hubSession>)", true)).find("unknown object 'zz'"),
            std::string::npos);
  EXPECT_NE(PlantTextError(Plant({}, R"(<hubSession><lock object="a" user="x"/><lock object="a" user="y"/></hubSession>)", true))
                .find("locked twice"),
            std::string::npos);
  EXPECT_NE(PlantTextError(Plant({}, R"(<hubSession><key/></hubSession>)", true)).find("unknown element <key>"), std::string::npos);

  auto doc = LoadPlantText(Plant({}, section, true));
  auto auth = TavModificationAuthorityOf(doc);
  ASSERT_TRUE(auth);
  EXPECT_TRUE(auth->IsPartialReadOnly());
  EXPECT_TRUE(auth->IsControlFlowPersistent());
  EXPECT_EQ(auth->Lock(Obj(*doc, "b"), "CurrentUser", "plm-b"), E_FAIL);  // alice holds it
  EXPECT_EQ(auth->GetLockOwner(Obj(*doc, "b")), "alice");
  EXPECT_EQ(auth->Lock(Obj(*doc, "a"), "CurrentUser", "plm-a"), S_OK);
  EXPECT_EQ(auth->Lock(Obj(*doc, "a"), "CurrentUser", "plm-a"), S_OK);  // held already
  auto log = query<TavISPPLogActivity>(Obj(*doc, "proc"));
  ASSERT_TRUE(log);
  EXPECT_FALSE(query<TavISPPLogActivity>(Obj(*doc, "a")));  // processes keep logs, not their activities
  log->StartLogEntry("Link A -> C");
  EXPECT_EQ(log->EndLogEntry(), S_OK);
  EXPECT_EQ(log->EndLogEntry(), S_FALSE);
  const std::string saved = SerializePlant(*doc);
  EXPECT_NE(saved.find(R"(<lock object="a" user="CurrentUser"/>)"), std::string::npos);
  EXPECT_NE(saved.find(R"(<log process="proc" text="Link A -&gt; C"/>)"), std::string::npos);
  EXPECT_NE(saved.find("locked a (plm-a) for CurrentUser"), std::string::npos);
  auto again = LoadPlantText(saved);
  EXPECT_EQ(SerializePlant(*again), saved);
  EXPECT_EQ(query<TavISPPLogActivity>(Obj(*again, "proc"))->GetLogEntries().size(), 1u);
  // A local plant has no authority, and a hub plant without the section writes none.
  EXPECT_FALSE(TavModificationAuthorityOf(LoadPlantText(Plant())));
  EXPECT_EQ(SerializePlant(*LoadPlantText(Plant({}, {}, true))).find("hubSession"), std::string::npos);
}
