// The method-test plan: which variants (access type x workers x block size) run before the full
// test, how many bytes each writes and at which test point (file and offset).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_config.h"
#include "engine/job_variant.h"

namespace velkor {

// value printed as "%02u" does: at least two digits.
std::wstring TwoDigitNumber(uint64_t value);

// The method test's own access types: Turbo, Ausgeglichen, Quorvel-Modus (16 MiB pieces),
// Zuverlässig. Order and pieces differ from the profile box on purpose.
std::vector<AccessType> MethodTestAccessTypes();

// 1, 2, ..., min(max(1, requested), MaxWorkerCount).
std::vector<uint32_t> MethodTestWorkerCounts(uint32_t requested);
std::vector<uint32_t> MethodTestWorkerCounts(uint32_t requested, uint32_t cpuCount);

// 1 MiB, blockSize and 8 MiB, ascending, without duplicates. A blockSize of 0 is left out: a job
// cannot be cut into blocks of 0 bytes.
std::vector<uint32_t> MethodTestBlockSizes(uint32_t blockSize);

// With more than one test point "velkor_p%02u.bin" (point + 1) in the drive root; otherwise the
// full test's own file, config.filePath, for point 0 (further files on FAT32 are "velkor_p%02u.bin").
std::wstring MethodTestFilePath(const TestConfig& config, uint32_t point);

// The plan for config on this machine (or on one with cpuCount logical processors). Empty when
// the budget does not hold one block of any size. Deterministic for a configuration and count. On
// FAT32 no file grows past kFat32FileLimit: a variant that would not fit its point's file goes to
// point + testPoints (then + 2 * testPoints, ...), a file of its own.
std::vector<TestVariant> BuildMethodTestPlan(const TestConfig& config);
std::vector<TestVariant> BuildMethodTestPlan(const TestConfig& config, uint32_t cpuCount);

}  // namespace velkor
