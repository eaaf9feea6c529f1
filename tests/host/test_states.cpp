// States in the host: the <states> section and conditions in plant files, the
// condition lists and the states' holders kept in step, definitions without cycles,
// applying states, removal and undo.
#include <gtest/gtest.h>

#include "HostStates.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "PlantText.h"
#include "TavFlow.h"

using namespace host;

namespace {

const char* kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="%ENV%" name="States">
  <products>
    <product id="door" name="Door">
      <placement matrix="1 0 0 0 1 0 0 0 1 5 0 0.25"/>
    </product>
  </products>
  <resources>
    <resource id="fx" name="Fixture.1" type="Fixture">
      <resource id="clamp" name="Clamp.1" type="Tool"/>
    </resource>
    <resource id="rb" name="Robot.1" type="Robot">
      <behavior id="bh" name="Robot.1 handling">
        <condition kind="end" ref="fx_open"/>
      </behavior>
    </resource>
  </resources>
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Load" type="PhysicalActivity">
      <condition kind="begin" ref="fx_open"/>
      <condition kind="context" ref="rb_home"/>
      <condition kind="end" ref="fx_closed"/>
    </activity>
    <activity id="a2" name="Weld" type="PhysicalActivity"/>
  </process>
  <states>
    <storedPosition id="clamp_open" product="clamp" name="Open" matrix="1 0 0 0 1 0 0 0 1 0 0 50"/>
    <storedPosition id="clamp_shut" product="clamp" name="Closed" matrix="1 0 0 0 1 0 0 0 1 0 0 0"/>
    <storedPosition id="door_up" product="door" name="Up" matrix="1 0 0 0 1 0 0 0 1 0 10 0"/>
    <state id="fx_open" owner="fx" name="Open">
      <uses ref="clamp_open"/>
    </state>
    <state id="fx_closed" owner="fx" name="Closed">
      <uses ref="clamp_shut"/>
    </state>
    <state id="rb_home" owner="rb" name="Home"/>
    <state id="door_ready" owner="door" name="Ready">
      <uses ref="fx_closed"/>
      <uses ref="door_up"/>
    </state>
  </states>%HUB%
</plant>
)";

std::string Plant(const std::string& states = {}, bool hub = false) {
  std::string s = kPlant;
  auto put = [&](const std::string& key, const std::string& v) { s.replace(s.find(key), key.size(), v); };
  put("%ENV%", hub ? "hub" : "local");
  put("%HUB%", hub ? "\n  <hubSession>\n    <lock object=\"a1\" user=\"bob\"/>\n  </hubSession>" : "");
  if (!states.empty()) s.replace(s.find("  </states>"), 0, states);
  return s;
}

template <class T>
Ref<T> Get(const HostDocument& doc, const char* id) {
  return std::dynamic_pointer_cast<T>(doc.FindById(id));
}

std::vector<std::string> Ids(const std::vector<Ref<TavBaseUnknown>>& v) {
  std::vector<std::string> out;
  for (auto& o : v) out.push_back(query<TavIModelIdentity>(o)->GetId().utf8());
  return out;
}
template <class T>
std::vector<std::string> Ids(const std::vector<Ref<T>>& v) {
  return Ids(std::vector<Ref<TavBaseUnknown>>(v.begin(), v.end()));
}

