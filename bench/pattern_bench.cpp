// The pattern generators side by side: the byte loop, every path this CPU has, generating and
// comparing in one pass as the verifier does it (on every path; the plain name is the path the
// verifier uses), and memset as the ceiling. Ends with the speed of each over the byte loop per
// buffer size.
//
//   cmake --build build/linux --target velkor_bench && build/linux/bin/velkor_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/pattern.h"
#include "engine/run_config.h"

namespace {

using velkor::PatternPath;

constexpr int64_t kSizes[] = {1 << 20, 8 << 20};

void FillReference(benchmark::State& state) {
  std::vector<uint8_t> buffer(state.range(0));
  uint64_t block = 0;
  for (auto _ : state) {
    velkor::FillPatternReference(buffer.data(), buffer.size(), velkor::kTestPatternSeed, block++);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void FillOnPath(benchmark::State& state, PatternPath path) {
  std::vector<uint8_t> buffer(state.range(0));
  uint64_t block = 0;
  for (auto _ : state) {
    velkor::FillPatternOn(path, buffer.data(), buffer.size(), velkor::kTestPatternSeed, block++);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// A correct block read back: the whole block is generated and compared.
void GenerateAndCompare(benchmark::State& state, PatternPath path) {
  std::vector<uint8_t> buffer(state.range(0));
  velkor::FillPattern(buffer.data(), buffer.size(), velkor::kTestPatternSeed, 3);
  for (auto _ : state) {
    const bool same = velkor::MatchesPatternOn(path, buffer.data(), buffer.size(), velkor::kTestPatternSeed, 3);
    if (!same) state.SkipWithError("pattern mismatch");
    benchmark::DoNotOptimize(same);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Memset(benchmark::State& state) {
  std::vector<uint8_t> buffer(state.range(0));
  int value = 0;
  for (auto _ : state) {
    std::memset(buffer.data(), value++ & 0xFF, buffer.size());
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Prints as usual and keeps each run's bytes per second for the closing ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto it = run.counters.find("bytes_per_second");
      if (it != run.counters.end()) rates_[run.benchmark_name()] = it->second.value;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nfast / byte loop:\n");
    for (const int64_t size : kSizes) {
      const std::string suffix = "/" + std::to_string(size);
      const auto base = rates_.find("fill/byte_loop" + suffix);
      if (base == rates_.end() || base->second <= 0) continue;
      for (const auto& [name, rate] : rates_) {
        if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0 ||
            name == base->first) {
          continue;
        }
        std::printf("  %-40s %6.2fx\n", name.c_str(), rate / base->second);
      }
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  auto sizes = [](benchmark::internal::Benchmark* b) {
    for (const int64_t size : kSizes) b->Arg(size);
  };
  benchmark::RegisterBenchmark("fill/byte_loop", FillReference)->Apply(sizes);
  const PatternPath paths[] = {PatternPath::kPortable, PatternPath::kAvx2, PatternPath::kAvx2Gfni,
                              PatternPath::kAvx512, PatternPath::kAvx512Gfni};
  for (PatternPath path : paths) {
    if (!velkor::PatternPathSupported(path)) continue;
    const std::string name = std::string("fill/") + velkor::PatternPathName(path);
    benchmark::RegisterBenchmark(name.c_str(), FillOnPath, path)->Apply(sizes);
  }
  benchmark::RegisterBenchmark("generate_and_compare", GenerateAndCompare, velkor::SelectedPatternPath())
      ->Apply(sizes);
  for (PatternPath path : paths) {
    if (!velkor::PatternPathSupported(path) || path == velkor::SelectedPatternPath()) continue;
    const std::string name = std::string("generate_and_compare/") + velkor::PatternPathName(path);
    benchmark::RegisterBenchmark(name.c_str(), GenerateAndCompare, path)->Apply(sizes);
  }
  benchmark::RegisterBenchmark("memset", Memset)->Apply(sizes);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
