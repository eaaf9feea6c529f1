// The interactive linker driven through the host's engine: refusals, the Switch
// and OrIn choice, chain and single-shot mode, failed links and the step history.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "HostEngine.h"
#include "LinkPlant.h"
#include "OrvVekLinkActServices.h"
#include "OrvVekLinkCommand.h"

using namespace host;

namespace {

// The host's link services, with Link or the precedence check made to fail
// without a reason, as a host may.
struct FailingLinks final : TavLinkServicesHost {
  TavLinkServicesHost* real = TavLinkServicesHost::Get();
  bool failLink = false, failPrecedence = false;
  HRESULT precedence = S_OK;  // answered for every pair when not S_OK
  FailingLinks() { TavLinkServicesHost::Install(this); }
  ~FailingLinks() override { TavLinkServicesHost::Install(real); }
  int CanLinkFrom(const Ref<TavBaseUnknown>& n) override { return real->CanLinkFrom(n); }
  int CanLinkTo(const Ref<TavBaseUnknown>& n) override { return real->CanLinkTo(n); }
  int AreAllreadyLinked(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) override { return real->AreAllreadyLinked(a, b); }
  int LinkViolatesHierachy(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) override {
    return real->LinkViolatesHierachy(a, b);
  }
  HRESULT IsLinkOkForPrecedence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) override {
    if (failPrecedence) return E_FAIL;
    return precedence != S_OK ? precedence : real->IsLinkOkForPrecedence(a, b);
  }
  HRESULT Link(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) override { return failLink ? E_FAIL : real->Link(a, b); }
  HRESULT InsertSwitchAfter(const Ref<TavBaseUnknown>& n, Ref<TavBaseUnknown>& m) override { return real->InsertSwitchAfter(n, m); }
  HRESULT InsertOrInBefore(const Ref<TavBaseUnknown>& n, Ref<TavBaseUnknown>& m) override { return real->InsertOrInBefore(n, m); }
  HRESULT IsMultiLevelPrecedenceCheckActivated() override { return real->IsMultiLevelPrecedenceCheckActivated(); }
  HRESULT ActiveMultiLevelPrecedenceCheck() override { return real->ActiveMultiLevelPrecedenceCheck(); }
};

struct Linker : ::testing::Test, LinkPlant {
  std::ostringstream out;
  HostEngine engine{&out};
  OrvVekLinkCommand* cmd = nullptr;

  void Start(const std::string& argument = {}) {
    std::string err;
    auto c = std::make_unique<OrvVekLinkCommand>();
    c->SetArgument(argument);
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  void Pick(const Ref<TavBaseUnknown>& o) {
    std::string err;
    ASSERT_TRUE(engine.Pick(doc->PathOf(o), &err)) << err;
  }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  std::string LastMessage() const { return engine.Messages().empty() ? "" : engine.Messages().back().name; }
  TavDlgWidget* Widget(const char* name) { return cmd->Dialog()->Find(name); }
};

TEST_F(Linker, SingleShotEndsAfterOneLinkAndChainModeGoesOnFromTheTarget) {
  auto a = Child("A"), b = Child("B"), c = Child("C"), stop = Child("Stop", "Stop");
  Start("SingleShot");
  Pick(a);
  Pick(b);
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(Linked(a, b));

  Start();
  EXPECT_TRUE(cmd->IsChainMode());
  Pick(b);
  Pick(c);
  EXPECT_EQ(State(), "GetNextActivity");
  EXPECT_EQ(cmd->Current().First, c);  // the target is the next source
  Pick(stop);                          // a Stop cannot be a source: the chain ends
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Flow(), "A>B B>C C>Stop");
  EXPECT_TRUE(engine.Messages().empty());
}

TEST_F(Linker, EachRefusedPickGetsItsMessageAndTheCommandWaits) {
  auto start = Child("Start", "Start"), a = Child("A"), b = Child("B"), stop = Child("Stop", "Stop");
  auto elsewhere = Add(root, "Elsewhere");
  a->AddControlFlowLink(b);
  Start();
  Pick(stop);
  EXPECT_EQ(LastMessage(), "WrongFirstSelection");
  EXPECT_EQ(State(), "GetInitialActivity");
  Pick(b);
  Pick(b);
  EXPECT_EQ(LastMessage(), "CannotLinkToItself");
  Pick(start);
  EXPECT_EQ(LastMessage(), "WrongNextSelection");
  Pick(a);  // b -> a closes the cycle a -> b
  EXPECT_EQ(LastMessage(), "WrongNextSelection");
  Pick(elsewhere);
  EXPECT_EQ(LastMessage(), "BadHierachy");
  EXPECT_EQ(State(), "GetNextActivity");
  EXPECT_EQ(engine.Messages().size(), 5u);
  EXPECT_EQ(Flow(), "A>B");
}

