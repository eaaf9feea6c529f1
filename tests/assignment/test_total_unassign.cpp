// The total unassign command through the host's engine: what each option removes
// from a branch, when the report box appears, the refused assembly operation, deep
// branches and the command's one undo step.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostRuntime.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "TavResources.h"
#include "WexVekTotalUnassignCmd.h"

using namespace host;

namespace {

struct Unassign : ::testing::Test {
  std::ostringstream out;
  HostSession session;
  HostEngine engine{&out};
  Ref<HostDocument> doc = HostDocument::Create(false);
  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  Ref<HostProduct> body = doc->CreateProduct(nullptr, "body", "Body.1");
  Ref<HostProduct> door = doc->CreateProduct(body, "door", "Door.1");
  Ref<HostProduct> hinge = doc->CreateProduct(body, "hinge", "Hinge.1");
  Ref<HostProduct> station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
  Ref<HostProduct> robot = doc->CreateProduct(station, "rb", "Robot.1", {}, true);
  Ref<HostProduct> gripper = doc->CreateProduct(station, "gr", "Gripper.1", {}, true);
  WexVekTotalUnassignCmd* cmd = nullptr;
  std::string err;

  Unassign() { session.OpenDocument(doc); }
  Ref<HostActivity> Add(const Ref<HostActivity>& father, const char* label, const char* type = "PhysicalActivity") {
    return doc->CreateActivity(father, type, "", label);
  }
  void Start() {
    auto c = std::make_unique<WexVekTotalUnassignCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  bool Pick(const Ref<HostActivity>& a) { return engine.Pick(doc->PathOf(a), &err); }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  static std::size_t Relations(const Ref<HostActivity>& a) { return a->Relations().size(); }
};

// The counters of the command the engine ended: read through a subclass that keeps them.
class KeepingCmd : public WexVekTotalUnassignCmd {
public:
  explicit KeepingCmd(std::pair<int, int>& into) : into_(into) {}
  bool OnOK() override {
    WexVekTotalUnassignCmd::OnOK();
    into_ = {RemovedProducts(), RemovedResources()};
    return true;
  }

private:
  std::pair<int, int>& into_;
};

struct Counted : Unassign {
  std::pair<int, int> counts{-1, -1};
  std::pair<int, int> Run(const Ref<HostActivity>& a, int option) {
    auto c = std::make_unique<KeepingCmd>(counts);
    cmd = c.get();
    EXPECT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    EXPECT_TRUE(Pick(a)) << err;
    EXPECT_EQ(State(), "SelectToAssign");
    auto* dlg = cmd->Dialog();
    if (option < 3) dlg->Radio(option)->SetState(true, true);
    else dlg->Radio(0)->SetState(false, true);
    dlg->Find("OK")->Notify(TavDlgNotification::Activate);
    EXPECT_EQ(State(), "ended");
    return counts;
  }
  std::size_t Boxes() const { return engine.Messages().size(); }
};

TEST_F(Counted, AChildsRelationsGoWithoutABoxWhenTheActivityHasNone) {
  auto parent = Add(root, "Parent"), child = Add(parent, "Child"), grandchild = Add(child, "Grandchild");
  child->AddItem(door, TavItemCode::Processes);
  grandchild->AddOutput(hinge);
  child->AddResource(robot, TavResourceCode::Uses);
  EXPECT_EQ(Run(parent, 0), std::make_pair(2, 0));
  EXPECT_EQ(Boxes(), 0u);
  EXPECT_EQ(Relations(child), 1u);  // the resource stays
  EXPECT_EQ(Relations(grandchild), 0u);
}

TEST_F(Counted, OptionsOnABranchWithProductsOnly) {
  auto a = Add(root, "A"), b = Add(a, "B");
  a->AddItem(door, TavItemCode::Processes);
  b->AddItem(hinge, TavItemCode::Removes);
  // Resources only: nothing removed, the resource box.
  EXPECT_EQ(Run(a, 1), std::make_pair(0, 0));
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "CreateResource");
  EXPECT_EQ(engine.Messages()[0].text, WexVekTotalUnassignCmd::ReportText(2).utf8());
  EXPECT_EQ(Relations(a) + Relations(b), 2u);
  // Both: the products go, and no box.
  EXPECT_EQ(Run(a, 2), std::make_pair(2, 0));
  EXPECT_EQ(Boxes(), 1u);
  EXPECT_EQ(Relations(a) + Relations(b), 0u);
  // Again, products, then both: nothing left, the boxes of codes 1 and 3.
  Run(a, 0);
  Run(a, 2);
  ASSERT_EQ(Boxes(), 3u);
  EXPECT_EQ(engine.Messages()[1].text, WexVekTotalUnassignCmd::ReportText(1).utf8());
  EXPECT_EQ(engine.Messages()[2].text, WexVekTotalUnassignCmd::ReportText(3).utf8());
  // No option checked: nothing is searched, and no box.
  b->AddItem(hinge, TavItemCode::Processes);
  EXPECT_EQ(Run(a, 3), std::make_pair(0, 0));
  EXPECT_EQ(Boxes(), 3u);
  EXPECT_EQ(Relations(b), 1u);
}

TEST_F(Counted, ProductsLeaveAttachedAndDetachedItemsToTheResourceSide) {
  auto a = Add(root, "Pick");
  a->AddItem(gripper, TavItemCode::Attaches);
  a->AddItem(gripper, TavItemCode::Detaches);
  a->AddItem(door, TavItemCode::Attaches);  // a product held only as attached
  a->AddItem(hinge, TavItemCode::Processes);
  a->AddItem(hinge, TavItemCode::Detaches);  // held under a product code and a resource code
  a->AddResource(robot, TavResourceCode::Uses);
  EXPECT_EQ(Run(a, 0), std::make_pair(1, 0));
  EXPECT_EQ(a->IsItemAssigned(gripper, TavItemCode::Attaches | TavItemCode::Detaches), S_OK);
  EXPECT_EQ(a->IsItemAssigned(door, TavItemCode::Attaches), S_OK);
  EXPECT_EQ(a->IsItemAssigned(hinge, TavItemCode::Processes), S_FALSE);
  EXPECT_EQ(a->IsItemAssigned(hinge, TavItemCode::Detaches), S_OK);
  // The resource side: the used robot, then each item of code 8 (gripper, door) and
  // of code 16 (gripper, hinge): an item under both counts on each.
  EXPECT_EQ(Run(a, 1), std::make_pair(0, 5));
  EXPECT_EQ(Relations(a), 0u);
}

TEST_F(Counted, AnItemUnderSeveralCodesLosesThemAllAndCountsOnce) {
  auto a = Add(root, "A");
  for (unsigned code : {TavItemCode::Processes, TavItemCode::FirstProcesses, TavItemCode::Removes})
    ASSERT_EQ(a->AddItem(door, code), S_OK);
  a->AddOutput(door);  // an output counts on its own
  a->AddResource(robot, TavResourceCode::Uses);
  a->AddResource(robot, TavResourceCode::RunsOn);
  EXPECT_EQ(Run(a, 2), std::make_pair(2, 1));
  EXPECT_EQ(Relations(a), 0u);
  EXPECT_TRUE(a->GetOutputs().empty());
}

TEST_F(Counted, AnAssemblyOperationIsRefusedAndAskedForAgain) {
  auto op = Add(root, "Hinges", "AssemblyOperation"), child = Add(op, "Child");
  op->AddItem(door, TavItemCode::Processes);
  child->AddItem(hinge, TavItemCode::Processes);
  auto c = std::make_unique<KeepingCmd>(counts);
  cmd = c.get();
  ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  ASSERT_TRUE(Pick(op)) << err;
  EXPECT_EQ(State(), "SelectActivity");
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_EQ(engine.Messages()[0].name, "WexVekTotalUnassignCmdErrorWnd");
  EXPECT_EQ(engine.Messages()[0].title, "Error");
  EXPECT_FALSE(cmd->Dialog()->IsVisible());
  // Its child is no assembly operation: taken, and the walk stays below it.
  ASSERT_TRUE(Pick(child)) << err;
  EXPECT_EQ(State(), "SelectToAssign");
  EXPECT_TRUE(cmd->Dialog()->IsVisible());
  cmd->Dialog()->Find("OK")->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(counts, std::make_pair(1, 0));
  EXPECT_EQ(Relations(op), 1u);
}

TEST_F(Counted, CancelAndCloseRemoveNothing) {
  auto a = Add(root, "A");
  a->AddItem(door, TavItemCode::Processes);
  for (const char* how : {"cancel-button", "close", "cancel"}) {
    Start();
    ASSERT_TRUE(Pick(a)) << err;
    if (std::string(how) == "cancel-button") cmd->Dialog()->Find("Cancel")->Notify(TavDlgNotification::Activate);
    else if (std::string(how) == "close") cmd->Dialog()->Notify(TavDlgNotification::Close);
    else ASSERT_TRUE(engine.Cancel(&err)) << err;
    EXPECT_EQ(State(), "ended") << how;
    EXPECT_EQ(Relations(a), 1u) << how;
  }
  EXPECT_EQ(doc->Journal().Size(), 0u);
}

TEST_F(Counted, AChainTenThousandDeepIsWalkedWithoutRecursion) {
  // Both sides: each activity also sends its notification, which must not cost a walk
  // up the chain either.
  std::vector<Ref<HostActivity>> chain{Add(root, "L")};
  for (int i = 1; i < 10000; ++i) chain.push_back(Add(chain.back(), "L"));
  for (std::size_t i = 0; i < chain.size(); i += 2) chain[i]->AddResource(robot, TavResourceCode::Uses);
  chain.back()->AddItem(gripper, TavItemCode::Detaches);
  WexVekTotalUnassignCmd direct;
  direct.SearchAssigments(chain.front(), 2);
  EXPECT_EQ(direct.RemovedProducts(), 0);
  EXPECT_EQ(direct.RemovedResources(), 5001);
  EXPECT_EQ(Relations(chain.back()), 0u);
  EXPECT_EQ(Relations(chain.front()), 0u);
}

TEST_F(Counted, ChildrenAreVisitedAfterTheirActivityInChildOrder) {
  // Each activity sends its notification once its products are gone: the order of
  // the notifications is the order of the walk.
  static std::vector<std::string>* seen = nullptr;
  std::vector<std::string> order;
  seen = &order;
  class Ordered : public TavISPPActivityModificationEvents {
  public:
    explicit Ordered(std::string label) : label_(std::move(label)) {}
    void SendModification(int) override { seen->push_back(label_); }
    void SendModification(const TavUnicodeString&) override { seen->push_back(label_); }

  private:
    std::string label_;
  };
  // A type of its own carries the probe, so the host's notifications of other types stay as they are.
  host::RegisterType("UnassignProbe", "PhysicalActivity");
  TavExtensionRegistry::Get().Register("UnassignProbe", TavISPPActivityModificationEvents::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto a = query<TavISPPActivity>(o);
                                         return std::make_shared<Ordered>(a ? a->GetLabel().utf8() : "?");
                                       });
  const char* probe = "UnassignProbe";
  auto a = Add(root, "A", probe), a1 = Add(a, "A1", probe), a11 = Add(a1, "A11", probe), a2 = Add(a, "A2", probe);
  WexVekTotalUnassignCmd direct;
  direct.SearchAssigments(a, 0);
  direct.SearchAssigments(a, 1);  // the resource side sends none
  seen = nullptr;
  EXPECT_EQ(order, (std::vector<std::string>{"A", "A1", "A11", "A2"}));
}

TEST_F(Counted, TheWholeCommandUndoesInOneStep) {
  auto a = Add(root, "A"), b = Add(a, "B");
  a->AddItem(door, TavItemCode::Processes);
  a->AddResource(robot, TavResourceCode::Uses);
  b->AddItem(gripper, TavItemCode::Attaches);
  b->AddOutput(hinge);
  const std::string before = SerializePlant(*doc);
  EXPECT_EQ(Run(a, 2), std::make_pair(2, 2));
  const std::string after = SerializePlant(*doc);
  ASSERT_NE(before, after);
  ASSERT_EQ(doc->Journal().Size(), 1u);
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  ASSERT_TRUE(engine.Redo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
}

}  // namespace
