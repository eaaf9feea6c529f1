// Merging of records across picks, the unassigned list clean-up and the
// records the report is written from.
#include <gtest/gtest.h>

#include "OrvVekPartConsumptionRecords.h"
#include "PcPlant.h"

using namespace pctest;
using V = std::vector<std::string>;
using R = OrvVekPartConsumptionRecords;

namespace {

struct Records : ::testing::Test {
  Plant p;
  Ref<HostActivity> fit = p.Act("Fit");
  Ref<HostProduct> p1 = p.Prod("P1"), p2 = p.Prod("P2"), p3 = p.Prod("P3"), p4 = p.Prod("P4");
  Ref<HostProduct> c1 = p.Prod("C1", p1), c2 = p.Prod("C2", p1);

  // A consuming record: rel tells records of the same part apart.
  Ref<OrvPartConsumptionAnalysisResult> Rec(const Ref<HostProduct>& part, const std::string& rel,
                                            const Ref<HostProduct>& parent = nullptr, bool child = false) {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    r->SetDisplayInfo(part, parent, {}, fit, {}, false, false, child, rel, true, {});
    return r;
  }
  Ref<OrvPartConsumptionAnalysisResult> Summary(const Ref<HostProduct>& part, bool allAssigned) {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    r->SetDisplayInfo(part, nullptr, {}, nullptr, {}, true, allAssigned, false, {}, true, "---");
    return r;
  }
  static V Short(const OrvPartConsumptionRecords& v) {
    V out;
    for (auto& r : v) {
      auto d = r->GetDisplayInfo();
      out.push_back(d[0].utf8() + ":" + (r->HasChildren() ? std::string(r->AllChildrenAssigned() ? "sum+" : "sum-") : d[2].utf8()));
    }
    return out;
  }
};

TEST_F(Records, MergeKeepsRecordsGroupedByProduct) {
  auto e2 = Rec(p2, "a");
  OrvPartConsumptionRecords results{Rec(p1, "a"), e2};
  OrvPartConsumptionRecords incoming{
      Rec(p1, "b"),                 // after P1's last record
      Rec(c1, "c", p1, true),       // a child goes after its parent's last record...
      Rec(c2, "d", p1, true),       // ...so a later child lands before an earlier one
      Rec(p3, "a"),                 // a new product is appended
      Summary(p2, true),            // P2 has its activity records: only the verdict is kept
      Summary(p3, false),           // dropped, P3's record unchanged
      Summary(p4, false),           // new: appended
      Summary(p4, true),            // a second summary of P4 is dropped
      nullptr,
  };
  ASSERT_EQ(R::AddToAnalysisResults(&results, &incoming), S_OK);
  EXPECT_EQ(Short(results), (V{"P1:a", "P1:b", "C2:d", "C1:c", "P2:a", "P3:a", "P4:sum-"}));
  EXPECT_TRUE(e2->AllChildrenAssigned());
  EXPECT_FALSE(results[5]->AllChildrenAssigned());
}

TEST_F(Records, MergeEdgeCases) {
  OrvPartConsumptionRecords results;
  EXPECT_EQ(R::AddToAnalysisResults(&results, nullptr), S_OK);
  OrvPartConsumptionRecords incoming{Rec(p1, "a"), nullptr, Rec(p1, "b")};
  EXPECT_EQ(R::AddToAnalysisResults(nullptr, &incoming), E_FAIL);
  // Into an empty list everything is taken as it comes.
  ASSERT_EQ(R::AddToAnalysisResults(&results, &incoming), S_OK);
  EXPECT_EQ(Short(results), (V{"P1:a", "P1:b"}));
  EXPECT_EQ(R::LocateInAnalysisResult(results, p1, 0), 0);
  EXPECT_EQ(R::LocateInAnalysisResult(results, p1, 1), 1);
  EXPECT_EQ(R::LocateInAnalysisResult(results, p1, 2), -1);
  EXPECT_EQ(R::LocateInAnalysisResult(results, p1, -5), 0);
  EXPECT_EQ(R::LocateInAnalysisResult(results, p2, 0), -1);
  // Two summaries that both name an activity stay side by side.
  auto s1 = Summary(p2, false), s2 = Summary(p2, false);
  s1->SetDisplayInfo(nullptr, nullptr, {}, fit, {}, true, false, false, {}, true, "---");
  s2->SetDisplayInfo(nullptr, nullptr, {}, fit, {}, true, true, false, {}, true, "---");
  OrvPartConsumptionRecords first{s1}, second{s2};
  R::AddToAnalysisResults(&results, &first);
  R::AddToAnalysisResults(&results, &second);
  EXPECT_EQ(Short(results), (V{"P1:a", "P1:b", "P2:sum-", "P2:sum+"}));
}

TEST_F(Records, CleanUnassignedDropsRecordedPartsAndRepeats) {
  OrvPartConsumptionRecords results{Rec(p1, "a"), Summary(p2, false)};
  std::vector<Ref<TavBaseUnknown>> unassigned{p3, p1, c1, p3, p2, nullptr, c1};
  R::CleanUnassignedList(results, unassigned);
  EXPECT_EQ(Names(unassigned), (V{"P3", "C1"}));
}

TEST_F(Records, ReportRecordsAddOneMarkedRecordPerUnconsumedProduct) {
  OrvPartConsumptionRecords results{Rec(p1, "a")};
  auto list = R::GatherReportRecords(results, {p3, p4});
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], results[0]);  // the same record, not a copy
  EXPECT_EQ(Describe(list[1]), "P3||||---|----");
  EXPECT_FALSE(list[2]->HasAssignedActivity());
}

}  // namespace
