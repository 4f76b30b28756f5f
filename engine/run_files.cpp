#include "engine/run_files.h"

#include <algorithm>

#include "common/diag_log.h"
#include "common/format.h"
#include "common/paths.h"
#include "drives/device_hold.h"
#include "engine/held_files.h"
#include "engine/method_plan.h"
#include "engine/pattern.h"
#include "engine/pattern_origin.h"
#include "engine/target_guard.h"
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

// The entry is no test file of ours: it stays as it is, and the run goes no further.
void ReportForeignEntry(const std::wstring& path, const std::wstring& what) {
  AppendDiagLog(L"FEHLER: Name einer Testdatei ist belegt: " + path + L" ist " + what +
                L", keine Testdatei dieses Programms. Sie bleibt unverändert, der Test schreibt nichts.");
  PostStatusText(L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei).");
}

constexpr wchar_t kNoPatternText[] =
    L"eine Datei, deren erster Block nicht das Testmuster dieses Programms enthält";

// Reads the first bytes of file (up to the smallest block) into *bytes; false when that fails.
bool ReadFileStart(const platform::FileHandle& file, std::string* bytes) {
  uint64_t size = 0;
  if (!platform::GetFileSizeByHandle(file, &size)) return false;
  bytes->assign(static_cast<size_t>(std::min<uint64_t>(size, kOriginStep)), '\0');
  size_t done = 0;
  while (done < bytes->size()) {
    uint32_t got = 0;
    if (!platform::ReadFileAt(file, done, bytes->data() + done, static_cast<uint32_t>(bytes->size() - done), &got)) {
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  bytes->resize(done);
  return true;
}

// An existing plain file at path may be emptied and written over only when it is a test file of
// ours. Reports it and returns false otherwise; a file that cannot be read is no exception.
bool CheckOwnTestFile(const std::wstring& path, const platform::FileHandle& file, uint64_t seed) {
  std::string start;
  if (!ReadFileStart(file, &start)) {
    const uint32_t code = platform::LastError();
    AppendDiagLog(L"FEHLER: Vorhandene Datei mit dem Namen einer Testdatei kann nicht gelesen werden, sie bleibt "
                  L"unverändert: " + path + L", " + FormatWindowsError(code));
    PostStatusText(L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei).");
    return false;
  }
  if (StartsWithTestPattern(start.data(), start.size(), seed)) return true;
  ReportForeignEntry(path, kNoPatternText);
  return false;
}

constexpr wchar_t kOtherVolumeText[] = L"eine Datei auf einem anderen Laufwerk (über eine Verknüpfung erreicht)";

// Deletes path while it is still the file this run created. *what receives, for kNotTheSame, what
// is there instead.
platform::SameFileDelete DeleteOwnTestFile(const std::wstring& path,
                                           const std::map<std::wstring, platform::FileIdentity>& identities,
                                           std::wstring* what) {
  const auto own = identities.find(path);
  if (own == identities.end()) {
    *what = L"eine Datei, die dieser Lauf nicht angelegt hat";
    return platform::SameFileDelete::kNotTheSame;
  }
  platform::EntryInfo found;
  platform::SameFileDelete result = platform::SameFileDelete::kFailed;
  // A virus scanner or the indexer may hold the file for a moment.
  RetryWhileHeld([&] {
    result = platform::DeleteFileIfSame(path, own->second, &found);
    return result != platform::SameFileDelete::kFailed;
  });
  if (result == platform::SameFileDelete::kNotTheSame) *what = ForeignEntryText(found);
  return result;
}

}  // namespace

uint64_t SystemVolumeReserve(uint64_t reserveFree, uint64_t totalBytes) {
  return std::max({reserveFree, kSystemVolumeMinimumFree, totalBytes / 20});
}

std::wstring ForeignEntryText(const platform::EntryInfo& entry) {
  switch (entry.kind) {
    case platform::EntryKind::kSymbolicLink: return L"eine symbolische Verknüpfung";
    case platform::EntryKind::kReparsePoint: return L"eine Verknüpfung oder ein Verbindungspunkt (Analysepunkt)";
    case platform::EntryKind::kHardLinked:
      return L"eine Datei mit " + std::to_wstring(entry.links) + L" Namen (harte Verknüpfung)";
    case platform::EntryKind::kFolder: return L"ein Ordner";
    case platform::EntryKind::kDevice: return L"ein Gerät oder eine andere Sonderdatei";
    case platform::EntryKind::kPlainFile: return L"eine andere Datei";
    case platform::EntryKind::kMissing: break;
  }
  return L"nicht mehr vorhanden";
}

bool StartsWithTestPattern(const void* data, uint64_t length, uint64_t seed) {
  if (length == 0) return true;  // emptied by a run that ended before its first block
  length = std::min<uint64_t>(length, kOriginStep);  // the smallest block
  PatternOrigin origin;
  const auto* bytes = static_cast<const uint8_t*>(data);
  // Any block's pattern counts: a medium that wraps puts a later block first.
  return FindPatternOrigin(bytes, length, seed, kMostBlockIndex, kOriginStep, &origin) &&
         MatchesPattern(bytes, length, seed, origin.index);
}

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

uint64_t ReusableTestFileBytes(const std::vector<std::wstring>& paths) {
  uint64_t bytes = 0;
  for (const std::wstring& path : paths) {
    platform::EntryInfo entry;
    uint64_t size = 0;
    if (!platform::InspectEntry(path, &entry) || entry.kind != platform::EntryKind::kPlainFile) continue;
    if (platform::GetFileSizeByPath(path, &size)) bytes += size;
  }
  return bytes;
}

uint64_t LeftoverTestFileBytes(const std::wstring& driveRoot) {
  std::vector<std::wstring> paths{TestFilePath(driveRoot)};
  for (const std::wstring& name : platform::ListFolder(driveRoot, kFullTestFilePattern)) {
    paths.push_back(JoinPath(driveRoot, name));
  }
  return ReusableTestFileBytes(paths);
}

uint64_t ReusableTestFileBytes(const TestConfig& config) {
  std::vector<std::wstring> paths;
  AppendUnique(paths, BuildFullTestPlan(config));
  return ReusableTestFileBytes(paths);
}

bool CheckFreeSpace(const TestConfig& config, uint64_t reusable, uint64_t* freeForTest, uint64_t* totalBytes) {
  const uint64_t need = FreeSpaceNeed(config);
  PostStatusAndLog(L"Prüfe freien Speicher auf " + config.driveRoot);
  uint64_t free = 0;
  uint64_t total = 0;
  const bool queried = platform::GetVolumeSpace(config.driveRoot, &free, &total);
  const uint32_t code = queried ? 0 : platform::LastError();
  if (!queried) free = total = 0;
  // A kept run's files that this run empties again: their space is free for it.
  const uint64_t kept = config.verifyOnly || !queried ? 0 : reusable;
  const uint64_t available = free + kept;
  // A verify-only run's files were free space before the run that wrote them.
  if (freeForTest != nullptr) *freeForTest = queried ? free + reusable : 0;
  if (totalBytes != nullptr) *totalBytes = total;

  uint64_t reserve = config.reserveFree;
  if (config.systemVolume && !config.verifyOnly) {
    reserve = SystemVolumeReserve(config.reserveFree, total);
    AppendDiagLog(L"Hinweis: Das Ziel ist das Systemlaufwerk. Dort bleiben immer mindestens " + FormatByteSize(reserve) +
                  L" frei (mindestens 2.0 GB und 5 % des Laufwerks, gewünschter Rest " +
                  FormatByteSize(config.reserveFree) + L").");
  }
  const bool fits = queried && available >= reserve && need <= available - reserve;
  const std::wstring keptText = kept > 0 ? L", dazu eigene Testdateien eines früheren Laufs=" + FormatByteSize(kept) : L"";
  if (!config.verifyOnly && !fits) {
    std::wstring line = L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk=" +
                        config.driveRoot + L", benötigt=" + FormatByteSize(need) +
                        L", gewünschter Rest=" + FormatByteSize(reserve) +
                        L", frei=" + FormatByteSize(free) + keptText + L", gesamt=" + FormatByteSize(total);
    if (!queried) line += L", " + FormatWindowsError(code);
    AppendDiagLog(line);
    PostStatusText(L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.");
    return false;
  }
  AppendDiagLog(L"Speicher OK: frei=" + FormatByteSize(free) + keptText + L", gesamt=" + FormatByteSize(total) +
                L", benötigt=" + FormatByteSize(need) + L", Rest bleibt frei=" + FormatByteSize(reserve));
  return true;
}

std::vector<std::wstring> CreatedFilesList(const std::vector<TestVariant>& methodPlan,
                                           const std::vector<TestVariant>& fullPlan) {
  std::vector<std::wstring> list;
  AppendUnique(list, methodPlan);
  AppendUnique(list, fullPlan);
  return list;
}

bool CheckTestFileNames(const std::vector<std::wstring>& paths, uint64_t seed,
                        const platform::FileIdentity* targetFolder) {
  for (const std::wstring& path : paths) {
    platform::EntryInfo entry;
    // An entry the system cannot describe is left to the creation, which reports the failure.
    if (!platform::InspectEntry(path, &entry)) continue;
    if (entry.kind != platform::EntryKind::kMissing && entry.kind != platform::EntryKind::kPlainFile) {
      ReportForeignEntry(path, ForeignEntryText(entry));
      return false;
    }
    if (entry.kind != platform::EntryKind::kPlainFile) continue;
    if (targetFolder != nullptr && entry.identity.volume != targetFolder->volume) {
      ReportForeignEntry(path, kOtherVolumeText);
      return false;
    }
    // Every name is checked before the first file is made; CreateTestFiles checks again on the
    // handle it empties.
    platform::FileHandle file = platform::OpenFileForRead(path);
    if (!file.valid()) continue;
    const bool own = CheckOwnTestFile(path, file, seed);
    platform::CloseFile(file);
    if (!own) return false;
  }
  return true;
}

bool CreateTestFiles(TestState& state, uint64_t seed) {
  // What lies under the names of a folder that is no longer the target is none of its business.
  if (!TargetStillInPlace(state) ||
      !CheckTestFileNames(state.createdFiles, seed, state.targetRecorded ? &state.targetFolder : nullptr)) {
    return false;
  }
  for (const std::wstring& path : state.createdFiles) {
    PostStatusAndLog(L"Erstelle Testdatei: " + path);
    if (!TargetStillInPlace(state)) return false;
    platform::EntryInfo found;
    bool created = false;
    platform::FileHandle file;
    // A virus scanner may hold an earlier run's file for a moment; what is not a plain file is
    // reported at once.
    RetryWhileHeld([&] {
      file = platform::OpenOwnFile(path, &found, &created);
      return file.valid() || (found.kind != platform::EntryKind::kMissing && found.kind != platform::EntryKind::kPlainFile);
    });
    if (!file.valid()) {
      const uint32_t code = platform::LastError();
      if (found.kind != platform::EntryKind::kMissing && found.kind != platform::EntryKind::kPlainFile) {
        ReportForeignEntry(path, ForeignEntryText(found));
        return false;
      }
      AppendDiagLog(L"FEHLER: Testdatei konnte nicht erstellt werden. Datei=" + path + L", " +
                    FormatWindowsError(code) + HeldFileNote(code));
      PostStatusText(L"Fehler: Testdatei konnte nicht erstellt werden.");
      return false;
    }
    // A link the system follows silently (a Windows-compatible layer over links) shows itself here.
    if (state.targetRecorded && found.identity.volume != state.targetFolder.volume) {
      platform::CloseFile(file);
      platform::EntryInfo ignored;
      if (created) platform::DeleteFileIfSame(path, found.identity, &ignored);
      ReportForeignEntry(path, kOtherVolumeText);
      return false;
    }
    if (!created && !CheckOwnTestFile(path, file, seed)) {
      platform::CloseFile(file);
      return false;
    }
    // Emptied only now, after the checks: a file of an earlier run.
    if (!created && !platform::SetFileSizeByHandle(file, 0)) {
      const uint32_t code = platform::LastError();
      platform::CloseFile(file);
      AppendDiagLog(L"FEHLER: Testdatei konnte nicht erstellt werden. Datei=" + path + L", " +
                    FormatWindowsError(code));
      PostStatusText(L"Fehler: Testdatei konnte nicht erstellt werden.");
      return false;
    }
    platform::CloseFile(file);
    state.createdIdentities[path] = found.identity;
    AppendDiagLog(L"Testdatei geöffnet/erstellt: " + path);
  }
  AppendDiagLog(L"Testdateien angelegt. Sie werden beim Schreiben blockweise vergrößert, keine "
                L"Vorab-Reservierung.");
  return true;
}

bool CheckVerifyOnlyFiles(const std::vector<TestVariant>& fullPlan, const TestState& state) {
  for (const TestVariant& entry : fullPlan) {
    platform::EntryInfo found;
    if (!platform::InspectEntry(entry.filePath, &found)) found.kind = platform::EntryKind::kMissing;
    // A link would have the check read, and judge, another file than this drive's.
    if (found.kind != platform::EntryKind::kMissing && found.kind != platform::EntryKind::kPlainFile) {
      ReportForeignEntry(entry.filePath, ForeignEntryText(found));
      return false;
    }
    uint64_t size = 0;
    if (found.kind == platform::EntryKind::kMissing || !platform::GetFileSizeByPath(entry.filePath, &size)) {
      AppendDiagLog(L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: " + entry.filePath);
      PostStatusText(L"Fehler: Testdatei zum Prüfen fehlt.");
      return false;
    }
    if (state.targetRecorded && found.identity.volume != state.targetFolder.volume) {
      ReportForeignEntry(entry.filePath, kOtherVolumeText);
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
                           std::vector<std::wstring>& createdFiles,
                           const std::map<std::wstring, platform::FileIdentity>& createdIdentities) {
  std::vector<std::wstring> keep;
  AppendUnique(keep, fullPlan);
  std::vector<std::wstring> methodPaths;
  AppendUnique(methodPaths, methodPlan);

  for (const std::wstring& path : methodPaths) {
    if (Contains(keep, path)) continue;
    const auto listed = std::find(createdFiles.begin(), createdFiles.end(), path);
    if (listed == createdFiles.end()) continue;  // not this run's file: never deleted
    createdFiles.erase(listed);
    std::wstring what;
    switch (DeleteOwnTestFile(path, createdIdentities, &what)) {
      case platform::SameFileDelete::kDeleted:
        AppendDiagLog(L"Methodentest-Datei vor Volltest entfernt, damit der Kompletttest den freien "
                      L"Speicher nutzen kann: " + path);
        break;
      case platform::SameFileDelete::kMissing:
        break;
      case platform::SameFileDelete::kNotTheSame:
        AppendDiagLog(L"Hinweis: Methodentest-Datei nicht entfernt, dort liegt nicht mehr die Datei dieses Laufs: " +
                      path + L" ist " + what + L".");
        break;
      case platform::SameFileDelete::kFailed:
        AppendDiagLog(L"Hinweis: Methodentest-Datei konnte vor Volltest nicht entfernt werden: " + path + L", " +
                      FormatWindowsError(platform::LastError()));
        break;
    }
  }
}

}  // namespace velkor

namespace velkor {

void DeleteRunTestFiles(const TestState& run) {
  PassDeviceGate();
  const std::vector<std::wstring> files =
      run.createdFiles.empty() ? std::vector<std::wstring>{run.filePath} : run.createdFiles;
  for (const std::wstring& path : files) {
    std::wstring what;
    switch (DeleteOwnTestFile(path, run.createdIdentities, &what)) {
      case platform::SameFileDelete::kDeleted:
        AppendDiagLog(L"Testdatei gelöscht: " + path);
        break;
      case platform::SameFileDelete::kNotTheSame:
        AppendDiagLog(L"FEHLER: Testdatei nicht gelöscht: " + path + L" ist nicht mehr die Datei dieses Laufs, sondern " +
                      what + L". Sie bleibt unverändert.");
        break;
      case platform::SameFileDelete::kMissing:
        platform::SetLastError(platform::kErrorFileNotFound);
        [[fallthrough]];
      case platform::SameFileDelete::kFailed: {
        const uint32_t code = platform::LastError();
        AppendDiagLog(L"FEHLER: Testdatei konnte nicht gelöscht werden. Datei=" + path + L", " +
                      FormatWindowsError(code) + HeldFileNote(code));
        break;
      }
    }
  }
}

}  // namespace velkor