TEST_F(Linker, AnExistingLinkEitherWayIsRedundantAndAPrecedenceRefusalShowsTheHostsReason) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  a->AddControlFlowLink(b);
  a->AddPrecedence(c);  // C before A
  const char* allow = OrvVekLinkCommand::kAllowCycles;
  setenv(allow, "1", 1);  // so that b -> a reaches the redundancy test
  Start();
  Pick(b);
  Pick(a);
  EXPECT_EQ(LastMessage(), "AlreadyLinked");
  unsetenv(allow);
  cmd->Current().First = a;  // as if A had been picked first
  Pick(c);
  EXPECT_EQ(LastMessage(), "Error");
  EXPECT_NE(engine.Messages().back().text.find("contradicts"), std::string::npos) << engine.Messages().back().text;
  EXPECT_EQ(engine.Messages().back().title, "Link");
  EXPECT_FALSE(TavError::TavGetLastError(E_FAIL));  // read and cleared
}

TEST_F(Linker, APrecedenceRefusalWithoutAReasonShowsTheCode) {
  auto a = Child("A"), b = Child("B");
  FailingLinks links;
  links.failPrecedence = true;
  TavError::TavCleanLastError();
  Start();
  Pick(a);
  Pick(b);
  EXPECT_EQ(LastMessage(), "Error");
  EXPECT_NE(engine.Messages().back().text.find("0x80004005"), std::string::npos) << engine.Messages().back().text;
}

TEST_F(Linker, ACycleThroughASwitchIsRefusedUnlessCyclesAreAllowed) {
  auto a = Child("A"), sw = Child("Switch", "Switch"), b = Child("B");
  a->AddControlFlowLink(sw);
  sw->AddControlFlowLink(b);
  Start("SingleShot");
  Pick(b);
  Pick(a);
  EXPECT_EQ(LastMessage(), "WrongNextSelection");
  Pick(sw);  // the Switch itself lies on the path too
  EXPECT_EQ(LastMessage(), "WrongNextSelection");
  setenv(OrvVekLinkCommand::kAllowCycles, "", 1);
  Pick(a);
  unsetenv(OrvVekLinkCommand::kAllowCycles);
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(Linked(b, a));
}

TEST_F(Linker, ASourceWithOneSuccessorOffersASwitchThatTakesOverItsLinks) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  a->AddControlFlowLink(b);
  Start("SingleShot");
  Pick(a);
  Pick(c);
  ASSERT_EQ(State(), "GetUserChoice");
  ASSERT_TRUE(cmd->Dialog() && cmd->Dialog()->IsVisible());
  EXPECT_TRUE(Widget("OutputFrame")->IsSensitive());
  EXPECT_FALSE(Widget("InputFrame")->IsSensitive());
  EXPECT_EQ(cmd->Current().FirstNeedChoice, 1);
  EXPECT_EQ(cmd->Current().SecondNeedChoice, 0);
  static_cast<TavDlgCheckButton*>(Widget("InputCheck"))->SetState(true);  // insensitive: not taken
  static_cast<TavDlgCheckButton*>(Widget("OutputCheck"))->SetState(true);
  cmd->Dialog()->Notify(TavDlgNotification::OK);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Flow(), "A>Switch Switch>B Switch>C");
}

TEST_F(Linker, ASwitchSourceNeedsNoChoiceAndCancellingTheChoiceWaitsForAnotherTarget) {
  auto sw = Child("Switch", "Switch"), b = Child("B"), c = Child("C"), d = Child("D");
  sw->AddControlFlowLink(b);
  c->AddControlFlowLink(d);
  Start("SingleShot");
  Pick(b);
  Pick(d);  // D has one predecessor activity: the OrIn row is offered
  ASSERT_EQ(State(), "GetUserChoice");
  EXPECT_FALSE(Widget("OutputFrame")->IsSensitive());
  EXPECT_TRUE(Widget("InputFrame")->IsSensitive());
  cmd->Dialog()->Notify(TavDlgNotification::Cancel);
  EXPECT_EQ(State(), "GetNextActivity");
  EXPECT_FALSE(cmd->Dialog()->IsVisible());
  cmd->Current().First = sw;
  Pick(c);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Flow(), "Switch>B Switch>C C>D");
}

