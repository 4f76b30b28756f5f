#include "engine/run_files.h"

#include <algorithm>

#include "common/diag_log.h"
#include "common/format.h"
#include "common/paths.h"
#include "engine/held_files.h"
#include "engine/method_plan.h"
#include "engine/worker_limits.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

bool Contains(const std::vector<std::wstring>& list, const std::wstring& path) {
  return std::find(list.begin(), list.end(), path) != list.end();
}

void AppendUnique(std::vector<std::wstring>& list, const std::vector<TestVariant>& plan) {
  for (const TestVariant& entry : plan) {
    if (!Contains(list, entry.filePath)) list.push_back(entry.filePath);
  }
}

}  // namespace

std::wstring TestFilePath(const std::wstring& driveRoot) { return JoinPath(driveRoot, kTestFileName); }

uint64_t FreeSpaceTestSize(uint64_t freeBytes, uint32_t blockSize) {
  const uint64_t size = freeBytes > kSafetyBuffer ? freeBytes - kSafetyBuffer : freeBytes;
  return RoundDownToMultiple(size, blockSize);
}

uint64_t ExistingTestFilesSize(const std::wstring& driveRoot) {
  uint64_t size = 0;
  if (platform::GetFileSizeByPath(TestFilePath(driveRoot), &size)) return size;
  uint64_t total = 0;
  for (const std::wstring& name : platform::ListFolder(driveRoot, kFullTestFilePattern)) {
    uint64_t part = 0;
    if (platform::GetFileSizeByPath(JoinPath(driveRoot, name), &part)) total += part;
  }
  return total;
}

uint64_t TestFileLimit(const TestConfig& config) { return config.isFat32 ? kFat32FileLimit : config.maxFileSize; }

std::wstring FullTestFileName(const TestConfig& config, uint64_t i, uint64_t n) {
  if (n == 1) {
    return config.filePath.empty() ? TestFilePath(config.driveRoot) : config.filePath;
  }
  return JoinPath(config.driveRoot, L"velkor_full_" + TwoDigitNumber(i + 1) + L".bin");
}

std::vector<TestVariant> BuildFullTestPlan(const TestConfig& config) {
  std::vector<TestVariant> plan;
  const uint64_t block = config.blockSize;
  if (block == 0) return plan;
  const uint64_t limit = TestFileLimit(config);
  uint64_t perFile = RoundDownToMultiple(limit != 0 ? limit : config.testSize, block);
  if (perFile == 0) perFile = block;

  // Sizes first, names after: a test size that is not a whole multiple of the block leaves a tail
  // that gets no file, and the names must count only the files that exist.
  std::vector<uint64_t> sizes;
  const uint64_t n = config.testSize / perFile + (config.testSize % perFile != 0 ? 1 : 0);
  uint64_t remaining = config.testSize;
  for (uint64_t i = 0; i < n && remaining > 0; ++i) {
    uint64_t size = RoundDownToMultiple(std::min(remaining, perFile), block);
    if (size == 0 && remaining >= block) size = block;
    if (size == 0) break;
    sizes.push_back(size);
    remaining -= size;
  }

  AccessType access = AccessTypeForProfile(config.accessProfile);
  access.name += config.verifyOnly ? L" (nur prüfen)" : L" (Volltest)";
  uint64_t patternBase = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    TestVariant entry;
    entry.accessType = access;
    entry.workerCount = config.workerCount;
    entry.fileOffset = 0;
    entry.byteCount = sizes[i];
    entry.blockSize = config.blockSize;
    entry.index = static_cast<uint32_t>(i);
    entry.filePath = FullTestFileName(config, i, sizes.size());
    entry.patternBase = patternBase;
    patternBase += sizes[i] / block;
    plan.push_back(std::move(entry));
  }
  return plan;
}

uint64_t FreeSpaceNeed(const TestConfig& config) {
  if (config.verifyOnly) return 0;
  uint64_t benchmarkNeed = 0;
  if (config.methodTest) benchmarkNeed = config.benchmarkBytes > 0 ? config.benchmarkBytes : config.testSize;
  return std::max(config.testSize, benchmarkNeed);
}

