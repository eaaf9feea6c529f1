// Navigation box build and redraw cost per node from 10^2 to 10^5 nodes: both must
// stay linear (children asked once per object, old nodes found by hash on redraw).
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "TavNavigBox.h"

namespace {

class Node : public TavINavigateObjectActivity {
public:
  explicit Node(std::string text) : text_(std::move(text)) {}
  std::string LateType() const override { return "BenchNav"; }
  std::vector<TavUnicodeString> GetIdentificators() const override { return {text_}; }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override { return children_; }
  std::vector<Ref<TavBaseUnknown>> children_;
  std::string text_;
};

class Look : public TavINavigModify {
public:
  void UpdateElem(TavNavigNode& node) override { node.SetIconName("I_Activity"); }
};

// Ten libraries, each with types of ten sub-types: n nodes in all.
std::vector<Ref<TavBaseUnknown>> Libraries(int n) {
  std::vector<Ref<Node>> libs;
  int made = 0;
  for (int l = 0; l < 10; ++l, ++made) libs.push_back(std::make_shared<Node>("/lib/" + std::to_string(l) + ".act"));
  for (int t = 0; made < n; ++t) {
    auto type = std::make_shared<Node>("Type" + std::to_string(t));
    libs[static_cast<std::size_t>(t) % libs.size()]->children_.push_back(type);
    ++made;
    for (int s = 0; s < 10 && made < n; ++s, ++made) type->children_.push_back(std::make_shared<Node>("Sub" + std::to_string(s)));
  }
  return {libs.begin(), libs.end()};
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  TavExtensionRegistry::Get().Register("BenchNav_node", TavINavigModify::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>&) { return std::make_shared<Look>(); });
}

void BM_NavigBoxBuild(benchmark::State& state) {
  Register();
  auto libs = Libraries(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TavDlgNavigBox box(nullptr, "Bench");
    for (auto& l : libs) box.AddRoot(l);
    benchmark::DoNotOptimize(box.Roots().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NavigBoxBuild)->RangeMultiplier(10)->Range(100, 100000);

void BM_NavigBoxRedraw(benchmark::State& state) {
  Register();
  auto libs = Libraries(static_cast<int>(state.range(0)));
  TavDlgNavigBox box(nullptr, "Bench");
  for (auto& l : libs) box.AddRoot(l);
  box.ExpandAll();
  for (auto _ : state) box.Redraw();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NavigBoxRedraw)->RangeMultiplier(10)->Range(100, 100000);

}  // namespace

MIRT_BENCHMARK_MAIN()
