#include "engine/start_rules.h"

#include <algorithm>
#include <cwctype>

#include "common/format.h"
#include "engine/run_files.h"
#include "engine/worker_limits.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  }
  return i == a.size() && b[i] == 0;
}

// The entered numbers into config: false for invalid input.
bool BuildConfig(const StartRequest& r, const DriveInfo& drive, uint64_t sizeMb, uint32_t cpuCount,
                 TestConfig& c, StartCorrections& corrections) {
  c.driveRoot = drive.root;
  c.fileSystem = drive.fileSystem;
  c.isFat32 = EqualsNoCase(drive.fileSystem, L"FAT32");

  if (!r.blockKb || *r.blockKb < 4) return false;
  if (!r.workers || *r.workers == 0) return false;
  if (!r.reserveMb) return false;
  if (!r.testPoints || *r.testPoints == 0) return false;
  uint64_t blockKb = *r.blockKb, workers = *r.workers, reserveMb = *r.reserveMb, points = *r.testPoints;

  const uint32_t maxWorkers = MaxWorkerCount(cpuCount);
  if (workers > maxWorkers) {
    workers = maxWorkers;
    corrections.workersClamped = true;
    corrections.workers = maxWorkers;
  }

  c.accessProfile = ProfileOfSelection(r.profile);
  ApplyProfileToConfig(c.accessProfile, c);

  uint64_t startMb = 0;
  if (r.partial) {
    startMb = r.startMb.value_or(0);
    if (!r.rangeMb || *r.rangeMb == 0) return false;
    sizeMb = *r.rangeMb;
  }
  c.deleteAtEnd = r.deleteAfter;

  // Sizes past what 64 bits hold in bytes are not a test anyone can run: refuse them rather than
  // let the multiplication wrap into a small size.
  if (sizeMb > UINT64_MAX / kMiB || reserveMb > UINT64_MAX / kMiB || startMb > UINT64_MAX / kMiB ||
      blockKb > UINT32_MAX / 1024) {
    return false;
  }
  c.startOffset = startMb * kMiB;
  c.testSize = sizeMb * kMiB;
  c.reserveFree = reserveMb * kMiB;

  c.testPoints = static_cast<uint32_t>(std::min<uint64_t>(points, 16));
  if (c.testPoints != points) {
    corrections.testPointsClamped = true;
    corrections.testPoints = c.testPoints;
  }
  c.randomTestPoints = r.randomTestPoints;
  c.methodTest = r.methodTest;
  c.useFastest = r.useFastest;
  c.filePath = TestFilePath(c.driveRoot);

  const uint64_t block = blockKb * 1024;
  if (c.testSize == 0 || block > c.testSize) return false;
  c.testSize = RoundDownToMultiple(c.testSize, block);
  c.blockSize = static_cast<uint32_t>(block);
  c.workerCount = static_cast<uint32_t>(workers);
  return c.testSize != 0;
}

// A test sized to the free space: test files a kept run left count as free where this run's
// files empty them again. The size is narrowed until the files it would make are the ones counted.
uint64_t SizeToFreeSpace(const TestConfig& c, uint64_t freeForTest) {
  const uint64_t plain = FreeSpaceTestSize(freeForTest, c.blockSize);
  uint64_t size = FreeSpaceTestSize(freeForTest + LeftoverTestFileBytes(c.driveRoot), c.blockSize);
  for (int round = 0; round < 4 && size > plain; ++round) {
    TestConfig probe = c;
    probe.testSize = size;
    probe.startOffset = 0;
    const uint64_t fits = FreeSpaceTestSize(freeForTest + ReusableTestFileBytes(probe), c.blockSize);
    if (fits >= size) return size;
    size = fits;
  }
  return plain;
}

