#include "engine/method_plan.h"

#include <algorithm>
#include <map>

#include "common/paths.h"
#include "engine/run_files.h"
#include "engine/worker_limits.h"

namespace velkor {
namespace {

constexpr uint32_t kOneMiB = 1048576;
constexpr uint32_t kEightMiB = 8388608;

// Spreads variants over the test points; depends only on seed, variant number, block size and
// worker count, so a configuration always gets the same placement.
uint32_t PseudoRandomPoint(uint64_t seed, uint64_t variantNumber, uint32_t blockSize,
                           uint32_t workers, uint32_t points) {
  uint64_t h = seed ^ (variantNumber * 0x9E3779B97F4A7C15ULL) ^
               (static_cast<uint64_t>(blockSize) << 13) ^ (static_cast<uint64_t>(workers) << 27);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  return static_cast<uint32_t>(h % points);
}

}  // namespace

std::wstring TwoDigitNumber(uint64_t value) {
  std::wstring digits = std::to_wstring(value);
  return digits.size() < 2 ? L"0" + digits : digits;
}

std::vector<AccessType> MethodTestAccessTypes() {
  return {
      {L"Turbo (aggressiv)", true, false, 1048576},
      {L"Ausgeglichen", true, false, 262144},
      {L"Quorvel-Modus", true, false, 16777216},
      {L"Zuverlässig", true, true, 65536},
  };
}

std::vector<uint32_t> MethodTestWorkerCounts(uint32_t requested) {
  return MethodTestWorkerCounts(requested, CpuCount());
}

std::vector<uint32_t> MethodTestWorkerCounts(uint32_t requested, uint32_t cpuCount) {
  const uint32_t most = std::min(std::max<uint32_t>(1, requested), MaxWorkerCount(cpuCount));
  std::vector<uint32_t> counts;
  for (uint32_t w = 1; w <= most; ++w) counts.push_back(w);
  return counts;
}

std::vector<uint32_t> MethodTestBlockSizes(uint32_t blockSize) {
  std::vector<uint32_t> sizes = {kOneMiB, kEightMiB};
  if (blockSize != 0) sizes.push_back(blockSize);
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  return sizes;
}

std::wstring MethodTestFilePath(const TestConfig& config, uint32_t point) {
  if (config.testPoints <= 1 && point == 0) return config.filePath;
  return JoinPath(config.driveRoot, L"velkor_p" + TwoDigitNumber(point + 1ULL) + L".bin");
}

std::vector<TestVariant> BuildMethodTestPlan(const TestConfig& config) {
  return BuildMethodTestPlan(config, CpuCount());
}

std::vector<TestVariant> BuildMethodTestPlan(const TestConfig& config, uint32_t cpuCount) {
  const std::vector<uint32_t> workers =
      MethodTestWorkerCounts(std::min(config.workerCount, SampleWorkerCount(cpuCount)), cpuCount);
  const std::vector<uint32_t> blockSizes = MethodTestBlockSizes(config.blockSize);
  const std::vector<AccessType> accessTypes =
      config.reliableOnlyBenchmark ? std::vector<AccessType>{AccessTypeForProfile(kProfileReliable)}
                                   : MethodTestAccessTypes();
  const uint64_t budget = config.benchmarkBytes > 0 ? config.benchmarkBytes : config.testSize;
  const uint32_t points = std::max<uint32_t>(1, config.testPoints);
  const bool randomPoints = config.randomTestPoints && config.testPoints >= 4;
  // Bytes already planned per test point; sparse, so an absurd testPoints costs nothing.
  std::map<uint32_t, uint64_t> pointBytes;

  const uint64_t count = static_cast<uint64_t>(workers.size()) * accessTypes.size() * blockSizes.size();
  const uint64_t perVariant = std::max<uint64_t>(kOneMiB, budget / std::max<uint64_t>(1, count));

  std::vector<TestVariant> plan;
  uint64_t used = 0;
  uint64_t variantNumber = 0;
  const uint64_t limit = TestFileLimit(config);
  for (const AccessType& access : accessTypes) {
    for (const uint32_t w : workers) {
      for (const uint32_t b : blockSizes) {
        if (used >= budget) return plan;
        const uint64_t remaining = budget - used;
        uint64_t size = RoundDownToMultiple(std::min(perVariant, remaining), b);
        if (size == 0 && remaining >= b) size = b;
        if (limit != 0) size = std::min(size, RoundDownToMultiple(limit, b));
        if (size == 0) continue;
        uint32_t point = randomPoints ? PseudoRandomPoint(config.seed, variantNumber, b, w, points)
                                      : static_cast<uint32_t>(variantNumber % points);
        // FAT32 holds no file past 4 GiB: a point whose file is full hands the variant on to a
        // file of its own, numbered after all the points. The same for any other file limit.
        while (limit != 0 && pointBytes[point] + size > limit) point += points;
        TestVariant variant;
        variant.accessType = access;
        variant.workerCount = w;
        variant.blockSize = b;
        variant.index = point;
        variant.filePath = MethodTestFilePath(config, point);
        variant.fileOffset = pointBytes[point];
        variant.byteCount = size;
        plan.push_back(std::move(variant));
        pointBytes[point] += size;
        used += size;
        ++variantNumber;
      }
    }
  }
  return plan;
}

}  // namespace velkor