TEST(HostStates, PlantRoundTripsAndDerivesEachStatesHolders) {
  auto doc = LoadPlantText(Plant());
  EXPECT_EQ(SerializePlant(*doc), Plant());

  auto open = Get<HostState>(*doc, "fx_open");
  EXPECT_EQ(Ids(open->GetRelated(OrvStateRelation::BeginLinked)), std::vector<std::string>{"a1"});
  EXPECT_EQ(Ids(open->GetRelated(OrvStateRelation::EndLinked)), std::vector<std::string>{"bh"});
  EXPECT_TRUE(open->GetRelated(OrvStateRelation::BeginUnlinked).empty());  // odd codes name no list
  EXPECT_EQ(Ids(Get<HostState>(*doc, "door_ready")->GetDefinition()), (std::vector<std::string>{"fx_closed", "door_up"}));

  // Behaviours answer the resource interface, activities the activity ones.
  auto bh = doc->FindById("bh");
  EXPECT_TRUE(query<OrvIResourceStatesCondition>(bh));
  EXPECT_FALSE(query<TavISPP3DStateCondition>(bh));
  auto a1 = doc->FindById("a1");
  EXPECT_FALSE(query<OrvIResourceStatesCondition>(a1));
  EXPECT_EQ(Ids(query<TavISPPActivity3DContext>(a1)->Get3DContext()), std::vector<std::string>{"rb_home"});

  // Paths name states and positions under their owners, both ways.
  EXPECT_EQ(doc->PathString(open), "Resources/Fixture.1/state:Open");
  EXPECT_EQ(doc->Resolve("Resources/Fixture.1/state:Open").GetLeaf(), open);
  EXPECT_EQ(doc->Resolve("Products/Door/position:Up").GetLeaf(), doc->FindById("door_up"));
  EXPECT_TRUE(doc->Resolve("Resources/Fixture.1/state:Shut").IsEmpty());
  EXPECT_TRUE(doc->Resolve("Resources/Fixture.1/position:Open").IsEmpty());  // the clamp's, not the fixture's
  // A resource named like a state path stays reachable, escaped.
  auto trick = doc->CreateProduct(Get<HostProduct>(*doc, "fx"), "trick", "state:Open", {}, true);
  EXPECT_EQ(doc->PathString(trick), "Resources/Fixture.1/\\state:Open");
  EXPECT_EQ(doc->Resolve(doc->PathString(trick)).GetLeaf(), trick);
  EXPECT_EQ(doc->Resolve("Resources/Fixture.1/state:Open").GetLeaf(), open);

  // The factory lists an owner's states in file order.
  OrvFactoryOnState factory(doc);
  ASSERT_TRUE(factory.IsValid());
  EXPECT_EQ(Ids(factory.GetStates(doc->FindById("fx"))), (std::vector<std::string>{"fx_open", "fx_closed"}));
  EXPECT_EQ(Ids(factory.GetPositions(doc->FindById("clamp"))), (std::vector<std::string>{"clamp_open", "clamp_shut"}));
}

TEST(HostStates, LoaderRefusesBadStatesWithOnePosition) {
  struct Case {
    std::string states, message;
  };
  const std::vector<Case> cases = {
      {R"(<state id="s9" owner="a1" name="X"/>)", "'a1' is no product, resource or assembly"},
      {R"(<state id="s9" owner="nobody" name="X"/>)", "unknown owner 'nobody'"},
      {R"(<state id="s9" owner="fx" name="Open"/>)", "two states named 'Open'"},
      {R"(<state id="s9" owner="fx" name="  "/>)", "a state needs a name"},
      {R"(<state id="s9" owner="fx" name="X"><uses ref="a1"/></state>)", "'a1' is no state or stored position"},
      {R"(<state id="s9" owner="fx" name="X"><uses ref="clamp_open"/><uses ref="clamp_open"/></state>)", "twice"},
      {R"(<state id="s9" owner="fx" name="X"><uses ref="s9"/></state>)", "would contain itself"},
      {R"(<state id="s8" owner="fx" name="X"><uses ref="s9"/></state><state id="s9" owner="fx" name="Y"><uses ref="s8"/></state>)",
       "would contain itself"},
      {R"(<storedPosition id="q9" product="door" name="P" matrix="1 0 0 0 1 0 0 0 1 0 0"/>)", "holds 11 numbers, not 12"},
      {R"(<storedPosition id="q9" product="door" name="P" matrix="1 0 0 0 1 0 0 0 1 0 0 0 0"/>)", "more than 12"},
      {R"(<storedPosition id="q9" product="door" name="P" matrix="1 0 0 0 1 0 0 0 1 0 0 nan"/>)", "matrix"},
      {R"(<storedPosition id="q9" product="door" name="P" matrix="1  0 0 0 1 0 0 0 1 0 0 0"/>)", "matrix"},
      {R"(<storedPosition id="q9" product="a1" name="P" matrix="1 0 0 0 1 0 0 0 1 0 0 0"/>)", "no product or resource"},
      {R"(<storedPosition id="fx_open" product="door" name="P" matrix="1 0 0 0 1 0 0 0 1 0 0 0"/>)", "fx_open"},
  };
  for (const auto& c : cases) {
    const std::string error = PlantTextError(Plant(c.states));
    EXPECT_NE(error.find(c.message), std::string::npos) << c.states << "\n" << error;
    EXPECT_EQ(error.rfind("t.xml:", 0), 0u) << error;
  }
  std::string plant = Plant();
  auto swap = [&](const std::string& from, const std::string& to) {
    std::string s = plant;
    s.replace(s.find(from), from.size(), to);
    return PlantTextError(s);
  };
  EXPECT_NE(swap(R"(kind="context" ref="rb_home")", R"(kind="context" ref="gone")").find("t.xml:21:45: a condition of unknown state"), std::string::npos);
  EXPECT_NE(swap(R"(kind="end" ref="fx_closed")", R"(kind="end" ref="door_up")").find("'door_up' is no state"), std::string::npos);
  EXPECT_NE(swap(R"(kind="end" ref="fx_closed")", R"(kind="later" ref="fx_closed")").find("unknown condition kind"), std::string::npos);
  EXPECT_NE(swap(R"(<condition kind="end" ref="fx_open"/>)", R"(<condition kind="end" ref="fx_open"/><condition kind="end" ref="fx_open"/>)")
                .find("duplicate end condition"),
            std::string::npos);
}