// The compact choices, the "Quorvel-Modus" sizing to the free space and the verify-only
// restrictions, applied to a configuration that passed validation.
// freeForTest is what a test sized to the free space may fill: the drive's free bytes, less the
// floor that stays free on the system volume.
void ApplyStartModes(TestConfig& c, uint64_t freeForTest, bool verifyOnly, StartMode mode,
                     StartModeEffects& effects) {
  c.verifyOnly = verifyOnly;
  if (!verifyOnly && mode == StartMode::kCompactQuorvel) {
    c.accessProfile = kProfileQuorvel;
    c.blockSize = 1048576;
    effects.logLines.push_back(L"Kompaktmodus: Quorvel-Modus ohne geöffnete Einstellungen gewählt.");
  }
  if (!verifyOnly && c.accessProfile == kProfileQuorvel) {
    c.verify = true;
    c.writeThrough = false;
    c.errorLimit = 500;
    c.methodTest = false;
    c.useFastest = false;
    c.reliableOnlyBenchmark = false;
    c.benchmarkBytes = 0;
    c.startOffset = 0;
    c.reserveFree = 0;
    const uint64_t size = SizeToFreeSpace(c, freeForTest);
    if (size >= c.blockSize) {
      c.testSize = size;
      c.deleteAtEnd = true;
      effects.quorvelSized = true;
      effects.quorvelSize = size;
      effects.logLines.push_back(L"Quorvel-Modus: Testmenge auf freien Speicher des ausgewählten Laufwerks gesetzt: " +
                                 FormatByteSize(size) + L" (minus 32 MB Sicherheitspuffer).");
    }
  }
  if (verifyOnly) {
    c.methodTest = false;
    c.deleteAtEnd = false;
  }
  if (!verifyOnly && mode != StartMode::kSettings && c.accessProfile != kProfileQuorvel) {
    c.accessProfile = kProfileReliable;
    c.verify = true;
    c.writeThrough = true;
    c.errorLimit = 500;
    c.reserveFree = 0;
    const uint64_t size = SizeToFreeSpace(c, freeForTest);
    if (size >= c.blockSize) {
      c.testSize = size;
      c.startOffset = 0;
    }
    c.deleteAtEnd = true;
    c.methodTest = true;
    c.useFastest = true;
    c.reliableOnlyBenchmark = true;
    c.benchmarkBytes =
        RoundDownToMultiple(std::min<uint64_t>(std::max<uint64_t>(c.testSize / 64, 67108864), 1073741824), c.blockSize);
    effects.compactFullTest = true;
    effects.logLines.push_back(
        L"Kompaktmodus: Kompletttest aktiv (Zuverlässig, freier Speicher minus 32 MB Sicherheitspuffer, Rest frei 0 "
        L"MB, Löschen nach Sicherheitsfrage, kleine Worker-Stichprobe unter 90%).");
  }
}

}  // namespace

StartMode StartModeOfWindow(bool settingsShown, bool settingsEverShown) {
  if (settingsShown) return StartMode::kSettings;
  return settingsEverShown ? StartMode::kCompactFullTest : StartMode::kCompactQuorvel;
}

StartPlan PlanStart(const StartRequest& request, const DriveInfo* drive, uint32_t cpuCount) {
  StartPlan plan;
  if (drive == nullptr) {
    plan.refusal = StartRefusal::kNoDrive;
    return plan;
  }
  if (drive->writeProtected && !request.verifyOnly) {
    plan.refusal = StartRefusal::kWriteProtected;
    return plan;
  }
  // On the system volume a writing run leaves a floor free whatever was entered; a test sized to
  // the free space stops short of it.
  const bool onSystem = drive->systemVolume && !request.verifyOnly;
  const uint64_t enteredReserve = request.reserveMb && *request.reserveMb <= UINT64_MAX / kMiB ? *request.reserveMb * kMiB : 0;
  const uint64_t systemReserve = onSystem ? SystemVolumeReserve(enteredReserve, drive->totalBytes) : 0;
  const uint64_t freeForTest = drive->freeBytes > systemReserve ? drive->freeBytes - systemReserve : 0;
  std::optional<uint64_t> sizeMb = request.testSizeMb;
  switch (request.sizeSource) {
    case SizeSource::kEntered:
      break;
    case SizeSource::kFreeSpace:
      // At most the free space with a kept run's files; narrowed below to the files this run empties.
      sizeMb = FreeSpaceTestSize(freeForTest + LeftoverTestFileBytes(drive->root), 1) / kMiB;
      break;
    case SizeSource::kExistingFiles:
      sizeMb = ExistingTestFilesSize(drive->root) / kMiB;
      if (*sizeMb == 0) {
        plan.refusal = StartRefusal::kNoFilesToVerify;
        return plan;
      }
      break;
  }
  if (request.sizeSource != SizeSource::kFreeSpace && (!sizeMb || *sizeMb == 0)) {
    plan.refusal = StartRefusal::kInvalidInput;
    return plan;
  }
  if (!BuildConfig(request, *drive, sizeMb.value_or(0), cpuCount, plan.config, plan.corrections)) {
    // A full drive (or a system drive at its floor) is no input error: the user hears why. The
    // same request with room to spare tells one from the other.
    TestConfig roomy;
    StartCorrections unused;
    const bool noRoom = request.sizeSource == SizeSource::kFreeSpace &&
                        BuildConfig(request, *drive, UINT64_MAX / kMiB / 2, cpuCount, roomy, unused);
    plan.refusal = noRoom ? StartRefusal::kNoRoom : StartRefusal::kInvalidInput;
    if (noRoom) plan.systemReserve = systemReserve;
    return plan;
  }
  if (request.sizeSource == SizeSource::kFreeSpace && !request.verifyOnly && !request.partial) {
    const uint64_t size = SizeToFreeSpace(plan.config, freeForTest);
    if (size < plan.config.blockSize) {
      plan.refusal = StartRefusal::kNoRoom;
      plan.systemReserve = systemReserve;
      return plan;
    }
    plan.config.testSize = std::min(plan.config.testSize, size);
  }
  plan.confirmNonEmpty = NeedsNonEmptyConfirmation(*drive, request.verifyOnly);
  ApplyStartModes(plan.config, freeForTest, request.verifyOnly, request.mode, plan.effects);
  plan.highWorkerWarning = IsHighWorkerCount(plan.config.workerCount, cpuCount);
  if (onSystem) {
    plan.config.systemVolume = true;
    plan.confirmSystemVolume = true;
    plan.systemReserve = SystemVolumeReserve(plan.config.reserveFree, drive->totalBytes);
  }
  // The log and the results would be written to the drive under test, where a drive that wraps
  // its writes around overwrites them (and they its test data); a writing test may overwrite the
  // program itself.
  plan.ownFilesOnTarget = drive->programVolume;
  plan.confirmProgramVolume = drive->programVolume && !request.verifyOnly;
  return plan;
}

