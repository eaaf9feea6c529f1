// The general assignment command driven through the host's engine: the paths a
// session script cannot reach, and what a command leaves behind.
#include <gtest/gtest.h>

#include <sstream>

#include "AssignPlant.h"
#include "HostEngine.h"
#include "WexVekGeneralAssignmentCmd.h"

using namespace host;

namespace {

struct Command : ::testing::Test, AssignPlant {
  std::ostringstream out;
  HostEngine engine{&out};
  WexVekGeneralAssignmentCmd* cmd = nullptr;

  void Start() {
    std::string err;
    auto c = std::make_unique<WexVekGeneralAssignmentCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  bool Pick(const TavPathElement& p) {
    std::string err;
    bool ok = engine.Pick(p, &err);
    if (!ok) out << "pick refused: " << err << '\n';
    return ok;
  }
  bool Pick(const Ref<TavBaseUnknown>& o) { return Pick(doc->PathOf(o)); }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
};

TEST_F(Command, AnItemOutsideTheListsCountsOnlyInAContextOfTheActivity) {
  // The product as the process tree shows it, under an activity.
  TavPathElement underActivity({root, load, door});
  session.CurrentHostEditor()->SetActivePath(underActivity);
  Start();
  ASSERT_TRUE(Pick(underActivity));
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(State(), "NoValidItem");
  EXPECT_EQ(cmd->ItemKind(), 0);
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_NE(engine.Messages().back().text.find("neither a product nor a resource"), std::string::npos);
  std::string err;
  ASSERT_TRUE(engine.AnswerPending("OK", {}, &err)) << err;
  EXPECT_EQ(State(), "ended");

  AssignmentOf(*doc, true)->AddContext(root, body);  // a context of an ancestor, holding the door's father
  Start();
  ASSERT_TRUE(Pick(underActivity));
  ASSERT_TRUE(Pick(weld));
  EXPECT_EQ(State(), "SelectToAssign");
  EXPECT_EQ(cmd->ItemKind(), 2);
  ASSERT_TRUE(cmd->Dialog());
  cmd->Dialog()->List()->SetSelect(0, true);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(weld->IsItemAssigned(door, TavItemCode::Processes), S_OK);
}

TEST_F(Command, ABehaviourMadeForTheCommandGoesWhenNothingUsesIt) {
  Start();
  ASSERT_TRUE(Pick(door));
  ASSERT_TRUE(Pick(robot));
  EXPECT_TRUE(cmd->IsBehaviorTarget());
  EXPECT_TRUE(BehaviorOf(robot));
  EXPECT_EQ(cmd->Options(), (std::vector<TavUnicodeString>{"Input Item", "Output Item"}));
  std::string err;
  ASSERT_TRUE(engine.Cancel(&err));
  EXPECT_FALSE(BehaviorOf(robot));
  EXPECT_EQ(session.CurrentHostEditor()->GetHSO().GetSize(), 0);

  // Resource first, then an activity: the resource becomes the item.
  Start();
  ASSERT_TRUE(Pick(robot));
  EXPECT_TRUE(BehaviorOf(robot));
  ASSERT_TRUE(Pick(load));
  EXPECT_FALSE(BehaviorOf(robot));
  EXPECT_FALSE(cmd->IsBehaviorTarget());
  EXPECT_EQ(cmd->TypeNames().front(), "process_uses_resource");
  cmd->Dialog()->List()->SetSelect(1, true);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(load->IsResourceAssigned(robot, TavResourceCode::RunsOn), S_OK);

  // A failed assignment to a new behaviour takes the behaviour back too.
  Start();
  ASSERT_TRUE(Pick(robot));
  ASSERT_TRUE(Pick(door));
  cmd->Dialog()->List()->SetSelect(0, true);
  robot->SetAttribute("_IsFasteningResource", true);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_FALSE(BehaviorOf(robot));
  EXPECT_NE(engine.Messages().back().text.find("could not be created"), std::string::npos);
}

TEST_F(Command, FiltersRefuseWithTheirReasons) {
  Start();
  ASSERT_TRUE(Pick(door));
  EXPECT_FALSE(Pick(hinge));  // a product is no activity
  EXPECT_NE(out.str().find("A product is no activity"), std::string::npos);
  EXPECT_FALSE(Pick(gripper));
  EXPECT_NE(out.str().find("cannot have a behaviour"), std::string::npos);
  EXPECT_EQ(State(), "SelectActivity");
  std::string err;
  engine.Cancel(&err);
  // Activity first: another activity is no item.
  Start();
  ASSERT_TRUE(Pick(load));
  EXPECT_FALSE(Pick(weld));
  EXPECT_EQ(State(), "SelectProductResource");
  engine.Cancel(&err);
}

TEST_F(Command, HubRelationNamesAndGraph) {
  EXPECT_EQ(WexVekGeneralAssignmentCmd::MapToHubRelationName("process_first_processes_product"),
            "relationship_proc_firstprocesses_prod");
  EXPECT_EQ(WexVekGeneralAssignmentCmd::MapToHubRelationName("process_creates_product"), "relationship_proc_creates_prod");
  EXPECT_EQ(WexVekGeneralAssignmentCmd::MapToHubRelationName("process_uses_resource"), "process_uses_resource");
  WexVekGeneralAssignmentCmd c;
  EXPECT_EQ(c.GetMode(), 64);
  c.BuildGraph();
  EXPECT_EQ(c.States().size(), 10u);
  EXPECT_EQ(c.States().front()->GetName(), "SelectActivityItem");
  EXPECT_EQ(c.Transitions().size(), 20u);
  EXPECT_FALSE(c.IsHubMode());  // a local document
}
}  // namespace

namespace {
// A physical activity outside any document, for relation-service doubles.
class BareActivity : public virtual TavISPPActivity {
public:
  explicit BareActivity(TavUnicodeString label) : label_(std::move(label)) {}
  TavUnicodeString GetLabel() const override { return label_; }
  void SetLabel(const TavUnicodeString&) override {}
  TavUnicodeString GetDescription() const override { return {}; }
  void SetDescription(const TavUnicodeString&) override {}
  double GetTime() const override { return 0; }
  void SetTime(double) override {}
  TavUnicodeString GetTypeName() const override { return "PhysicalActivity"; }
  bool IsOfType(const TavUnicodeString& t) const override { return t == "PhysicalActivity" || t == "Activity"; }
  Ref<TavBaseUnknown> GetFather() const override { return nullptr; }

private:
  TavUnicodeString label_;
};

// An activity whose relation service accepts every creation but shows no relation
// object for it: the hub values then have nowhere to go.
class SilentActivity final : public BareActivity, public virtual TavIPCSRelations {
public:
  SilentActivity() : BareActivity("Silent") {}
  HRESULT GetPossibleRelations(const Ref<TavBaseUnknown>&, std::optional<std::vector<TavUnicodeString>>& types) const override {
    types = std::vector<TavUnicodeString>{"process_processes_product"};
    return S_OK;
  }
  HRESULT GetDisplayName(const TavUnicodeString&, TavUnicodeString& d) const override {
    d = "Processes";
    return S_OK;
  }
  HRESULT CreateRelation(const TavUnicodeString&, const Ref<TavBaseUnknown>&, Ref<TavISPPActivitySpecification>* c) override {
    ++created;
    if (c) c->reset();
    return S_OK;
  }
  HRESULT RemoveRelation(const TavUnicodeString&, const Ref<TavBaseUnknown>&) override {
    ++removed;
    return S_OK;
  }
  std::vector<Ref<TavISPPActivitySpecification>> GetRelations() const override { return {}; }
  int created = 0, removed = 0;
};

TEST(HubAssignment, ValuesThatCannotBeWrittenTakeTheRelationBack) {
  AssignPlant p(true);
  std::ostringstream out;
  HostEngine engine(&out);
  auto& settings = TavSettingRepository::GetRepository("OrvVekPartConsumption");
  settings.Write("AttributeCheck", true);
  OrvYorAttributeDefinition quantity;
  quantity.name = "Quantity";
  quantity.type = "KwEPTypeInteger";
  quantity.defaultValue = "1";
  HubLayoutOf(*p.doc)->Define("relationship_proc_processes_prod", quantity);
  auto silent = std::make_shared<SilentActivity>();
  std::string err;
  auto c = std::make_unique<WexVekGeneralAssignmentCmd>();
  auto* cmd = c.get();
  ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  ASSERT_TRUE(engine.Pick(TavPathElement({silent}), &err)) << err;
  ASSERT_TRUE(engine.Pick(p.doc->PathOf(p.door), &err)) << err;
  EXPECT_TRUE(cmd->IsHubMode());
  cmd->Dialog()->List()->SetSelect(0, true);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  ASSERT_EQ(engine.RunningCommand(), cmd);
  ASSERT_TRUE(cmd->AttributeDialog());
  EXPECT_EQ(cmd->AttributeDialog()->GetValueList(), (std::vector<TavUnicodeString>{"1"}));
  cmd->AttributeDialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_FALSE(engine.RunningCommand());
  EXPECT_EQ(silent->created, 1);
  EXPECT_EQ(silent->removed, 1);
  ASSERT_FALSE(engine.Messages().empty());
  EXPECT_NE(engine.Messages().back().text.find("could not be created"), std::string::npos);
  settings.Delete("AttributeCheck");
}
}  // namespace

namespace {
// Offers two relation types under one display name; the first cannot be made.
class TwinActivity final : public BareActivity, public virtual TavIPCSRelations {
public:
  TwinActivity() : BareActivity("Twin") {}
  HRESULT GetPossibleRelations(const Ref<TavBaseUnknown>&, std::optional<std::vector<TavUnicodeString>>& types) const override {
    types = std::vector<TavUnicodeString>{"first", "second", "other"};
    return S_OK;
  }
  HRESULT GetDisplayName(const TavUnicodeString& t, TavUnicodeString& d) const override {
    d = t == "other" ? "Other" : "Same";
    return S_OK;
  }
  HRESULT CreateRelation(const TavUnicodeString& t, const Ref<TavBaseUnknown>&, Ref<TavISPPActivitySpecification>*) override {
    tried.push_back(t.utf8());
    return t == "first" ? E_FAIL : S_OK;
  }
  HRESULT RemoveRelation(const TavUnicodeString&, const Ref<TavBaseUnknown>&) override { return S_OK; }
  std::vector<Ref<TavISPPActivitySpecification>> GetRelations() const override { return {}; }
  std::vector<std::string> tried;
};

TEST(Options, TheFirstPositionWithTheTextIsTriedThenTheNext) {
  AssignPlant p;
  std::ostringstream out;
  HostEngine engine(&out);
  auto twin = std::make_shared<TwinActivity>();
  std::string err;
  auto c = std::make_unique<WexVekGeneralAssignmentCmd>();
  auto* cmd = c.get();
  ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  ASSERT_TRUE(engine.Pick(p.doc->PathOf(p.door), &err)) << err;
  ASSERT_TRUE(engine.Pick(TavPathElement({twin}), &err)) << err;
  EXPECT_EQ(cmd->Options(), (std::vector<TavUnicodeString>{"Same", "Same", "Other"}));
  cmd->Dialog()->List()->SetSelect(1, true);  // the second "Same" line: matched by its text
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_FALSE(engine.RunningCommand());
  EXPECT_EQ(twin->tried, (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(engine.Messages().empty());  // the second one was made
}
}  // namespace