TEST(HostStates, RelationsKeepConditionsInStepAndRefuseCycles) {
  auto doc = LoadPlantText(Plant());
  auto a2 = Get<HostActivity>(*doc, "a2");
  auto open = Get<HostState>(*doc, "fx_open");
  auto ready = Get<HostState>(*doc, "door_ready");
  auto closed = Get<HostState>(*doc, "fx_closed");
  auto cond = query<TavISPP3DStateCondition>(a2);

  EXPECT_EQ(open->SetRelation(a2, OrvStateRelation::BeginLinked), S_OK);
  EXPECT_EQ(open->SetRelation(a2, OrvStateRelation::BeginLinked), S_FALSE);  // no duplicate
  EXPECT_EQ(Ids(cond->GetStateConditions(TavStateConditionKind::Begin)), std::vector<std::string>{"fx_open"});
  EXPECT_EQ(cond->AddStateConditions(TavStateConditionKind::Begin, {open, closed, closed}), S_OK);
  EXPECT_EQ(Ids(cond->GetStateConditions(TavStateConditionKind::Begin)), (std::vector<std::string>{"fx_open", "fx_closed"}));
  EXPECT_EQ(Ids(closed->GetRelated(OrvStateRelation::BeginLinked)), (std::vector<std::string>{"a2"}));
  EXPECT_EQ(cond->RemoveStateConditions(TavStateConditionKind::Begin, {closed}), S_OK);
  EXPECT_TRUE(closed->GetRelated(OrvStateRelation::BeginLinked).empty());
  EXPECT_EQ(open->SetRelation(a2, OrvStateRelation::BeginUnlinked), S_OK);
  EXPECT_EQ(open->SetRelation(a2, OrvStateRelation::BeginUnlinked), S_FALSE);
  EXPECT_EQ(cond->AddStateConditions(TavStateConditionKind::Context3D, {open}), E_FAIL);  // the 3D context has its own interface
  EXPECT_EQ(open->SetRelation(doc->FindById("door"), OrvStateRelation::EndLinked), E_FAIL);  // no activity

  // A definition never contains its own state, however deep.
  EXPECT_EQ(closed->SetRelation(ready, OrvStateRelation::AddState), E_FAIL);
  EXPECT_EQ(ready->SetRelation(ready, OrvStateRelation::AddState), E_FAIL);
  EXPECT_EQ(ready->SetRelation(open, OrvStateRelation::AddState), S_OK);
  EXPECT_EQ(ready->SetRelation(open, OrvStateRelation::AddState), S_FALSE);
  EXPECT_EQ(ready->SetRelation(open, OrvStateRelation::AddPosition), E_FAIL);  // code and kind differ
  EXPECT_EQ(ready->SetRelation(doc->FindById("door_up"), OrvStateRelation::RemovePosition), S_OK);
  EXPECT_EQ(Ids(ready->GetDefinition()), (std::vector<std::string>{"fx_closed", "fx_open"}));

  // Every call reached the log the tests read, refused ones too.
  const auto& calls = StatesOf(*doc)->Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().state, "fx_open");
  EXPECT_EQ(calls.front().other, "a2");
  EXPECT_EQ(calls.front().code, 4);
}

