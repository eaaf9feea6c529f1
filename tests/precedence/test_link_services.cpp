// The link service: child linking, the predecessor closure, host errors.
#include <gtest/gtest.h>

#include "LinkPlant.h"
#include "OrvVekLinkActServices.h"

using namespace host;
using Services = OrvVekLinkActServices;

namespace {

struct ChildLinks : ::testing::Test, LinkPlant {};

TEST_F(ChildLinks, SerialLinkingAddsStartAndStopAndNeverLinksFeederOrDeliver) {
  auto a = Child("A"), feeder = Child("Feed", "Feeder"), b = Child("B"), deliver = Child("Out", "Deliver");
  TavUnicodeString message;
  ASSERT_TRUE(Services::LinkChildren({parent}, Services::Serial, doc, message)) << message.utf8();
  EXPECT_EQ(Children(), "A Feed B Out Start Stop");
  EXPECT_EQ(Flow(), "A>B B>Stop Start>A");
  EXPECT_TRUE(feeder->GetNextNodes().empty() && feeder->GetPreviousNodes().empty());
  EXPECT_TRUE(deliver->GetNextNodes().empty() && deliver->GetPreviousNodes().empty());
}

TEST_F(ChildLinks, ParallelLinkingJoinsEveryChildToStartAndStopReplacingOldLinks) {
  auto start = Child("Start", "Start"), a = Child("A"), b = Child("B"), stop = Child("Stop", "Stop");
  a->AddControlFlowLink(b);
  TavUnicodeString message;
  ASSERT_TRUE(Services::LinkChildren({parent}, Services::Parallel, doc, message)) << message.utf8();
  EXPECT_EQ(Flow(), "Start>A Start>B A>Stop B>Stop");
  ASSERT_TRUE(Services::LinkChildren({parent}, Services::Remove, doc, message));
  EXPECT_EQ(Flow(), "");
}

TEST_F(ChildLinks, OneChildSeriallyAndOnlyStartStopInParallelSucceedDoingNothing) {
  auto a = Child("A"), start = Child("Start", "Start"), stop = Child("Stop", "Stop");
  TavUnicodeString message;
  EXPECT_TRUE(Services::ConnectChildrenSerially({a}, message));
  EXPECT_TRUE(Services::ConnectChildrenParallely({start, stop}, message));
  EXPECT_EQ(Flow(), "");
  EXPECT_TRUE(message.IsEmpty());
  // Parallel needs flow nodes at both ends.
  EXPECT_FALSE(Services::ConnectChildrenParallely({nullptr, a, stop}, message));
  EXPECT_TRUE(message.Contains("Start or Stop")) << message.utf8();
  // A null end is nothing to do.
  EXPECT_TRUE(Services::CheckAndLinkAct(nullptr, a, message));
}

TEST_F(ChildLinks, APairThatCannotBeLinkedLeavesTheModelAsItWas) {
  auto a = Child("A"), b = Child("B"), c = Child("C");
  a->AddControlFlowLink(c);
  a->AddPrecedence(b);  // B before A: the serial order A, B, C contradicts it
  TavUnicodeString message;
  EXPECT_FALSE(Services::LinkChildren({parent}, Services::Serial, doc, message));
  EXPECT_TRUE(message.Contains("contradicts")) << message.utf8();
  EXPECT_EQ(Children(), "A B C");  // no Start or Stop left behind
  EXPECT_EQ(Flow(), "A>C");        // the old link is still there
}

TEST_F(ChildLinks, AFailingParentTakesBackTheParentsLinkedBeforeIt) {
  auto a = Child("A"), b = Child("B");
  auto other = Add(root, "Other");
  auto x = Add(other, "X"), y = Add(other, "Y");
  x->AddPrecedence(y);  // Y before X: X -> Y cannot be
  TavUnicodeString message;
  EXPECT_FALSE(Services::LinkChildren({parent, other}, Services::Serial, doc, message));
  EXPECT_EQ(Flow(), "");
  EXPECT_EQ(Children(), "A B");
  EXPECT_TRUE(x->GetNextNodes().empty());
}

TEST_F(ChildLinks, ParentsWithoutPhysicalChildrenAreSkippedWithAMessage) {
  Child("Start", "Start");
  Child("Stop", "Stop");
  TavUnicodeString message;
  EXPECT_TRUE(Services::LinkChildren({parent}, Services::Parallel, doc, message));
  EXPECT_TRUE(message.Contains("Cell")) << message.utf8();
  EXPECT_EQ(Flow(), "");
  EXPECT_FALSE(Services::LinkChildren({}, Services::Serial, doc, message));
  EXPECT_FALSE(message.IsEmpty());
}

TEST(HostErrors, WithoutAKeptErrorTheCodeIsShownAndAKeptOneIsCleared) {
  LinkPlant p;
  TavError::TavCleanLastError();
  TavUnicodeString message;
  Services::GetNLSError(E_FAIL, message);
  EXPECT_TRUE(message.Contains("0x80004005")) << message.utf8();
  TavError::TavSetLastError(std::make_shared<TavError>(E_FAIL, "Link", "It broke", "Do it again"));
  EXPECT_EQ(Services::GetNLSError(E_FAIL, message).utf8(), "It broke. Do it again");
  EXPECT_FALSE(TavError::TavGetLastError(E_FAIL));
}

struct Predecessors : ::testing::Test, LinkPlant {};

TEST_F(Predecessors, TheWalkGoesThroughControlNodesAndListsEachNodeOnce) {
  auto a = Child("A"), sw = Child("Switch", "Switch"), b = Child("B"), c = Child("C"), orIn = Child("OrIn", "OrIn"), d = Child("D");
  a->AddControlFlowLink(sw);
  sw->AddControlFlowLink(b);
  sw->AddControlFlowLink(c);
  b->AddControlFlowLink(orIn);
  c->AddControlFlowLink(orIn);
  orIn->AddControlFlowLink(d);
  auto preds = Services::GetAllPredecessorsFromControlFlow(d);
  ASSERT_EQ(preds.size(), 5u);
  EXPECT_EQ(preds[0], orIn);
  EXPECT_EQ(preds.back(), a);
  // A cycle ends the walk: the node reaches itself and is listed once.
  d->AddControlFlowLink(a);
  preds = Services::GetAllPredecessorsFromControlFlow(d);
  EXPECT_EQ(preds.size(), 6u);
  EXPECT_TRUE(Services::GetAllPredecessorsFromControlFlow(nullptr).empty());
}

TEST_F(Predecessors, ALongChainNeedsNoRecursion) {
  constexpr int kLength = 100000;
  std::vector<Ref<HostActivity>> chain;
  chain.reserve(kLength);
  for (int i = 0; i < kLength; ++i) {
    chain.push_back(Child("N"));
    if (i) HostActivity::AppendNewFlow(chain[i - 1], chain[i]);
  }
  EXPECT_EQ(Services::GetAllPredecessorsFromControlFlow(chain.back()).size(), static_cast<std::size_t>(kLength - 1));
}

}  // namespace
