#include "engine/verify_only_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/diag_log.h"
#include "common/format.h"
#include "common/paths.h"
#include "engine/pattern.h"
#include "engine/run_files.h"
#include "engine/worker_limits.h"
#include "platform/files.h"

namespace velkor {
namespace {

constexpr uint32_t kProbeBytes = 64;
constexpr uint64_t kKiB = 1024;

std::string PatternStart(uint64_t seed, uint64_t blockIndex) {
  std::string bytes(kProbeBytes, '\0');
  FillPattern(bytes.data(), kProbeBytes, seed, blockIndex);
  return bytes;
}

bool ReadAt(const platform::FileHandle& file, uint64_t offset, char* buffer, uint32_t length) {
  uint32_t done = 0;
  while (done < length) {
    uint32_t got = 0;
    if (!platform::ReadFileAt(file, offset + done, buffer + done, length - done, &got) || got == 0) return false;
    done += got;
  }
  return true;
}

bool StartsAt(const platform::FileHandle& file, uint64_t offset, const std::string& expected) {
  char bytes[kProbeBytes];
  return ReadAt(file, offset, bytes, kProbeBytes) && std::memcmp(bytes, expected.data(), kProbeBytes) == 0;
}

std::wstring FirstTestFile(const std::wstring& driveRoot) {
  const std::wstring single = TestFilePath(driveRoot);
  if (platform::FileExists(single)) return single;
  return JoinPath(driveRoot, L"velkor_full_01.bin");
}

}  // namespace

uint32_t DetectWrittenBlockSize(const std::wstring& path, uint64_t seed, uint32_t hint) {
  platform::FileHandle file = platform::OpenFileForRead(path);
  if (!file.valid()) return 0;
  uint64_t size = 0;
  const std::string second = PatternStart(seed, 1);
  uint32_t found = 0;
  if (platform::GetFileSizeByHandle(file, &size) && StartsAt(file, 0, PatternStart(seed, 0))) {
    // The settings' size and the powers of two first: one small read each.
    std::vector<uint64_t> likely = {hint};
    for (uint64_t b = 4 * kKiB; b <= UINT32_MAX / 2 + 1; b *= 2) likely.push_back(b);
    for (uint64_t b : likely) {
      if (b >= 4 * kKiB && b % kKiB == 0 && b + kProbeBytes <= size && StartsAt(file, b, second)) {
        found = static_cast<uint32_t>(b);
        break;
      }
    }
    // Then every KiB, read in one sweep.
    const uint64_t end = std::min<uint64_t>(size, kBlockSearchLimit + kProbeBytes);
    std::vector<char> window(1048576 + kProbeBytes);
    for (uint64_t base = 4 * kKiB; found == 0 && base + kProbeBytes <= end; base += 1048576) {
      const uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(window.size(), end - base));
      if (!ReadAt(file, base, window.data(), length)) break;
      for (uint64_t at = 0; at + kProbeBytes <= length && at < 1048576; at += kKiB) {
        if (std::memcmp(window.data() + at, second.data(), kProbeBytes) == 0) {
          found = static_cast<uint32_t>(base + at);
          break;
        }
      }
    }
  }
  platform::CloseFile(file);
  return found;
}

void MatchVerifyOnlyToFiles(TestConfig& config) {
  const std::wstring first = FirstTestFile(config.driveRoot);
  const uint32_t block = DetectWrittenBlockSize(first, config.seed, config.blockSize);
  if (block != 0 && block != config.blockSize) {
    AppendDiagLog(L"Hinweis: Die Testdateien wurden mit einer Blockgröße von " + std::to_wstring(block / 1024) +
                  L" KB geschrieben, eingestellt sind " + std::to_wstring(config.blockSize / 1024) +
                  L" KB. Geprüft wird mit " + std::to_wstring(block / 1024) + L" KB. Datei=" + first);
    config.blockSize = block;
  }
  const uint64_t size = RoundDownToMultiple(ExistingTestFilesSize(config.driveRoot), config.blockSize);
  if (size != 0 && size != config.testSize) {
    AppendDiagLog(L"Hinweis: Die Testdateien enthalten " + FormatByteSize(size) + L", eingestellt sind " +
                  FormatByteSize(config.testSize) + L". Geprüft wird, was die Testdateien enthalten.");
    config.testSize = size;
  }
  // A second file that begins with the first file's data: the medium maps it onto the first
  // file, or an older version wrote it (it counted every file's blocks from 0). Both read as
  // mismatches, since only the first can be told from the data; the line names the harmless cause.
  const std::vector<TestVariant> plan = BuildFullTestPlan(config);
  if (plan.size() < 2) return;
  platform::FileHandle file = platform::OpenFileForRead(plan[1].filePath);
  if (!file.valid()) return;
  const bool restarted = plan[1].patternBase != 0 &&
                         !StartsAt(file, 0, PatternStart(config.seed, plan[1].patternBase)) &&
                         StartsAt(file, 0, PatternStart(config.seed, 0));
  platform::CloseFile(file);
  if (restarted) {
    AppendDiagLog(L"Hinweis: Die zweite Testdatei beginnt mit den Daten der ersten. Entweder bildet das Medium "
                  L"spätere Daten auf frühere ab, oder eine ältere Velkor-Version hat die Dateien geschrieben. "
                  L"Abweichungen, die daraus folgen, zeigt nur ein neuer Test sicher an. Datei=" + plan[1].filePath);
  }
}

}  // namespace velkor
