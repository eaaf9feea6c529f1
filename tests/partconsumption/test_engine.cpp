// The part consumption engine: findings, their order, the upward and downward
// checks and the records' display strings.
#include <gtest/gtest.h>

#include "PcPlant.h"

using namespace pctest;
using Strategy = OrvEPartConsumptionAnalysis::Strategy;
using V = std::vector<std::string>;

namespace {

// Both strategies must pass every test here.
class Engine : public ::testing::TestWithParam<Strategy> {
protected:
  Outcome Go(const std::vector<Ref<TavBaseUnknown>>& products, const std::vector<TavUnicodeString>& relations,
         bool checkParent = false, bool checkChildren = false) {
    return Analyze(products, relations, checkParent, checkChildren, GetParam());
  }
  Plant p;
};

TEST_P(Engine, RecordsComeInActivityThenRelationOrder) {
  auto shop = p.Act("Body Shop", nullptr, "Activity");
  auto load = p.Act("Load", shop);
  auto weld = p.Act("Weld.2", shop);
  auto door = p.Prod("Door.1");
  weld->CreateRelation("process_first_processes_product", door);
  weld->CreateRelation("process_processes_product", door);
  load->CreateRelation("process_processes_product", door);
  auto r = Go({door}, {kProcesses, kFirst});
  EXPECT_EQ(Describe(r.records), (V{"Door.1|Process/Body Shop/Load|Process Processes Product|||---L",
                                     "Door.1|Process/Body Shop/Weld.2|Process Processes Product|||---L",
                                     "Door.1|Process/Body Shop/Weld.2|Process First Processes Product|||---L"}));
  EXPECT_TRUE(r.unassigned.empty());
  // A name the host does not map finds nothing; an unrelated product is unassigned.
  auto hinge = p.Prod("Hinge.1");
  r = Go({door, hinge}, {"Process Welds Product"});
  EXPECT_TRUE(r.records.empty());
  EXPECT_EQ(Names(r.unassigned), (V{"Door.1", "Hinge.1"}));
}

TEST_P(Engine, OutputsCountOnlyWhenCreatesIsAskedAndResourceUseMakesNoRecord) {
  auto a = p.Act("Make");
  auto body = p.Prod("Body");
  auto clamp = p.Prod("Clamp");
  auto station = p.Res("Station.1");
  a->CreateRelation("process_creates_product", body);
  a->CreateRelation("process_attaches_resource", clamp);
  a->CreateRelation("process_uses_resource", station);
  auto r = Go({body, clamp, station}, {});
  EXPECT_TRUE(r.records.empty());
  EXPECT_EQ(Names(r.unassigned), (V{"Body"}));  // clamp and station are consumed, without a record
  r = Go({body, clamp, station}, {kCreates, kProcesses});
  EXPECT_EQ(Describe(r.records), (V{"Body|Process/Make|Process Creates Product|||---L"}));
  EXPECT_TRUE(r.unassigned.empty());
}

TEST_P(Engine, ConsumedFatherCoversTheProduct) {
  auto a = p.Act("Load");
  auto body = p.Prod("Body");
  auto door = p.Prod("Door.1", body);
  auto hinge = p.Prod("Hinge.1", door);
  a->CreateRelation("process_processes_product", body);
  // The record made for the father names the product as part, the father as parent.
  auto r = Go({hinge}, {kProcesses}, true, true);
  EXPECT_EQ(Describe(r.records), (V{"Hinge.1|Process/Load|Process Processes Product|Body||---L"}));
  EXPECT_TRUE(r.unassigned.empty());
  // Without the parent check the same product is unconsumed.
  r = Go({hinge}, {kProcesses});
  EXPECT_EQ(Names(r.unassigned), (V{"Hinge.1"}));
}

TEST_P(Engine, ContainingAssembliesCoverTheProductThroughEveryLevel) {
  auto a = p.Act("Marry");
  auto door = p.Prod("Door.1");
  auto inner = p.Ma("DoorAssy");
  auto outer = p.Ma("SideAssy");
  inner->AddPart(door);
  outer->AddPart(inner);
  a->CreateRelation("process_processes_product", outer);
  auto r = Go({door}, {kProcesses}, true, false);
  EXPECT_EQ(Describe(r.records), (V{"Door.1|Process/Marry|Process Processes Product|SideAssy||---L"}));
  EXPECT_TRUE(r.unassigned.empty());

  // Content given by structure: the listed product's descendants are inside.
  auto body = p.Prod("Body");
  auto roof = p.Prod("Roof", body);
  auto byStructure = p.Ma("BodyAssy");
  byStructure->AddPart(body);
  byStructure->SetContentByStructure(true);
  a->CreateRelation("process_processes_product", byStructure);
  r = Go({roof, body}, {kProcesses}, true, false);
  EXPECT_EQ(Describe(r.records), (V{"Roof|Process/Marry|Process Processes Product|BodyAssy||---L"}));
  EXPECT_EQ(Names(r.unassigned), (V{"Body"}));  // the listed product itself is not its own descendant
}

TEST_P(Engine, NestedAssembliesAreFollowedAndCannotCloseACycle) {
  auto door = p.Prod("Door.1");
  auto a = p.Ma("A");
  auto b = p.Ma("B");
  auto c = p.Ma("C");
  a->AddPart(door);
  b->AddPart(a);
  c->AddPart(b);
  EXPECT_EQ(a->AddPart(c), E_FAIL);  // C holds B holds A: A cannot hold C
  auto act = p.Act("Late");
  act->CreateRelation("process_processes_product", c);  // reached through two levels
  auto r = Go({door}, {kProcesses}, true, false);
  EXPECT_EQ(Describe(r.records), (V{"Door.1|Process/Late|Process Processes Product|C||---L"}));
  act->RemoveRelation("process_processes_product", c);
  r = Go({door}, {kProcesses}, true, false);
  EXPECT_TRUE(r.records.empty());
  EXPECT_EQ(Names(r.unassigned), (V{"Door.1"}));
}

TEST_P(Engine, ChildrenOfAnUnconsumedProductGetASummaryRecord) {
  auto a = p.Act("Fit");
  auto door = p.Prod("Door.1");
  auto hinge = p.Prod("Hinge.1", door);
  auto lock = p.Prod("Lock", door);
  a->CreateRelation("process_processes_product", hinge);
  auto r = Go({door}, {kProcesses}, false, true);
  EXPECT_EQ(Describe(r.records), (V{"Door.1||||---|H--L",
                                     "Hinge.1|Process/Fit|Process Processes Product|Door.1||--CL"}));
  EXPECT_EQ(Names(r.unassigned), (V{"Lock"}));  // the analysed product itself is not listed
  // All children consumed: the summary keeps its all-children-assigned flag.
  a->CreateRelation("process_processes_product", lock);
  r = Go({door}, {kProcesses}, false, true);
  ASSERT_EQ(r.records.size(), 3u);
  EXPECT_EQ(Describe(r.records[0]), "Door.1||||---|HA-L");
  EXPECT_TRUE(r.unassigned.empty());
}

TEST_P(Engine, AConsumedProductStillHasItsChildrenAnalysedWithoutTheParentCheck) {
  auto a = p.Act("Fit");
  auto door = p.Prod("Door.1");
  auto hinge = p.Prod("Hinge.1", door);
  a->CreateRelation("process_processes_product", door);
  auto r = Go({door}, {kProcesses}, false, true);
  EXPECT_EQ(Describe(r.records), (V{"Door.1|Process/Fit|Process Processes Product|||---L"}));
  EXPECT_EQ(Names(r.unassigned), (V{"Hinge.1"}));
  // With the parent check a consumed product is not analysed downwards.
  r = Go({door}, {kProcesses}, true, true);
  EXPECT_TRUE(r.unassigned.empty());
  (void)hinge;
}

TEST_P(Engine, AResourceOnlyProductLeavesTheRecordBeforeItAlone) {
  auto a = p.Act("Fit");
  auto door = p.Prod("Door.1");
  auto hinge = p.Prod("Hinge.1", door);
  auto fixture = p.Prod("Fixture");
  auto pin = p.Prod("Pin", fixture);
  a->CreateRelation("process_attaches_resource", hinge);    // consumed without a record
  a->CreateRelation("process_attaches_resource", fixture);  // likewise; its child is not
  auto r = Go({door, fixture}, {kProcesses}, false, true);
  // Door's summary stays all-assigned: Pin being unconsumed is Fixture's business.
  EXPECT_EQ(Describe(r.records), (V{"Door.1||||---|HA-L"}));
  EXPECT_EQ(Names(r.unassigned), (V{"Pin"}));
  (void)pin;
}

TEST_P(Engine, SecondRunAppendsAndSetInputsStartsAfresh) {
  auto a = p.Act("Fit");
  auto door = p.Prod("Door.1");
  auto hinge = p.Prod("Hinge.1");
  a->CreateRelation("process_processes_product", door);
  auto engine = EngineFor(door);
  ASSERT_TRUE(engine);
  engine->SetStrategy(GetParam());
  engine->SetInputs({door, hinge}, {kProcesses});
  engine->AnalyzeConsumption(false, false);
  engine->AnalyzeConsumption(false, false);
  EXPECT_EQ(engine->GetAnalysisResults().size(), 2u);
  EXPECT_EQ(Names(engine->GetUnassignedParts()), (V{"Hinge.1", "Hinge.1"}));
  // Null lists: no product, so nothing happens.
  engine->SetInputs(nullptr, nullptr);
  EXPECT_TRUE(engine->GetAnalysisResults().empty());
  engine->AnalyzeConsumption(true, true);
  EXPECT_TRUE(engine->GetAnalysisResults().empty());
  EXPECT_TRUE(engine->GetUnassignedParts().empty());
  // Products without relations: nothing can be found through relations.
  std::vector<Ref<TavBaseUnknown>> products{door};
  engine->SetInputs(&products, nullptr);
  engine->AnalyzeConsumption(false, false);
  EXPECT_TRUE(engine->GetAnalysisResults().empty());
  EXPECT_EQ(Names(engine->GetUnassignedParts()), (V{"Door.1"}));
}

TEST_P(Engine, AnAssemblyIsAnalysedButNeverLooksUpOrDown) {
  auto a = p.Act("Marry");
  auto ma = p.Ma("DoorAssy");
  auto door = p.Prod("Door.1");
  ma->AddPart(door);
  auto r = Go({ma}, {kProcesses}, true, true);
  EXPECT_EQ(Names(r.unassigned), (V{"DoorAssy"}));
  a->CreateRelation("process_processes_product", ma);
  r = Go({ma}, {kProcesses}, true, true);
  EXPECT_EQ(Describe(r.records), (V{"DoorAssy|Process/Marry|Process Processes Product|||---L"}));
}

INSTANTIATE_TEST_SUITE_P(Strategies, Engine, ::testing::Values(Strategy::Indexed, Strategy::Literal),
                         [](const auto& info) { return info.param == Strategy::Indexed ? "Indexed" : "Literal"; });

TEST(EngineQuery, ProductsResourcesAndAssembliesOfferTheEngine) {
  Plant p;
  auto door = p.Prod("Door.1");
  auto station = p.Res("Station.1");
  auto ma = p.Ma("DoorAssy");
  auto act = p.Act("Load");
  for (Ref<TavBaseUnknown> o : {Ref<TavBaseUnknown>(door), Ref<TavBaseUnknown>(station), Ref<TavBaseUnknown>(ma)}) {
    auto e = query<OrvIPartConsumptionAnalysis>(o);
    ASSERT_TRUE(e) << o->LateType();
    EXPECT_TRUE(SameObject(e, o));
    EXPECT_TRUE(o->QueryInterface("OrvIPartConsumptionAnalysis"));
  }
  EXPECT_FALSE(query<OrvIPartConsumptionAnalysis>(Ref<TavBaseUnknown>(act)));
  EXPECT_EQ(EngineFor(door)->GetDocument(), std::dynamic_pointer_cast<TavDocument>(p.doc));
}

TEST(ResultRecord, DisplayInfoAndItsFallbacks) {
  Plant p;
  auto shop = p.Act("Body Shop", nullptr, "Activity");
  auto load = p.Act("Load", shop);
  auto door = p.Prod("Door.1");
  auto ma = p.Ma("DoorAssy");
  OrvPartConsumptionAnalysisResult r;
  EXPECT_FALSE(r.HasAssignedActivity());
  r.SetDisplayInfo(door, ma, "ignored", nullptr, "Offline/Step", false, false, true, kProcesses, false, "L1");
  EXPECT_TRUE(r.HasAssignedActivity());
  EXPECT_EQ(r.GetDisplayInfo(), (std::vector<TavUnicodeString>{"Door.1", "Offline/Step", kProcesses, "DoorAssy", "L1"}));
  // Null part and parent keep what was there; with an activity the label is not taken.
  r.SetDisplayInfo(nullptr, nullptr, {}, load, "unused", true, true, false, kFirst, true, {});
  Ref<TavBaseUnknown> part, parent, activity;
  TavUnicodeString relation;
  r.GetDisplayObjects(part, parent, activity, relation);
  EXPECT_TRUE(SameObject(part, door));
  EXPECT_TRUE(SameObject(parent, ma));
  EXPECT_TRUE(SameObject(activity, load));
  EXPECT_EQ(relation, kFirst);
  EXPECT_EQ(r.GetDisplayInfo()[1], "Process/Body Shop/Load");
  EXPECT_EQ(OrvPartConsumptionAnalysisResult::NameOf(load), "");
}

TEST(ResultRecord, DeepActivityPathsAreBuiltWithoutRecursion) {
  Plant p;
  Ref<HostActivity> a = p.root;
  for (int i = 0; i < 50000; ++i) a = p.Act("S", a);
  auto path = OrvPartConsumptionAnalysisResult::ActivityPath(a).utf8();
  EXPECT_EQ(path.size(), std::string("Process").size() + 50000 * 2);
}

}  // namespace