std::optional<uint64_t> ReadNumberField(const std::wstring& text) {
  const std::wstring field = text.substr(0, 63);
  size_t i = 0;
  while (i < field.size() && std::iswspace(field[i])) ++i;
  if (i < field.size() && field[i] == L'+') ++i;
  uint64_t result = 0;
  bool any = false;
  bool overflow = false;
  for (; i < field.size() && field[i] >= L'0' && field[i] <= L'9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(field[i] - L'0');
    if (result > (UINT64_MAX - digit) / 10) overflow = true;
    result = result * 10 + digit;
    any = true;
  }
  if (!any) return std::nullopt;
  return overflow ? UINT64_MAX : result;  // wcstoull saturates
}

bool NeedsNonEmptyConfirmation(const DriveInfo& drive, bool verifyOnly) {
  return !verifyOnly && drive.freePercent < 99.0;
}

std::wstring NonEmptyTargetQuestion(const DriveInfo& drive, int language) {
  return FormatTextIn(L"box_non_empty", language,
                      {drive.root, FormatByteSize(drive.freeBytes), FormatByteSize(drive.totalBytes),
                       FormatPercent(drive.freePercent)});
}

std::wstring SystemVolumeQuestion(const StartPlan& plan, int language) {
  return FormatTextIn(L"box_system_volume", language,
                      {plan.config.driveRoot, FormatByteSize(FreeSpaceNeed(plan.config)),
                       FormatByteSize(plan.systemReserve)});
}

std::wstring NoRoomRefusal(const DriveInfo& drive, const StartPlan& plan) {
  std::wstring text = L"Fehler: Kein Platz für einen Test auf " + drive.root + L": " +
                      FormatByteSize(drive.freeBytes) + L" frei";
  if (plan.systemReserve > 0) {
    text += L", auf dem Systemlaufwerk bleiben mindestens " + FormatByteSize(plan.systemReserve) + L" frei";
  }
  return text + L".";
}

std::wstring SystemVolumeRefusal(const StartPlan& plan) {
  return L"Fehler: " + plan.config.driveRoot + L" liegt auf dem Systemlaufwerk; der Test würde bis zu " +
         FormatByteSize(FreeSpaceNeed(plan.config)) + L" darauf schreiben. Mit --system-drive wird trotzdem getestet (" +
         FormatByteSize(plan.systemReserve) + L" bleiben frei).";
}

std::wstring ProgramVolumeQuestion(const DriveInfo& drive, int language) {
  return FormatTextIn(L"box_program_volume", language, {drive.root});
}

std::wstring TargetGoneLogLine(const std::wstring& driveRoot) {
  return L"Warnung: Das Ziellaufwerk " + driveRoot + L" wurde während des Tests entfernt oder geändert. Test wird gestoppt.";
}

bool IsHighWorkerCount(uint64_t workers, uint32_t cpuCount) {
  return workers > MaxWorkerCount(cpuCount) || workers * 10 >= static_cast<uint64_t>(cpuCount) * 9;
}

ProfileDefaults ProfileDefaultsFor(uint32_t profile, uint32_t cpuCount) {
  const uint32_t m = MaxWorkerCount(cpuCount);
  const uint32_t half = std::max<uint32_t>(1, m / 2);
  switch (profile) {
    case kProfileTurbo: return {8192, m, 0};
    case kProfileReliable: return {1024, std::min<uint32_t>(4, half), 2};
    case kProfileQuorvel: return {1024, m, 3};
    default: return {4096, half, 1};
  }
}

}  // namespace velkor
