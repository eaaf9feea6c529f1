// A generated process file of 10^3 to 10^5 operations (a chain of links, every
// fiftieth operation of a type the plant does not know), read from disk (the page
// cache) as the command reads it: reading and parsing it against a bare line read of
// the same file with std::getline (target: at most 3x), reading, parsing and creating
// the activities (at most 10x), and the import's cost per operation at 10^5 against
// 10^3 (at most 2x; links go through a label map). The in-memory parse is also shown
// against a memchr line scan of the bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "BenchMain.h"
#include "HostModel.h"
#include "HostRuntime.h"
#include "TavMirtParseProcessFile.h"

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

// The file on disk, written once per size.
const std::string& PathOf(std::size_t n) {
  static std::map<std::size_t, std::string> cache;
  std::string& path = cache[n];
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() / ("mirt-bench-" + std::to_string(n) + ".process")).string();
    std::ofstream(path, std::ios::binary) << FileOf(n);
  }
  return path;
}

// What any reader of the file does at least: read it line by line.
std::size_t GetlineRead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::size_t lines = 0, bytes = 0;
  while (std::getline(in, line)) {
    ++lines;
    bytes += line.size();
  }
  return lines + bytes;
}

// The bytes already in memory: find each line and copy it out.
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

std::size_t ReadAndParse(const std::string& path) {
  std::string text;
  if (!TavMirtParseProcessFile::ReadFile(path, text)) std::abort();
  return Parse(text);
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

std::size_t ReadParseAndCreate(const std::string& path) {
  std::string text;
  if (!TavMirtParseProcessFile::ReadFile(path, text)) std::abort();
  return ParseAndCreate(text);
}

void BM_ProcessFile(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::string &text = FileOf(n), &path = PathOf(n);
  double getline = 0, read = 0, scan = 0, parse = 0, create = 0;
  for (auto _ : state) {
    getline = Best([&] { return GetlineRead(path); }, 5);
    read = Best([&] { return ReadAndParse(path); }, 5);
    create = Best([&] { return ReadParseAndCreate(path); }, 3);
    scan = Best([&] { return LineRead(text); }, 5);
    parse = Best([&] { return Parse(text); }, 5);
  }
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["parse_vs_getline"] = read / getline;
  state.counters["parse_create_vs_getline"] = create / getline;
  state.counters["in_memory_parse_vs_memchr_scan"] = parse / scan;
  state.counters["us_per_op"] = create * 1e6 / static_cast<double>(n);
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