namespace {

// An activity-like object whose father is given: resource behaviours are owned
// by a resource product rather than by an activity.
class Step final : public virtual TavISPPAbstractActivity {
public:
  Step(std::string label, Ref<TavBaseUnknown> father) : label_(std::move(label)), father_(std::move(father)) {}
  TavUnicodeString GetLabel() const override { return label_; }
  void SetLabel(const TavUnicodeString&) override {}
  TavUnicodeString GetDescription() const override { return {}; }
  void SetDescription(const TavUnicodeString&) override {}
  double GetTime() const override { return 0; }
  void SetTime(double) override {}
  TavUnicodeString GetTypeName() const override { return "ResourceBehavior"; }
  bool IsOfType(const TavUnicodeString& t) const override { return t == "ResourceBehavior" || t == "Activity"; }
  Ref<TavBaseUnknown> GetFather() const override { return father_; }

private:
  std::string label_;
  Ref<TavBaseUnknown> father_;
};

TEST(ResultRecord, BehaviourPathsStartWithTheirResource) {
  Plant p;
  auto cell = p.Res("Cell.1");
  auto robot = p.Res("Robot.1", cell);
  auto behaviour = std::make_shared<Step>("Behaviour", robot);
  auto task = std::make_shared<Step>("Task", behaviour);
  EXPECT_EQ(OrvPartConsumptionAnalysisResult::ActivityPath(task), "Cell.1/Robot.1/Behaviour/Task");
  // The resource tree's own root and list names are not shown.
  auto top = p.Res("PPRProduct");
  auto list = p.Res("Resource", top);
  auto arm = p.Res("Arm", list);
  auto own = std::make_shared<Step>("Move", std::make_shared<Step>("Behaviour", arm));
  EXPECT_EQ(OrvPartConsumptionAnalysisResult::ActivityPath(own), "Arm/Behaviour/Move");
  // A record about a behaviour's step shows that path.
  OrvPartConsumptionAnalysisResult r;
  r.SetDisplayInfo(robot, nullptr, {}, task, {}, false, false, false, kProcesses, true, {});
  EXPECT_EQ(r.GetDisplayInfo()[1], "Cell.1/Robot.1/Behaviour/Task");
}

}  // namespace
