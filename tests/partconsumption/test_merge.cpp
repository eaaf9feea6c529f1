// The indexed merge of the activities-of-product command against the literal
// merge it replaces: same records in the same order, pick after pick.
#include <gtest/gtest.h>

#include <random>

#include "OrvVekPartConsumptionMerge.h"
#include "OrvVekPartConsumptionRecords.h"
#include "PcPlant.h"

namespace {

using namespace pctest;

struct Part : TavBaseUnknown {};

// Records over a small pool of parts, so that parts recur as products, as
// children of several products and in several picks.
struct RecordMaker {
  std::mt19937 rng;
  std::vector<Ref<TavBaseUnknown>> parts;
  Ref<TavBaseUnknown> activity = std::make_shared<Part>();

  RecordMaker(unsigned seed, int pool) : rng(seed) {
    for (int i = 0; i < pool; ++i) parts.push_back(std::make_shared<Part>());
  }
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  Ref<OrvPartConsumptionAnalysisResult> Make() {
    auto r = std::make_shared<OrvPartConsumptionAnalysisResult>();
    const bool child = Roll(3) == 0;
    const bool summary = !child && Roll(4) == 0;
    const bool assigned = Roll(3) != 0;
    r->SetDisplayInfo(parts[Roll(static_cast<int>(parts.size()))], child ? parts[Roll(static_cast<int>(parts.size()))] : nullptr,
                      {}, assigned ? activity : nullptr, {}, summary, Roll(2) == 0, child, "R", assigned, {});
    return r;
  }
  OrvPartConsumptionRecords Pick() {
    OrvPartConsumptionRecords pick;
    const int n = Roll(6);
    for (int i = 0; i < n; ++i) pick.push_back(Roll(15) == 0 ? nullptr : Make());
    return pick;
  }
};

// Summary flags may be changed by either merge: compare flags, not only order.
std::vector<std::string> Shape(const OrvPartConsumptionRecords& v) {
  std::vector<std::string> out;
  for (auto& r : v) out.push_back(std::to_string(reinterpret_cast<std::uintptr_t>(r.get())) + (r->AllChildrenAssigned() ? "A" : "-"));
  return out;
}

TEST(PartConsumptionMerge, KeepsTheLiteralOrderPickAfterPick) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    RecordMaker maker(seed, 3 + static_cast<int>(seed % 20));
    OrvPartConsumptionRecords literal;
    OrvVekPartConsumptionMerge merge;
    for (int pick = 0; pick < 40; ++pick) {
      const OrvPartConsumptionRecords records = maker.Pick();
      ASSERT_EQ(OrvVekPartConsumptionRecords::AddToAnalysisResults(&literal, &records), S_OK);
      ASSERT_EQ(merge.Add(&records), S_OK);
      ASSERT_EQ(Shape(merge.Records()), Shape(literal)) << "seed " << seed << " pick " << pick;
    }
    EXPECT_EQ(merge.Size(), literal.size());
  }
}

TEST(PartConsumptionMerge, StaysInOrderAcrossManyBlockSplitsInOnePlace) {
  // Children of one product all go right after it: the worst case for the blocks.
  RecordMaker maker(7, 2);
  auto product = maker.parts[0];
  auto head = std::make_shared<OrvPartConsumptionAnalysisResult>();
  head->SetDisplayInfo(product, nullptr, {}, maker.activity, {}, false, false, false, "R", true, {});
  OrvPartConsumptionRecords literal;
  OrvVekPartConsumptionMerge merge;
  OrvPartConsumptionRecords first{head};
  OrvVekPartConsumptionRecords::AddToAnalysisResults(&literal, &first);
  merge.Add(&first);
  for (int i = 0; i < 3000; ++i) {
    auto child = std::make_shared<OrvPartConsumptionAnalysisResult>();
    child->SetDisplayInfo(std::make_shared<Part>(), product, {}, nullptr, {}, false, false, true, "R", false, {});
    OrvPartConsumptionRecords one{child};
    OrvVekPartConsumptionRecords::AddToAnalysisResults(&literal, &one);
    merge.Add(&one);
  }
  EXPECT_EQ(Shape(merge.Records()), Shape(literal));
}

TEST(PartConsumptionMerge, MatchesTheLiteralMergeOnEngineRecords) {
  // Products picked one by one on a plant where parts are consumed by several
  // activities, children are analysed and a picked child recurs in its father's records.
  Plant p;
  auto body = p.Prod("Body.1");
  std::vector<Ref<HostProduct>> parts;
  for (int i = 0; i < 12; ++i) parts.push_back(p.Prod("Part." + std::to_string(i + 1), i < 6 ? body : nullptr));
  for (int i = 0; i < 9; ++i) {
    auto a = p.Act("Op." + std::to_string(i + 1));
    a->AddItem(parts[static_cast<std::size_t>(i)], TavItemCode::Processes);
    if (i % 3 == 0) a->AddItem(parts[static_cast<std::size_t>(i + 2)], TavItemCode::Processes);
  }
  std::vector<Ref<TavBaseUnknown>> order{parts[2], body, parts[7], parts[0], parts[11], parts[4]};
  OrvPartConsumptionRecords literal;
  OrvVekPartConsumptionMerge merge;
  for (auto& product : order) {
    const Outcome o = Analyze({product}, {kProcesses}, true, true);
    OrvVekPartConsumptionRecords::AddToAnalysisResults(&literal, &o.records);
    merge.Add(&o.records);
    ASSERT_EQ(Describe(merge.Records()), Describe(literal));
  }
}

}  // namespace