TEST_F(Linker, AFailedLinkTakesBackTheInsertedNodesAndLeavesTheModelUnchanged) {
  auto a = Child("A"), b = Child("B"), c = Child("C"), d = Child("D");
  a->AddControlFlowLink(b);
  c->AddControlFlowLink(d);
  FailingLinks links;
  links.failLink = true;
  TavError::TavCleanLastError();
  Start("SingleShot");
  Pick(a);
  Pick(d);
  ASSERT_EQ(State(), "GetUserChoice");
  static_cast<TavDlgCheckButton*>(Widget("OutputCheck"))->SetState(true);
  static_cast<TavDlgCheckButton*>(Widget("InputCheck"))->SetState(true);
  cmd->Dialog()->Notify(TavDlgNotification::OK);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Children(), "A B C D");
  EXPECT_EQ(Flow(), "A>B C>D");
  EXPECT_EQ(LastMessage(), "LinkFailed");
  EXPECT_NE(engine.Messages().back().text.find("0x80004005"), std::string::npos) << engine.Messages().back().text;
}

TEST_F(Linker, AFailedLinkToANodeThatCannotBeASourceEndsTheChain) {
  auto a = Child("A"), stop = Child("Stop", "Stop");
  FailingLinks links;
  links.failLink = true;
  Start();
  Pick(a);
  Pick(stop);
  EXPECT_EQ(LastMessage(), "FailedAndExit");
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(Flow(), "");
}

TEST_F(Linker, APositivePrecedenceAnswerRefusesInTheLinkerButPassesInTheChildLinker) {
  auto a = Child("A"), b = Child("B");
  FailingLinks links;
  links.precedence = S_FALSE;
  Start("SingleShot");
  Pick(a);
  Pick(b);
  EXPECT_EQ(LastMessage(), "Error");
  EXPECT_EQ(State(), "GetNextActivity");
  TavUnicodeString message;
  EXPECT_TRUE(OrvVekLinkActServices::LinkChildren({parent}, OrvVekLinkActServices::Serial, doc, message)) << message.utf8();
  EXPECT_EQ(Flow(), "A>B B>Stop Start>A");
}

TEST_F(Linker, TheStepHistoryUndoesAndRedoesWithinTheCommand) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  Start();
  EXPECT_FALSE(cmd->UndoStep());
  Pick(a);
  Pick(b);
  EXPECT_EQ(cmd->History().Size(), 2);
  EXPECT_EQ(cmd->Current().First, b);
  ASSERT_TRUE(cmd->UndoStep());
  EXPECT_EQ(cmd->Current().First, a);
  EXPECT_EQ(cmd->Current().Second, b);
  ASSERT_TRUE(cmd->RedoStep());
  EXPECT_FALSE(cmd->RedoStep());
  ASSERT_TRUE(cmd->UndoStep());
  EXPECT_EQ(cmd->Current().First, a);
  Pick(c);  // A has one successor now: the choice comes, taken as it is
  ASSERT_EQ(State(), "GetUserChoice");
  cmd->Dialog()->Notify(TavDlgNotification::OK);
  EXPECT_EQ(Flow(), "A>B A>C");
  // The choice started a record in place of the one that could be redone.
  EXPECT_EQ(cmd->History().Size(), 3);
  EXPECT_EQ(cmd->Current().First, c);
  EXPECT_FALSE(cmd->RedoStep());
  EXPECT_TRUE(cmd->UndoStep());
  EXPECT_TRUE(cmd->UndoStep());
  EXPECT_FALSE(cmd->UndoStep());
}

TEST(History, RecordsCopyTheCurrentOneAndFreeTheirRedoBranch) {
  LinkStep first;
  LinkHistory h(first);
  h.Current().AddASwitch = 1;
  LinkStep& second = h.AddLCS();
  EXPECT_EQ(second.AddASwitch, 1);
  EXPECT_EQ(second.Previous, &first);
  h.AddLCS();
  EXPECT_EQ(h.Size(), 3);
  ASSERT_TRUE(h.Undo());
  ASSERT_TRUE(h.Undo());
  h.AddLCS();  // the two later records go (ASan sees a leak otherwise)
  EXPECT_EQ(h.Size(), 2);
  EXPECT_FALSE(h.Redo());
}

}  // namespace
