// Plants where one object has many children of one kind: user attributes, relations,
// flows, precedences, assembly parts, behaviour inputs and outputs, and a whole plant
// written on one line (every tag's column counted). Loading each must stay linear:
// the cost per item at 10^5 within twice the cost at 10^3 (items_per_second).
#include <benchmark/benchmark.h>

#include <string>

#include "BenchMain.h"
#include "PlantDocument.h"

namespace {

enum Shape { Attributes, Relations, Flows, Precedences, Parts, BehaviourInputs, BehaviourOutputs, OneLine };

std::string Products(int n) {
  std::string s = "<products>\n";
  for (int i = 0; i < n; ++i) s += "<product id=\"d" + std::to_string(i) + "\" name=\"P" + std::to_string(i) + "\"/>\n";
  return s + "</products>\n";
}

std::string Activities(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "<activity id=\"a" + std::to_string(i) + "\" name=\"A" + std::to_string(i) + "\"/>\n";
  return s;
}

std::string PlantOf(Shape shape, int n) {
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plant format=\"1\">\n";
  switch (shape) {
    case Attributes:
      s += "<process id=\"p\" name=\"P\">\n";
      for (int i = 0; i < n; ++i) s += "<attribute name=\"u" + std::to_string(i) + "\" type=\"int\" value=\"1\"/>\n";
      s += "</process>\n";
      break;
    case Relations:
      s += Products(n) + "<process id=\"p\" name=\"P\">\n";
      for (int i = 0; i < n; ++i) s += "<relation type=\"process_processes_product\" ref=\"d" + std::to_string(i) + "\"/>\n";
      s += "</process>\n";
      break;
    case Flows:
    case Precedences:
      s += "<process id=\"p\" name=\"P\">\n" + Activities(n) + "</process>\n<links>\n";
      for (int i = 0; i < n; ++i)
        s += std::string(shape == Flows ? "<flow from=\"p\" to=\"a" : "<precedence from=\"p\" to=\"a") + std::to_string(i) + "\"/>\n";
      s += "</links>\n";
      break;
    case Parts:
      s += Products(n) + "<assemblies>\n<assembly id=\"m\" name=\"M\">\n";
      for (int i = 0; i < n; ++i) s += "<part ref=\"d" + std::to_string(i) + "\"/>\n";
      s += "</assembly>\n</assemblies>\n";
      break;
    case BehaviourInputs:
    case BehaviourOutputs:
      s += Products(n) + "<resources>\n<resource id=\"r\" name=\"Robot.1\" type=\"Robot\">\n<behavior id=\"b\">\n";
      for (int i = 0; i < n; ++i) s += (shape == BehaviourInputs ? "<input ref=\"d" : "<output ref=\"d") + std::to_string(i) + "\"/>\n";
      s += "</behavior>\n</resource>\n</resources>\n";
      break;
    case OneLine: {
      s = "<plant format=\"1\">";
      std::string products = Products(n);
      std::erase(products, '\n');
      s += products;
      break;
    }
  }
  return s + "</plant>\n";
}

void BM_LoadOneObjectWithMany(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const int n = static_cast<int>(state.range(1));
  const std::string bytes = PlantOf(shape, n);
  for (auto _ : state) {
    std::string error;
    auto doc = host::ParsePlant(bytes, "shape.xml", error);
    if (!doc) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(doc);
  }
  state.SetItemsProcessed(state.iterations() * n);
  static const char* const kNames[] = {"attributes", "relations", "flows",           "precedences",
                                       "parts",      "behaviour_inputs", "behaviour_outputs", "one_line"};
  state.SetLabel(kNames[shape]);
}

BENCHMARK(BM_LoadOneObjectWithMany)
    ->ArgsProduct({{Attributes, Relations, Flows, Precedences, Parts, BehaviourInputs, BehaviourOutputs, OneLine}, {1000, 10000, 100000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
