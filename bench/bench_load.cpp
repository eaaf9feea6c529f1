// Loading a plant of 10^5 activities and 10^5 products against a bare Xerces DOM
// parse of the same file: loading should take at most three times the bare parse.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <xercesc/parsers/XercesDOMParser.hpp>

#include "BenchMain.h"
#include "PlantDocument.h"
#include "PlantGenerator.h"
#include "XercesInit.h"

namespace {

struct PlantFile {
  std::string path;
  std::size_t objects = 0;
  PlantFile() {
    path = (std::filesystem::temp_directory_path() / ("mirt-bench-load-" + std::to_string(::getpid()) + ".xml")).string();
    auto doc = host::GeneratePlant({.activities = 100000, .products = 100000, .resources = 500, .depth = 6, .seed = 1});
    objects = doc->ObjectCount();
    std::string error;
    if (!host::SavePlant(*doc, path, error)) {
      std::fprintf(stderr, "bench_load: %s\n", error.c_str());
      std::exit(1);
    }
  }
  ~PlantFile() { std::filesystem::remove(path); }
};

PlantFile& File() {
  static PlantFile f;
  return f;
}

void BareParse(const std::string& path) {
  xercesc::XercesDOMParser parser;
  parser.setValidationScheme(xercesc::XercesDOMParser::Val_Never);
  parser.setDoNamespaces(false);
  parser.setLoadExternalDTD(false);
  parser.parse(path.c_str());
  benchmark::DoNotOptimize(parser.getDocument());
}

double SecondsOf(const std::function<void()>& f, int runs) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

long StatusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return -1;
}

// Peak resident memory a load adds, measured in a child so nothing else counts.
double PeakBytesPerObject(const std::string& path, std::size_t objects) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    malloc_trim(0);  // free memory the parent left resident would hide the growth
    { std::ofstream("/proc/self/clear_refs") << "5"; }  // resets VmHWM to VmRSS
    long before = StatusKb("VmRSS:");
    std::string error;
    auto doc = host::LoadPlant(path, error);
    long peak = StatusKb("VmHWM:");
    double perObject = doc ? (peak - before) * 1024.0 / static_cast<double>(objects) : -1;
    (void)!write(fds[1], &perObject, sizeof perObject);
    _exit(0);
  }
  close(fds[1]);
  double perObject = -1;
  if (read(fds[0], &perObject, sizeof perObject) != sizeof perObject) perObject = -1;
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return perObject;
}

void BM_BareXercesParse(benchmark::State& state) {
  support::EnsureXerces();
  const std::string& path = File().path;
  for (auto _ : state) BareParse(path);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void BM_LoadPlant(benchmark::State& state) {
  support::EnsureXerces();
  const std::string& path = File().path;
  for (auto _ : state) {
    std::string error;
    auto doc = host::LoadPlant(path, error);
    if (!doc) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(doc);
  }
  double bare = SecondsOf([&] { BareParse(path); }, 3);
  double load = SecondsOf([&] {
    std::string error;
    auto doc = host::LoadPlant(path, error);
  }, 3);
  state.counters["load_over_parse"] = load / bare;
  state.counters["objects"] = static_cast<double>(File().objects);
  state.counters["peak_bytes_per_object"] = PeakBytesPerObject(path, File().objects);
  {
    std::size_t before = mallinfo2().uordblks;
    std::string error;
    auto doc = host::LoadPlant(path, error);
    state.counters["kept_bytes_per_object"] =
        static_cast<double>(mallinfo2().uordblks - before) / static_cast<double>(File().objects);
  }
}

void BM_SerializePlant(benchmark::State& state) {
  std::string error;
  auto doc = host::LoadPlant(File().path, error);
  for (auto _ : state) benchmark::DoNotOptimize(host::SerializePlant(*doc));
}

BENCHMARK(BM_BareXercesParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializePlant)->Unit(benchmark::kMillisecond);

}  // namespace

MIRT_BENCHMARK_MAIN()