bool CheckFreeSpace(const TestConfig& config) {
  const uint64_t need = FreeSpaceNeed(config);
  PostStatusAndLog(L"Prüfe freien Speicher auf " + config.driveRoot);
  uint64_t free = 0;
  uint64_t total = 0;
  const bool queried = platform::GetVolumeSpace(config.driveRoot, &free, &total);
  const uint32_t code = queried ? 0 : platform::LastError();
  if (!queried) free = total = 0;

  const bool fits = queried && free >= config.reserveFree && need <= free - config.reserveFree;
  if (!config.verifyOnly && !fits) {
    std::wstring line = L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk=" +
                        config.driveRoot + L", benötigt=" + FormatByteSize(need) +
                        L", gewünschter Rest=" + FormatByteSize(config.reserveFree) +
                        L", frei=" + FormatByteSize(free) + L", gesamt=" + FormatByteSize(total);
    if (!queried) line += L", " + FormatWindowsError(code);
    AppendDiagLog(line);
    PostStatusText(L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.");
    return false;
  }
  AppendDiagLog(L"Speicher OK: frei=" + FormatByteSize(free) + L", gesamt=" + FormatByteSize(total) +
                L", benötigt=" + FormatByteSize(need) + L", Rest bleibt frei=" +
                FormatByteSize(config.reserveFree));
  return true;
}

std::vector<std::wstring> CreatedFilesList(const std::vector<TestVariant>& methodPlan,
                                           const std::vector<TestVariant>& fullPlan) {
  std::vector<std::wstring> list;
  AppendUnique(list, methodPlan);
  AppendUnique(list, fullPlan);
  return list;
}

bool CreateTestFiles(const std::vector<std::wstring>& paths) {
  for (const std::wstring& path : paths) {
    PostStatusAndLog(L"Erstelle Testdatei: " + path);
    platform::FileHandle file = CreateTestFile(path);
    if (!file.valid()) {
      const uint32_t code = platform::LastError();
      AppendDiagLog(L"FEHLER: Testdatei konnte nicht erstellt werden. Datei=" + path + L", " +
                    FormatWindowsError(code) + HeldFileNote(code));
      PostStatusText(L"Fehler: Testdatei konnte nicht erstellt werden.");
      return false;
    }
    platform::CloseFile(file);
    AppendDiagLog(L"Testdatei geöffnet/erstellt: " + path);
  }
  AppendDiagLog(L"Testdateien angelegt. Sie werden beim Schreiben blockweise vergrößert, keine "
                L"Vorab-Reservierung.");
  return true;
}

bool CheckVerifyOnlyFiles(const std::vector<TestVariant>& fullPlan) {
  for (const TestVariant& entry : fullPlan) {
    uint64_t size = 0;
    if (!platform::GetFileSizeByPath(entry.filePath, &size)) {
      AppendDiagLog(L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: " + entry.filePath);
      PostStatusText(L"Fehler: Testdatei zum Prüfen fehlt.");
      return false;
    }
    if (size < entry.byteCount) {
      AppendDiagLog(L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei ist zu klein: " +
                    entry.filePath + L", vorhanden=" + FormatByteSize(size) + L", benötigt=" +
                    FormatByteSize(entry.byteCount));
      PostStatusText(L"Fehler: Testdatei zum Prüfen ist zu klein.");
      return false;
    }
  }
  return true;
}

void RemoveMethodTestFiles(const std::vector<TestVariant>& methodPlan,
                           const std::vector<TestVariant>& fullPlan,
                           std::vector<std::wstring>& createdFiles) {
  std::vector<std::wstring> keep;
  AppendUnique(keep, fullPlan);
  std::vector<std::wstring> methodPaths;
  AppendUnique(methodPaths, methodPlan);

  for (const std::wstring& path : methodPaths) {
    if (Contains(keep, path)) continue;
    const auto listed = std::find(createdFiles.begin(), createdFiles.end(), path);
    if (listed == createdFiles.end()) continue;  // not this run's file: never deleted
    createdFiles.erase(listed);
    if (DeleteTestFile(path)) {
      AppendDiagLog(L"Methodentest-Datei vor Volltest entfernt, damit der Kompletttest den freien "
                    L"Speicher nutzen kann: " + path);
      continue;
    }
    const uint32_t code = platform::LastError();
    if (code != platform::kErrorFileNotFound) {
      AppendDiagLog(L"Hinweis: Methodentest-Datei konnte vor Volltest nicht entfernt werden: " + path +
                    L", " + FormatWindowsError(code));
    }
  }
}

}  // namespace velkor

namespace velkor {

void DeleteRunTestFiles(const std::vector<std::wstring>& createdFiles, const std::wstring& filePath) {
  const std::vector<std::wstring> files = createdFiles.empty() ? std::vector<std::wstring>{filePath} : createdFiles;
  for (const std::wstring& path : files) {
    if (DeleteTestFile(path)) {
      AppendDiagLog(L"Testdatei gelöscht: " + path);
    } else {
      const uint32_t code = platform::LastError();
      AppendDiagLog(L"FEHLER: Testdatei konnte nicht gelöscht werden. Datei=" + path + L", " +
                    FormatWindowsError(code) + HeldFileNote(code));
    }
  }
}

}  // namespace velkor
