// The comparison's XML report for a revision adding n activities and retiming n/10,
// three report attributes, the value toggle on: the cost per object at 10^5 against
// 10^3, and against a bare baseline appending the same rows from the activities'
// own fields.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "BenchMain.h"
#include "HostRuntime.h"
#include "OrvVekCommandServices.h"
#include "OrvVekCompareDlgBase.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"

namespace {

host::HostSession& Session() {
  static host::HostSession s;
  return s;
}

std::vector<Ref<host::HostActivity>> Leaves(const host::HostDocument& d) {
  std::vector<Ref<host::HostActivity>> leaves;
  for (auto& a : query<TavISPPChildManagement>(d.Process().GetRootActivities()[0])->GetAllChildren())
    if (auto h = std::dynamic_pointer_cast<host::HostActivity>(a); h && h->GetChildren().empty()) leaves.push_back(h);
  return leaves;
}

// The comparison made once, outside the timing.
class Report final : public OrvVekCompareDlgBase {
public:
  explicit Report(std::size_t n) {
    host::PlantSpec spec;
    spec.activities = n / 10 + n / 40;  // about n/10 leaves under their groups
    spec.products = 10;
    spec.resources = 10;
    spec.depth = 3;
    spec.seed = 5;
    original_ = host::GeneratePlant(spec);
    std::string error;
    modified_ = host::ParsePlant(host::SerializePlant(*original_), "revision.xml", error);
    auto leaves = Leaves(*modified_);
    for (std::size_t i = 0; i < leaves.size() && i < n / 10; ++i) leaves[i]->SetTime(leaves[i]->GetTime() + 1);
    auto root = std::dynamic_pointer_cast<host::HostActivity>(modified_->Process().GetRootActivities()[0]);
    for (std::size_t i = 0; i < n; ++i)  // some labels need escaping
      modified_->CreateActivity(root, "PhysicalActivity", "", i % 10 ? "Added " + std::to_string(i) : "Weld <" + std::to_string(i) + "> & \"seal\"");
    SetType(Activities);
    Initialize(original_->Process().GetRootActivities()[0], modified_->Process().GetRootActivities()[0], nullptr, nullptr,
               original_, modified_);
    CheckComparability();
    StartComparison({}, AllAttributes);
    SetReportAttributes({"Name", "Time", "Id"}, {});
    OnToggleValue();
  }
  std::size_t Objects() {
    const CompareResults& r = Results(Activities);
    return r.added.size() + r.removed.size() + 2 * r.codes.size();
  }
  std::string Write() {
    std::string out;
    int errors = 0;
    WriteToXML(&out, errors);
    return out;
  }
  // The least the same rows cost: each row's pieces appended, the values read from
  // the activity's own fields, no catalogue, escaping or encoding.
  std::string Bare() {
    const CompareResults& r = Results(Activities);
    std::string out;
    auto row = [&](const Ref<TavBaseUnknown>& o, const char* mark) {
      auto a = std::dynamic_pointer_cast<host::HostActivity>(o);
      if (!a) return;
      const std::string name = OrvVekCommandServices::GetDisplayName(o).utf8();
      out += "    <ObjectRow name=\"ObjectRow\">\n      <ObjectElement name=\"";
      out += name;
      out += "\"/>\n";
      if (mark) (out += "      <ObjectElement name=\"") += mark, out += "\"/>\n";
      for (const std::string& v : {name, std::to_string(a->GetTime()), a->GetId().utf8()}) {
        out += "      <ObjectElement name=\"";
        out += v;
        out += "\"> </ObjectElement>\n";
      }
      out += "    </ObjectRow>\n";
    };
    for (auto& o : r.added) row(o, nullptr);
    for (auto& o : r.removed) row(o, nullptr);
    for (std::size_t i = 0; i < r.codes.size(); ++i) row(r.modifiedOriginal[i], "Old"), row(r.modifiedModified[i], "New");
    return out;
  }

protected:
  void ShowResults() override {}

private:
  Ref<host::HostDocument> original_, modified_;
};

Report& ReportFor(std::size_t n) {
  static std::map<std::size_t, std::unique_ptr<Report>> cache;
  auto& r = cache[n];
  if (!r) r = std::make_unique<Report>(n);
  return *r;
}

void BM_WriteToXML(benchmark::State& state) {
  Session();
  Report& r = ReportFor(static_cast<std::size_t>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) bytes = r.Write().size();
  state.counters["objects"] = static_cast<double>(r.Objects());
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["ns_per_object"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(r.Objects()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteToXML)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Targets: per object at 10^5 over 10^3 at most 2; against the bare baseline at most 3.
void BM_WriteToXMLRatios(benchmark::State& state) {
  Session();
  Report& big = ReportFor(100000);
  Report& small = ReportFor(1000);
  double scaling = 0, vsBaseline = 0;
  for (auto _ : state) {
    const double report = Best([&] { return big.Write().size(); }, 3);
    scaling = (report / static_cast<double>(big.Objects())) /
              (Best([&] { return small.Write().size(); }, 30) / static_cast<double>(small.Objects()));
    vsBaseline = report / Best([&] { return big.Bare().size(); }, 3);
  }
  state.counters["per_object_1e5_vs_1e3"] = scaling;
  state.counters["report_vs_bare_baseline"] = vsBaseline;
}
BENCHMARK(BM_WriteToXMLRatios)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
MIRT_BENCHMARK_MAIN()
