// The time solver against hand-computed schedules, its refusals (a cycle, a negative
// duration) that clear the tree's times, behaviours solved together, and plants
// deeper than any stack.
#include <cmath>

#include "TimingTestSupport.h"

using namespace timingtest;

namespace {

// begin, end, latest begin, critical
void ExpectTimes(const Ref<HostActivity>& a, double begin, double end, double latestBegin, bool critical) {
  auto t = Timed(a);
  ASSERT_TRUE(t && t->IsTimed()) << a->Label().utf8();
  EXPECT_DOUBLE_EQ(t->GetBeginTime(), begin) << a->Label().utf8();
  EXPECT_DOUBLE_EQ(t->GetEndTime(), end) << a->Label().utf8();
  EXPECT_DOUBLE_EQ(t->GetLatestBeginTime(), latestBegin) << a->Label().utf8();
  EXPECT_DOUBLE_EQ(t->GetSlack(), latestBegin - begin) << a->Label().utf8();
  EXPECT_DOUBLE_EQ(t->GetDuration(), end - begin) << a->Label().utf8();
  EXPECT_EQ(t->IsCritical(), critical) << a->Label().utf8();
}

TEST(TimeSolver, SerialParallelAndNesting) {
  Plant p;
  // Serial A -> B -> C inside a group; a parallel branch D; the group's own time is
  // ignored since it has children.
  auto g = p.Add(nullptr, "Group", 100, "Activity");
  auto a = p.Add(g, "A", 2), b = p.Add(g, "B", 3), c = p.Add(g, "C", 4);
  Plant::Flow(a, b);
  Plant::Flow(b, c);
  auto d = p.Add(nullptr, "D", 5);
  // Nesting: X inside Q inside P, Y beside Q, and Z after P.
  auto pp = p.Add(nullptr, "P", 0, "Activity");
  auto q = p.Add(pp, "Q", 0, "Activity");
  auto x = p.Add(q, "X", 3), y = p.Add(pp, "Y", 1);
  auto z = p.Add(nullptr, "Z", 2);
  Plant::Flow(pp, z);
  ASSERT_EQ(Solve(p.root), S_OK);
  ExpectTimes(p.root, 0, 9, 0, true);
  ExpectTimes(g, 0, 9, 0, true);
  ExpectTimes(a, 0, 2, 0, true);
  ExpectTimes(b, 2, 5, 2, true);
  ExpectTimes(c, 5, 9, 5, true);
  ExpectTimes(d, 0, 5, 4, false);
  ExpectTimes(pp, 0, 3, 4, false);
  ExpectTimes(q, 0, 3, 4, false);
  ExpectTimes(x, 0, 3, 4, false);
  ExpectTimes(y, 0, 1, 6, false);
  ExpectTimes(z, 3, 5, 7, false);
  EXPECT_DOUBLE_EQ(Timed(z)->GetLatestEndTime(), 9);
}

TEST(TimeSolver, PrecedenceAcrossBranches) {
  Plant p;
  auto g1 = p.Add(nullptr, "G1", 0, "Activity"), g2 = p.Add(nullptr, "G2", 0, "Activity");
  auto a = p.Add(g1, "A", 2), b = p.Add(g1, "B", 2), c = p.Add(g2, "C", 1), d = p.Add(g2, "D", 1);
  Plant::Flow(a, b);
  Plant::Flow(c, d);
  Plant::Precedence(b, d);  // D waits for B in the other branch
  ASSERT_EQ(Solve(p.root), S_OK);
  ExpectTimes(b, 2, 4, 2, true);
  ExpectTimes(d, 4, 5, 4, true);
  ExpectTimes(c, 0, 1, 3, false);
  // G2 starts at 0 (nothing holds it) but its first child can wait: its start has slack.
  ExpectTimes(g2, 0, 5, 3, false);
  ExpectTimes(g1, 0, 4, 0, true);
  // Previous-cycle constraints time nothing.
  ASSERT_EQ(a->SetPrevCycleConstraints({d}), S_OK);
  ASSERT_EQ(Solve(p.root), S_OK);
  ExpectTimes(a, 0, 2, 0, true);
}

TEST(TimeSolver, AlternativesAndMilestones) {
  Plant p;
  auto start = p.Add(nullptr, "Start", 0, "Start");
  auto sw = p.Add(nullptr, "Sw", 7, "Switch");  // a control node's time is ignored
  auto a = p.Add(nullptr, "A", 4), b = p.Add(nullptr, "B", 1);
  auto orIn = p.Add(nullptr, "Or", 0, "OrIn");
  auto andOut = p.Add(nullptr, "AndOut", 0, "AndOut");
  auto c = p.Add(nullptr, "C", 2), d = p.Add(nullptr, "D", 3);
  auto andIn = p.Add(nullptr, "AndIn", 0, "AndIn");
  auto done = p.Add(nullptr, "Done", 0);  // a milestone
  auto e = p.Add(nullptr, "E", 1);
  for (auto [f, t] : std::vector<std::pair<Ref<HostActivity>, Ref<HostActivity>>>{
           {start, sw}, {sw, a}, {sw, b}, {a, orIn}, {b, orIn}, {orIn, andOut}, {andOut, c}, {andOut, d},
           {c, andIn}, {d, andIn}, {andIn, done}, {done, e}})
    Plant::Flow(f, t);
  ASSERT_EQ(Solve(p.root), S_OK);
  ExpectTimes(sw, 0, 0, 0, true);
  ExpectTimes(a, 0, 4, 0, true);   // the longest alternative
  ExpectTimes(b, 0, 1, 3, false);  // the shorter one has the difference as slack
  ExpectTimes(orIn, 4, 4, 4, true);
  ExpectTimes(c, 4, 6, 5, false);
  ExpectTimes(d, 4, 7, 4, true);
  ExpectTimes(andIn, 7, 7, 7, true);  // waits for both
  ExpectTimes(done, 7, 7, 7, true);
  ExpectTimes(e, 7, 8, 7, true);
  ExpectTimes(p.root, 0, 8, 0, true);
}

TEST(TimeSolver, CycleIsNamedAndClearsTheTimes) {
  Plant p;
  auto a = p.Add(nullptr, "Load", 1), b = p.Add(nullptr, "Weld", 2), c = p.Add(nullptr, "Unload", 3);
  auto other = p.doc->CreateRootProcess("q", "Other");
  auto o = p.Add(other, "Fine", 1);
  Plant::Flow(a, b);
  Plant::Flow(b, c);
  ASSERT_EQ(Solve(p.root), S_OK);
  ASSERT_EQ(Solve(other), S_OK);
  ASSERT_TRUE(Timed(b)->IsTimed());
  // A change after a solve leaves the times as they were until the next solve.
  b->SetTime(5);
  EXPECT_DOUBLE_EQ(Timed(b)->GetEndTime(), 3);

  Plant::Precedence(c, a);  // Unload before Load: a cycle
  std::string error;
  ASSERT_EQ(Solve(b, &error), E_FAIL);
  EXPECT_EQ(error, "a cycle through Process/Load, Process/Weld, Process/Unload "
                   "(control flow, precedences and parents spanning their children)");
  for (auto& x : {Ref<HostActivity>(p.root), a, b, c}) {
    EXPECT_FALSE(Timed(x)->IsTimed()) << x->Label().utf8();
    EXPECT_EQ(Timed(x)->GetEndTime(), 0);
  }
  EXPECT_TRUE(Timed(o)->IsTimed());  // another process keeps its times

  // A parent that waits for its own child is a cycle through the span.
  ASSERT_EQ(a->RemovePrecedence(c), S_OK);
  auto g = p.Add(nullptr, "Group", 0, "Activity");
  auto inner = p.Add(g, "Inner", 1);
  Plant::Flow(inner, g);
  ASSERT_EQ(Solve(p.root, &error), E_FAIL);
  EXPECT_NE(error.find("Process/Group, Process/Group/Inner"), std::string::npos) << error;

  ASSERT_EQ(inner->RemoveControlFlowLink(g), S_OK);
  ASSERT_EQ(Solve(p.root, &error), S_OK) << error;
  ExpectTimes(c, 6, 9, 6, true);
}

TEST(TimeSolver, NegativeDurationsAreNamed) {
  Plant p;
  std::vector<Ref<HostActivity>> bad;
  for (int i = 0; i < 12; ++i) bad.push_back(p.Add(nullptr, "Bad" + std::to_string(i), -1 - i));
  auto fine = p.Add(nullptr, "Fine", 2);
  std::string error;
  ASSERT_EQ(Solve(fine, &error), E_FAIL);
  EXPECT_EQ(error.rfind("negative durations: Process/Bad0 (-1), Process/Bad1 (-2), ", 0), 0u) << error;
  EXPECT_NE(error.find("Process/Bad9 (-10), ..."), std::string::npos) << error;
  EXPECT_EQ(error.find("Bad10"), std::string::npos) << error;
  EXPECT_FALSE(Timed(fine)->IsTimed());
  for (auto& b : bad) b->SetTime(NAN);
  ASSERT_EQ(Solve(fine, &error), E_FAIL);
  for (auto& b : bad) b->SetTime(1);
  ASSERT_EQ(Solve(fine, &error), S_OK) << error;
  // A parent's own negative time is ignored: its children time it.
  auto g = p.Add(nullptr, "G", -5, "Activity");
  p.Add(g, "Inner", 1);
  EXPECT_EQ(Solve(fine), S_OK);
}

TEST(TimeSolver, BehavioursAreSolvedTogether) {
  Plant p;
  auto station = p.doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
  auto robot1 = p.doc->CreateProduct(station, "r1", "Robot.1", {}, true);
  auto robot2 = p.doc->CreateProduct(station, "r2", "Robot.2", {}, true);
  auto* assignment = host::AssignmentOf(*p.doc, true);
  auto b1 = assignment->CreateBehavior(robot1, "", "B1");
  auto b2 = assignment->CreateBehavior(robot2, "", "B2");
  auto pick = p.doc->CreateActivity(b1, "PhysicalActivity", "", "Pick");
  pick->SetTime(2);
  auto place = p.doc->CreateActivity(b2, "PhysicalActivity", "", "Place");
  place->SetTime(5);
  auto ptask = p.Add(nullptr, "Task", 1);
  // Solving one behaviour's activity solves both, from 0 with one span.
  ASSERT_EQ(Solve(pick), S_OK);
  ExpectTimes(b1, 0, 2, 3, false);
  ExpectTimes(pick, 0, 2, 3, false);
  ExpectTimes(place, 0, 5, 0, true);
  EXPECT_FALSE(Timed(ptask)->IsTimed());  // the process is another tree
  // A product is no tree to time.
  std::string error;
  EXPECT_EQ(Solve(robot1, &error), E_FAIL);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Timed(robot1));
}

