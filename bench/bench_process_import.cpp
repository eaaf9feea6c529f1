// A generated process file of 10^3 to 10^5 operations (a chain of links, every
// fiftieth operation of a type the plant does not know): reading it against a bare
// line read of the same bytes (target: at most 3x), reading and creating the
// activities (at most 10x), and the import's cost per operation at 10^5 against 10^3
// (at most 2x; links go through a label map).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "BenchMain.h"
#include "HostModel.h"
#include "HostRuntime.h"
#include "TavMirtProcessImport.h"

namespace {

const std::string& FileOf(std::size_t n) {
  static std::map<std::size_t, std::string> cache;
  std::string& text = cache[n];
  if (!text.empty()) return text;
  text = "SCOPES 2.1 generated\n## a generated line\n2026-12-09 10:00\nGenerated line\nOperations\n";
  for (std::size_t i = 0; i < n; ++i) {
    const std::string k = std::to_string(i);
    text += "Operation\nOp." + k + "\n" + (i % 50 == 49 ? "LaserGauge" : "PhysicalActivity") + "\n" + std::to_string(5 + i % 40) +
            ".5\nimages/op" + k + ".png\nOperation " + k + " of the line\nResources\nRobot." + std::to_string(i % 7) +
            "\nGun.1\nEndOfResources\nComponents\n\"##Panel." + k + "\"\nEndOfComponents\nWelds\nW-" + k + "\nEndOfWelds\n";
  }
  text += "EndOfOperations\nSequence\n";
  for (std::size_t i = 0; i + 1 < n; ++i) text += "Link\nOp." + std::to_string(i) + "\nOp." + std::to_string(i + 1) + "\n";
  text += "EndOfSequence\n";
  return text;
}

// What any reader of the file does at least: find each line and copy it out.
std::size_t LineRead(const std::string& text) {
  std::string line;
  std::size_t lines = 0, bytes = 0;
  for (const char *p = text.data(), *end = p + text.size(); p < end;) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!nl) nl = end;
    line.assign(p, nl);
    bytes += line.size();
    ++lines;
    p = nl + 1;
  }
  return lines + bytes;
}

std::size_t Parse(const std::string& text) {
  TavMirtProcessFile f;
  if (TavMirtProcessFile::Parse(text, f) != TavMirtProcessFile::Status::Read) std::abort();
  return f.operations.size();
}

std::size_t ParseAndCreate(const std::string& text) {
  TavMirtProcessFile f;
  if (TavMirtProcessFile::Parse(text, f) != TavMirtProcessFile::Status::Read) std::abort();
  auto doc = host::HostDocument::Create();
  auto root = doc->CreateRootProcess("proc", "Process");
  TavMirtImportReport report;
  std::string error;
  if (!TavMirtApplyProcessFile(root, f, report, &error) || report.Count("made") + 1 != static_cast<int>(f.operations.size()))
    std::abort();
  return report.created.size();
}

void BM_ProcessFile(benchmark::State& state) {
  const std::string& text = FileOf(static_cast<std::size_t>(state.range(0)));
  double read = 0, parse = 0, create = 0;
  for (auto _ : state) {
    read = Best([&] { return LineRead(text); }, 5);
    parse = Best([&] { return Parse(text); }, 5);
    create = Best([&] { return ParseAndCreate(text); }, 3);
  }
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["parse_vs_line_read"] = parse / read;
  state.counters["parse_create_vs_line_read"] = create / read;
  state.counters["us_per_op"] = create * 1e6 / static_cast<double>(state.range(0));
}
BENCHMARK(BM_ProcessFile)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ProcessFilePerOperationRatio(benchmark::State& state) {
  const std::string &small = FileOf(1000), &big = FileOf(100000);
  double ratio = 0;
  for (auto _ : state)
    ratio = (Best([&] { return ParseAndCreate(big); }, 3) / 1e5) / (Best([&] { return ParseAndCreate(small); }, 30) / 1e3);
  state.counters["per_op_1e5_vs_1e3"] = ratio;
}
BENCHMARK(BM_ProcessFilePerOperationRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN();
