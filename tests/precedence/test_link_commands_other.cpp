// The child linker, the precedence constraint, previous-cycle constraints and
// control-flow deletion, driven through the host's engine.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "LinkPlant.h"
#include "OrvControlFlowDeleteCmd.h"
#include "OrvVekConstraintToPrevCycleCmd.h"
#include "OrvVekCreatePrecedenceCmd.h"
#include "OrvVekLinkChildActCmd.h"

using namespace host;

namespace {

struct Commands : ::testing::Test, LinkPlant {
  std::ostringstream out;
  HostEngine engine{&out};

  template <class C>
  C* Start() {
    std::string err;
    auto c = std::make_unique<C>();
    C* raw = c.get();
    EXPECT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    return raw;
  }
  bool Pick(const Ref<TavBaseUnknown>& o) {
    std::string err;
    return engine.Pick(doc->PathOf(o), &err);
  }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
};

TEST_F(Commands, TheChildLinkerListsEachActivityOnceEvenWhenLabelsAreShared) {
  auto twin = Add(root, "Cell");  // a second parent with the same label
  Child("A");
  Child("B");
  Add(twin, "X");
  auto leaf = Add(twin, "Y");
  auto* cmd = Start<OrvVekLinkChildActCmd>();
  ASSERT_TRUE(Pick(parent));
  ASSERT_TRUE(Pick(parent));
  ASSERT_TRUE(Pick(twin));
  EXPECT_EQ(cmd->Dialog()->GetActivities().size(), 2u);
  ASSERT_TRUE(Pick(leaf));  // holds no physical activities
  EXPECT_EQ(cmd->Dialog()->GetActivities().size(), 2u);
  EXPECT_NE(TavApplicationFrame::GetStatusText().utf8().find("physical"), std::string::npos);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Flow(), "A>B B>Stop Start>A");
  EXPECT_EQ(twin->Children().size(), 4u);  // X, Y, Start, Stop
}

TEST_F(Commands, AFailedApplyShowsTheHostsReasonAndClosingItEndsTheCommand) {
  auto a = Child("A"), b = Child("B");
  a->AddPrecedence(b);
  auto* cmd = Start<OrvVekLinkChildActCmd>();
  ASSERT_TRUE(Pick(parent));
  cmd->Dialog()->ApplyButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ShowActivities");
  ASSERT_TRUE(cmd->ErrorWindow()->IsVisible());
  EXPECT_NE(cmd->ErrorWindow()->Lines()->GetLine(0).utf8().find("contradicts"), std::string::npos);
  EXPECT_EQ(Flow(), "");
  EXPECT_EQ(Children(), "A B");
  cmd->ErrorWindow()->Notify(TavDlgNotification::Close);
  EXPECT_EQ(State(), "ended");
}

TEST_F(Commands, PrecedenceRefusesAssemblyOperationsAndImpossibleOrders) {
  auto a = Child("A"), b = Child("B"), c = Child("C"), op = Child("Op", "AssemblyOperation");
  a->AddControlFlowLink(b);
  c->AddPrecedence(a);  // A before C
  EXPECT_FALSE(OrvVekCreatePrecedenceCmd::IsConstraintPossible(a, a));
  EXPECT_FALSE(OrvVekCreatePrecedenceCmd::IsConstraintPossible(a, b));  // a flow successor
  EXPECT_FALSE(OrvVekCreatePrecedenceCmd::IsConstraintPossible(c, a));  // a predecessor
  EXPECT_TRUE(OrvVekCreatePrecedenceCmd::IsConstraintPossible(b, c));
  b->AddConstraint(c);
  EXPECT_FALSE(OrvVekCreatePrecedenceCmd::IsConstraintPossible(c, b));

  Start<OrvVekCreatePrecedenceCmd>();
  ASSERT_TRUE(Pick(op));
  EXPECT_EQ(State(), "GetInitialActivity");
  ASSERT_EQ(engine.Messages().size(), 1u);
  ASSERT_TRUE(Pick(a));
  EXPECT_FALSE(Pick(b));  // refused by the filter: already linked
  ASSERT_TRUE(Pick(op));
  EXPECT_EQ(engine.Messages().size(), 2u);
  ASSERT_TRUE(Pick(c));  // A before C is already there: the error window says so
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(engine.Messages().size(), 3u);
  EXPECT_NE(engine.Messages().back().text.find("from A to C"), std::string::npos) << engine.Messages().back().text;
}

TEST_F(Commands, PreviousCycleConstraintsAreEditedAndWrittenOnOK) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  a->SetPrevCycleConstraints({b});
  auto* cmd = Start<OrvVekConstraintToPrevCycleCmd>();
  ASSERT_TRUE(Pick(a));
  ASSERT_EQ(State(), "ShowDialog");
  EXPECT_EQ(cmd->Dialog()->GetList().size(), 1u);
  ASSERT_TRUE(Pick(b));  // already listed
  ASSERT_TRUE(Pick(a));  // the activity itself
  ASSERT_TRUE(Pick(c));
  EXPECT_EQ(cmd->Dialog()->GetList().size(), 2u);
  cmd->Dialog()->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(a->GetPrevCycleConstraints().size(), 2u);
}

TEST_F(Commands, DeletingFlowsSkipsLinksThatAreGone) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  a->AddControlFlowLink(b);
  b->AddControlFlowLink(c);
  auto ab = a->GetControlFlows().front(), bc = b->GetControlFlows().front();
  a->RemoveControlFlowLink(b);
  EXPECT_EQ(OrvControlFlowDeleteCmd::DeleteFlows({ab, bc, nullptr}), 1);
  EXPECT_EQ(Flow(), "");
}

}  // namespace