TEST(HostStates, LockedActivityRefusesConditionChanges) {
  auto doc = LoadPlantText(Plant({}, true));
  const std::string before = SerializePlant(*doc);
  auto a1 = doc->FindById("a1");
  auto open = Get<HostState>(*doc, "fx_open");
  TavError::TavCleanLastError();
  EXPECT_EQ(query<TavISPP3DStateCondition>(a1)->RemoveStateConditions(TavStateConditionKind::Begin, {open}), E_FAIL);
  ASSERT_TRUE(TavError::TavGetLastError(E_FAIL));
  EXPECT_NE(TavError::TavGetLastError(E_FAIL)->GetNLSMessage().utf8().find("locked by bob"), std::string::npos);
  EXPECT_EQ(query<TavISPPActivity3DContext>(a1)->Add3DContext({open}), E_FAIL);
  EXPECT_EQ(open->SetRelation(a1, OrvStateRelation::BeginUnlinked), E_FAIL);
  EXPECT_EQ(open->Remove(), E_FAIL);  // its holder is locked: the state stays with its links
  EXPECT_EQ(SerializePlant(*doc), before);
  // Another activity is free.
  EXPECT_EQ(open->SetRelation(doc->FindById("a2"), OrvStateRelation::EndLinked), S_OK);
}

TEST(HostStates, ApplyMovesInDefinitionOrderAndReportsTheProducts) {
  auto doc = LoadPlantText(Plant());
  auto ready = Get<HostState>(*doc, "door_ready");
  auto clamp = Get<HostProduct>(*doc, "clamp");
  auto door = Get<HostProduct>(*doc, "door");
  EXPECT_EQ(Ids(ready->GetMovedProducts()), (std::vector<std::string>{"door", "clamp"}));
  EXPECT_EQ(ready->Apply(), S_OK);
  EXPECT_EQ(clamp->GetPosition()[11], 0);
  EXPECT_EQ(door->GetPosition()[10], 10);
  EXPECT_EQ(Get<HostState>(*doc, "fx_open")->Apply(), S_OK);
  EXPECT_EQ(clamp->GetPosition()[11], 50);
  // A moved product stands there in the saved file, its design position beside it.
  EXPECT_NE(SerializePlant(*doc).find(R"(<resource id="clamp" name="Clamp.1" type="Tool">
        <placement matrix="1 0 0 0 1 0 0 0 1 0 0 50" design="1 0 0 0 1 0 0 0 1 0 0 0"/>)"),
            std::string::npos);
}

TEST(HostStates, CreateRemoveAndRelinkAreUndoneAsOneStep) {
  auto doc = LoadPlantText(Plant());
  const std::string before = SerializePlant(*doc);
  auto* store = StatesOf(*doc);
  auto a1 = doc->FindById("a1");
  auto open = Get<HostState>(*doc, "fx_open");

  // A state made, owned and defined; another removed with its links.
  doc->Journal().Begin();
  auto made = store->CreateState("Half open");
  ASSERT_TRUE(made);
  EXPECT_FALSE(store->CreateState(" \t"));
  EXPECT_EQ(made->SetOwner(doc->FindById("fx")), S_OK);
  EXPECT_EQ(made->SetOwner(doc->FindById("fx")), E_FAIL);  // one owner
  EXPECT_EQ(query<OrvIStateMgt>(made)->SetRelation(doc->FindById("clamp_open"), OrvStateRelation::AddPosition), S_OK);
  EXPECT_EQ(Get<HostState>(*doc, "fx_closed")->Remove(), S_OK);
  ASSERT_TRUE(doc->Journal().Commit("states"));
  const std::string after = SerializePlant(*doc);
  EXPECT_EQ(after.find("fx_closed"), std::string::npos);  // its condition and its use went with it
  EXPECT_NE(after.find(R"(name="Half open")"), std::string::npos);
  EXPECT_FALSE(doc->FindById("fx_closed"));
  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  EXPECT_EQ(doc->Resolve("Resources/Fixture.1/state:Closed").GetLeaf(), doc->FindById("fx_closed"));
  ASSERT_TRUE(doc->Journal().Redo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;

  // Rewriting the same lists (remove all, add them again) changes nothing: no step.
  const std::size_t steps = doc->Journal().Size();
  auto cond = query<TavISPP3DStateCondition>(a1);
  doc->Journal().Begin();
  auto current = cond->GetStateConditions(TavStateConditionKind::Begin);
  EXPECT_EQ(cond->RemoveStateConditions(TavStateConditionKind::Begin, current), S_OK);
  EXPECT_EQ(cond->AddStateConditions(TavStateConditionKind::Begin, current), S_OK);
  EXPECT_EQ(open->SetRelation(a1, OrvStateRelation::BeginLinked), S_FALSE);
  doc->Journal().Commit("same");
  EXPECT_EQ(doc->Journal().Size(), steps);
  EXPECT_EQ(SerializePlant(*doc), before);
}

}  // namespace