TEST(TimeSolver, DeepPlantsSolveWithoutRecursion) {
  Plant p;
  constexpr int kDepth = 100000;
  // A nesting 10^5 deep and a flow chain of 10^5 siblings.
  Ref<HostActivity> father = p.Add(nullptr, "Nest", 0, "Activity"), leaf;
  for (int i = 0; i < kDepth; ++i) father = p.Add(father, "N", 0, "Activity");
  leaf = p.Add(father, "Leaf", 1.5);
  auto chain = p.Add(nullptr, "Chain", 0, "Activity");
  Ref<HostActivity> prev, last;
  for (int i = 0; i < kDepth; ++i) {
    last = p.Add(chain, "C", 1);
    if (prev) Plant::Flow(prev, last);
    prev = last;
  }
  std::string error;
  ASSERT_EQ(Solve(p.root, &error), S_OK) << error;
  ExpectTimes(leaf, 0, 1.5, kDepth - 1.5, false);
  ExpectTimes(last, kDepth - 1, kDepth, kDepth - 1, true);
  // A cycle at the end of the chain is still found.
  Plant::Flow(last, chain->Children().front());
  ASSERT_EQ(Solve(p.root, &error), E_FAIL);
  EXPECT_NE(error.find("Process/Chain/C, Process/Chain/C"), std::string::npos);
  EXPECT_NE(error.find(", ..."), std::string::npos);
  EXPECT_FALSE(Timed(leaf)->IsTimed());
}

}  // namespace
