#include "engine/start_rules.h"

#include <gtest/gtest.h>

#include "engine/run_files.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;

DriveInfo Drive(uint64_t freeBytes = 8000 * kMiB, uint64_t totalBytes = 8000 * kMiB, bool writeProtected = false) {
  DriveInfo d;
  d.root = L"E:\\";
  d.fileSystem = L"fat32";
  d.freeBytes = freeBytes;
  d.totalBytes = totalBytes;
  d.freePercent = totalBytes ? 100.0 * static_cast<double>(freeBytes) / static_cast<double>(totalBytes) : 0.0;
  d.writeProtected = writeProtected;
  return d;
}

StartPlan Plan(StartRequest request, const DriveInfo* drive, bool verifyOnly = false, uint32_t cpus = 8) {
  request.verifyOnly = verifyOnly;
  return PlanStart(request, drive, cpus);
}

bool Ok(const StartPlan& plan) { return plan.refusal == StartRefusal::kNone; }

TEST(ReadNumberField, TheWcstoullRules) {
  const struct {
    const wchar_t* text;
    std::optional<uint64_t> value;
  } cases[] = {{L"1024", 1024},        {L"  12", 12},           {L"12abc", 12},
               {L"+7", 7},             {L"", std::nullopt},     {L"abc", std::nullopt},
               {L"-5", std::nullopt},  {L"99999999999999999999999", UINT64_MAX}};
  for (const auto& c : cases) EXPECT_EQ(ReadNumberField(c.text), c.value) << c.text;
}

TEST(PlanStart, ValidInputAndItsRounding) {
  const DriveInfo drive = Drive();
  StartRequest request;
  request.testSizeMb = 1;
  request.blockKb = 4;
  StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.testSize, kMiB);
  EXPECT_EQ(b.config.blockSize, 4096u);  // 256 blocks
  EXPECT_EQ(b.config.filePath, L"E:\\velkor.bin");
  EXPECT_TRUE(b.config.isFat32);  // compared without regard to case
  EXPECT_EQ(b.config.accessProfile, 2u);
  EXPECT_TRUE(b.config.verify && b.config.writeThrough);
  EXPECT_EQ(b.config.errorLimit, 500u);
  EXPECT_TRUE(b.config.deleteAtEnd);
  EXPECT_FALSE(b.confirmNonEmpty || b.highWorkerWarning);

  request.testSizeMb = 1000;
  request.blockKb = 3072;
  b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.testSize, 999 * kMiB);

  DriveInfo mount = drive;
  mount.root = L"/media/stick";
  EXPECT_EQ(Plan(request, &mount).config.filePath,
            std::wstring(L"/media/stick") + platform::PathSeparator() + L"velkor.bin");
}

TEST(PlanStart, Refusals) {
  const DriveInfo drive = Drive();
  const DriveInfo locked = Drive(8000 * kMiB, 8000 * kMiB, true);
  auto with = [](auto change) {
    StartRequest r;
    change(r);
    return r;
  };
  const struct {
    const char* name;
    StartRequest request;
    const DriveInfo* drive;
    StartRefusal refusal;
  } cases[] = {
      {"no drive", StartRequest{}, nullptr, StartRefusal::kNoDrive},
      {"write-protected", StartRequest{}, &locked, StartRefusal::kWriteProtected},
      {"block 3 KB", with([](StartRequest& r) { r.blockKb = 3; }), &drive, StartRefusal::kInvalidInput},
      {"size 0", with([](StartRequest& r) { r.testSizeMb = 0; }), &drive, StartRefusal::kInvalidInput},
      {"size missing", with([](StartRequest& r) { r.testSizeMb.reset(); }), &drive, StartRefusal::kInvalidInput},
      {"workers 0", with([](StartRequest& r) { r.workers = 0; }), &drive, StartRefusal::kInvalidInput},
      {"reserve missing", with([](StartRequest& r) { r.reserveMb.reset(); }), &drive, StartRefusal::kInvalidInput},
      {"test points 0", with([](StartRequest& r) { r.testPoints = 0; }), &drive, StartRefusal::kInvalidInput},
      {"block above size", with([](StartRequest& r) { r.testSizeMb = 1; r.blockKb = 2048; }), &drive,
       StartRefusal::kInvalidInput},
      {"partial range 0", with([](StartRequest& r) { r.partial = true; r.rangeMb = 0; }), &drive,
       StartRefusal::kInvalidInput},
      {"size past 64 bits", with([](StartRequest& r) { r.testSizeMb = 99999999999999999ULL; }), &drive,
       StartRefusal::kInvalidInput},
      {"block 3 KB sized to the free space",
       with([](StartRequest& r) { r.sizeSource = SizeSource::kFreeSpace; r.blockKb = 3; }), &drive,
       StartRefusal::kInvalidInput},
  };
  for (const auto& c : cases) EXPECT_EQ(Plan(c.request, c.drive).refusal, c.refusal) << c.name;
  EXPECT_TRUE(Ok(Plan(StartRequest{}, &locked, true))) << "verify-only accepts a write-protected drive";
}

TEST(PlanStart, ClampsWorkersAndTestPoints) {
  const DriveInfo drive = Drive();
  StartRequest request;
  request.workers = 64;
  request.testPoints = 40;
  StartPlan b = Plan(request, &drive, false, 8);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.workerCount, 7u);
  EXPECT_TRUE(b.corrections.workersClamped);
  EXPECT_EQ(b.corrections.workers, 7u);
  EXPECT_EQ(b.config.testPoints, 16u);
  EXPECT_TRUE(b.corrections.testPointsClamped);

  request.workers = 7;
  request.testPoints = 16;
  b = Plan(request, &drive, false, 8);
  EXPECT_FALSE(b.corrections.workersClamped || b.corrections.testPointsClamped);
}

TEST(PlanStart, PartialRangeAndProfiles) {
  const DriveInfo drive = Drive();
  StartRequest request;
  request.partial = true;
  request.startMb.reset();  // an unreadable start counts as 0
  request.rangeMb = 16;
  request.blockKb = 1024;
  request.profile = 0;
  StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.startOffset, 0u);
  EXPECT_EQ(b.config.testSize, 16 * kMiB);
  EXPECT_EQ(b.config.errorLimit, 10000u);
  EXPECT_FALSE(b.config.verify);
  request.startMb = 5;
  request.profile = 7;  // outside the box reads as "Zuverlässig"
  b = Plan(request, &drive);
  EXPECT_EQ(b.config.startOffset, 5 * kMiB);
  EXPECT_EQ(b.config.accessProfile, 2u);
}

TEST(StartModes, SettingsNeverOpenedRunsQuorvelOverTheFreeSpace) {
  const DriveInfo drive = Drive(1000 * kMiB + 123);
  StartRequest request;
  request.mode = StartMode::kCompactQuorvel;
  const StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.accessProfile, 3u);
  EXPECT_EQ(b.config.blockSize, kMiB);
  EXPECT_EQ(b.config.testSize, 968 * kMiB);  // minus 32 MiB, whole blocks
  EXPECT_EQ(b.config.reserveFree, 0u);
  EXPECT_TRUE(b.config.verify);
  EXPECT_FALSE(b.config.writeThrough || b.config.methodTest || b.config.useFastest);
  EXPECT_TRUE(b.config.deleteAtEnd);
  EXPECT_TRUE(b.effects.quorvelSized);
  ASSERT_EQ(b.effects.logLines.size(), 2u);
  EXPECT_EQ(b.effects.logLines[0], L"Kompaktmodus: Quorvel-Modus ohne geöffnete Einstellungen gewählt.");
  EXPECT_EQ(b.effects.logLines[1],
            L"Quorvel-Modus: Testmenge auf freien Speicher des ausgewählten Laufwerks gesetzt: 968.0 MB (minus 32 MB "
            L"Sicherheitspuffer).");
}

TEST(StartModes, TooLittleFreeSpaceKeepsTheEnteredSize) {
  const DriveInfo drive = Drive(kMiB / 2);
  StartRequest request;
  request.mode = StartMode::kCompactQuorvel;
  const StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.testSize, 1024 * kMiB);
  EXPECT_FALSE(b.effects.quorvelSized);
}

TEST(StartModes, VerifyOnlyUsesTheEnteredSizes) {
  const DriveInfo drive = Drive();
  StartRequest request;
  request.methodTest = true;
  request.mode = StartMode::kCompactQuorvel;  // not for a verify-only start
  const StartPlan b = Plan(request, &drive, true);
  ASSERT_TRUE(Ok(b));
  EXPECT_TRUE(b.config.verifyOnly);
  EXPECT_EQ(b.config.testSize, 1024 * kMiB);
  EXPECT_FALSE(b.config.methodTest || b.config.deleteAtEnd);
  EXPECT_TRUE(b.effects.logLines.empty());
}

TEST(StartModes, CompactFullTestAfterTheSettingsWereClosed) {
  const DriveInfo drive = Drive(8000 * kMiB);
  StartRequest request;
  request.profile = 1;
  request.blockKb = 1024;
  request.mode = StartMode::kCompactFullTest;
  const StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_TRUE(b.effects.compactFullTest);
  EXPECT_EQ(b.config.accessProfile, 2u);
  EXPECT_TRUE(b.config.verify && b.config.writeThrough && b.config.methodTest && b.config.useFastest &&
              b.config.reliableOnlyBenchmark && b.config.deleteAtEnd);
  EXPECT_EQ(b.config.testSize, 7968 * kMiB);
  EXPECT_EQ(b.config.benchmarkBytes, 124 * kMiB);  // 7968 / 64 = 124.5 MiB, whole blocks

  // Settings open: nothing compact happens.
  request.mode = StartMode::kSettings;
  const StartPlan open = Plan(request, &drive);
  EXPECT_FALSE(open.effects.compactFullTest);
  EXPECT_EQ(open.config.testSize, 1024 * kMiB);
  EXPECT_EQ(open.config.accessProfile, 1u);
}

TEST(StartModes, SizeFromTheFreeSpaceOrFromEarlierFiles) {
  testing::TempFolder folder;
  DriveInfo drive = Drive(1000 * kMiB + 123);
  drive.root = folder.path();
  StartRequest request;
  request.sizeSource = SizeSource::kFreeSpace;
  request.blockKb = 1024;
  const StartPlan free = Plan(request, &drive);
  ASSERT_TRUE(Ok(free));
  EXPECT_EQ(free.config.testSize, 968 * kMiB);

  request.sizeSource = SizeSource::kExistingFiles;
  EXPECT_EQ(Plan(request, &drive, true).refusal, StartRefusal::kNoFilesToVerify);
  testing::WriteFileBytes(folder.File(L"velkor_full_01.bin"), std::string(2 * kMiB, 'x'));
  testing::WriteFileBytes(folder.File(L"velkor_full_02.bin"), std::string(kMiB, 'x'));
  const StartPlan files = Plan(request, &drive, true);
  ASSERT_TRUE(Ok(files));
  EXPECT_EQ(files.config.testSize, 3 * kMiB);
}

// Testing again after keeping a run's file: that file counts as free, since the run empties it;
// files of another layout that the new run would not reuse do not.
TEST(StartModes, AKeptRunsFileCountsAsFreeSpace) {
  testing::TempFolder folder;
  DriveInfo drive = Drive(100 * kMiB);
  drive.root = folder.path();
  StartRequest request;
  request.mode = StartMode::kCompactQuorvel;
  EXPECT_EQ(Plan(request, &drive).config.testSize, 68 * kMiB);

  testing::WriteFileBytes(folder.File(L"velkor_full_01.bin"), std::string(20 * kMiB, 'k'));
  EXPECT_EQ(Plan(request, &drive).config.testSize, 68 * kMiB);  // one file now: velkor.bin
  testing::WriteFileBytes(folder.File(L"velkor.bin"), std::string(40 * kMiB, 'k'));
  const StartPlan b = Plan(request, &drive);
  ASSERT_TRUE(Ok(b));
  EXPECT_EQ(b.config.testSize, 108 * kMiB);
  EXPECT_EQ(b.effects.quorvelSize, 108 * kMiB);

  request.mode = StartMode::kCompactFullTest;
  EXPECT_EQ(Plan(request, &drive).config.testSize, 108 * kMiB);

  // velkor-cli's size "free" counts the kept file the same way.
  request.mode = StartMode::kSettings;
  request.sizeSource = SizeSource::kFreeSpace;
  request.blockKb = 1024;
  EXPECT_EQ(Plan(request, &drive).config.testSize, 108 * kMiB);
}

TEST(StartModes, NonEmptyTargetQuestion) {
  const DriveInfo nearlyEmpty = Drive(990 * kMiB, 1000 * kMiB);
  EXPECT_FALSE(NeedsNonEmptyConfirmation(nearlyEmpty, false));
  const DriveInfo used = Drive(985 * kMiB, 1000 * kMiB);
  EXPECT_TRUE(NeedsNonEmptyConfirmation(used, false));
  EXPECT_FALSE(NeedsNonEmptyConfirmation(used, true));
  EXPECT_EQ(NonEmptyTargetQuestion(used),
            L"Sicher, die Zielpartition ist nicht leer!\r\n\r\nAusgewähltes Laufwerk: E:\\\r\nFrei: 985.0 MB von 1000.0 "
            L"MB (98.50%)\r\n\r\nNur eigene Testdateien werden angelegt, aber ein Volltest belegt den freien "
            L"Speicher. Fortfahren?");
}

TEST(WorkerLimits, HighWorkerCounts) {
  const struct {
    uint64_t workers;
    uint32_t cpus;
    bool high;
  } cases[] = {{1, 1, true}, {1, 2, false}, {2, 2, true}, {7, 8, false}, {8, 8, true},
               {14, 16, false}, {15, 16, true}, {16, 16, true}, {8, 10, false}, {9, 10, true}};
  for (const auto& c : cases) EXPECT_EQ(IsHighWorkerCount(c.workers, c.cpus), c.high) << c.workers << "/" << c.cpus;
}

TEST(WorkerLimits, ProfileDefaults) {
  const struct {
    uint32_t profile, cpus, blockKb, workers, selection;
  } cases[] = {{2, 16, 1024, 4, 2}, {1, 16, 4096, 7, 1}, {0, 16, 8192, 15, 0}, {3, 16, 1024, 15, 3},
               {2, 2, 1024, 1, 2},  {9, 16, 4096, 7, 1}};
  for (const auto& c : cases) {
    const ProfileDefaults d = ProfileDefaultsFor(c.profile, c.cpus);
    EXPECT_EQ(d.blockKb, c.blockKb) << c.profile << "/" << c.cpus;
    EXPECT_EQ(d.workers, c.workers) << c.profile << "/" << c.cpus;
    EXPECT_EQ(d.selection, c.selection);
  }
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

constexpr uint64_t kGiB = 1024 * kMiB;

TEST(PlanStart, TheSystemDriveAsksFirstAndKeepsItsFloorFree) {
  DriveInfo system = Drive(60 * kGiB, 100 * kGiB);
  system.root = L"C:\\";
  system.systemVolume = true;
  const struct {
    const char* what;
    StartMode mode;
    SizeSource source;
    uint64_t reserveMb;
    uint64_t floor;
  } cases[] = {
      {"settings never opened", StartMode::kCompactQuorvel, SizeSource::kEntered, 0, 5 * kGiB},
      {"settings closed again", StartMode::kCompactFullTest, SizeSource::kEntered, 0, 5 * kGiB},
      {"free space in a chosen profile", StartMode::kSettings, SizeSource::kFreeSpace, 0, 5 * kGiB},
      {"a larger reserve entered", StartMode::kSettings, SizeSource::kFreeSpace, 8192, 8 * kGiB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartRequest request;
    request.mode = c.mode;
    request.sizeSource = c.source;
    request.reserveMb = c.reserveMb;
    request.blockKb = 1024;
    const StartPlan plan = Plan(request, &system);
    ASSERT_TRUE(Ok(plan));
    EXPECT_TRUE(plan.confirmSystemVolume);
    EXPECT_TRUE(plan.config.systemVolume);
    EXPECT_EQ(plan.systemReserve, c.floor);
    // A test sized to the free space leaves the floor free (and the safety buffer on top).
    EXPECT_LE(FreeSpaceNeed(plan.config) + c.floor, system.freeBytes);
    EXPECT_GT(plan.config.testSize, 50 * kGiB);
  }

  // An entered size is kept; the run's preflight refuses it if it would eat into the floor.
  StartRequest entered;
  entered.testSizeMb = 1024;
  StartPlan plan = Plan(entered, &system);
  ASSERT_TRUE(Ok(plan));
  EXPECT_EQ(plan.config.testSize, kGiB);
  EXPECT_TRUE(plan.confirmSystemVolume);
  EXPECT_EQ(SystemVolumeQuestion(plan),
            L"Achtung: Das ausgewählte Laufwerk ist das Systemlaufwerk!\r\n\r\nLaufwerk: C:\\\r\nDer Test schreibt bis "
            L"zu 1.0 GB Testdaten darauf. Mindestens 5.0 GB bleiben frei, damit das System weiterläuft.\r\n\r\n"
            L"Ein Systemlaufwerk zu testen ist selten gewollt. Trotzdem auf dem Systemlaufwerk testen?");
  EXPECT_EQ(SystemVolumeRefusal(plan),
            L"Fehler: C:\\ liegt auf dem Systemlaufwerk; der Test würde bis zu 1.0 GB darauf schreiben. Mit "
            L"--system-drive wird trotzdem getestet (5.0 GB bleiben frei).");

  // Reading writes nothing: no question, no floor.
  plan = Plan(entered, &system, true);
  ASSERT_TRUE(Ok(plan));
  EXPECT_FALSE(plan.confirmSystemVolume);
  EXPECT_FALSE(plan.config.systemVolume);

  // Another drive asks nothing of the kind.
  const DriveInfo stick = Drive();
  plan = Plan(entered, &stick);
  EXPECT_FALSE(plan.confirmSystemVolume || plan.config.systemVolume || plan.confirmProgramVolume ||
               plan.ownFilesOnTarget);
}

TEST(PlanStart, ASystemDriveFullerThanItsFloorGetsNoFreeSpaceTest) {
  DriveInfo system = Drive(3 * kGiB, 100 * kGiB);
  system.systemVolume = true;
  StartRequest request;
  request.mode = StartMode::kCompactQuorvel;
  const StartPlan plan = Plan(request, &system);
  ASSERT_TRUE(Ok(plan));
  EXPECT_FALSE(plan.effects.quorvelSized);  // nothing above the floor: the preflight refuses the rest
  EXPECT_TRUE(plan.config.systemVolume);
}

// A test sized to the free space where there is none to fill: refused for want of room, with the
// figures, never as an input error.
TEST(PlanStart, NoRoomForATestSizedToTheFreeSpace) {
  DriveInfo system = Drive(3 * kGiB, 100 * kGiB);
  system.root = L"C:\\";
  system.systemVolume = true;
  const DriveInfo full = Drive(512 * 1024);
  StartRequest request;
  request.sizeSource = SizeSource::kFreeSpace;
  request.blockKb = 1024;
  const StartPlan onSystem = Plan(request, &system);
  EXPECT_EQ(onSystem.refusal, StartRefusal::kNoRoom);
  EXPECT_EQ(NoRoomRefusal(system, onSystem),
            L"Fehler: Kein Platz für einen Test auf C:\\: 3.0 GB frei, auf dem Systemlaufwerk bleiben mindestens 5.0 GB frei.");
  const StartPlan onFull = Plan(request, &full);
  EXPECT_EQ(onFull.refusal, StartRefusal::kNoRoom);
  EXPECT_EQ(NoRoomRefusal(full, onFull), L"Fehler: Kein Platz für einen Test auf E:\\: 512.0 KB frei.");
  // Room for a smaller block than the one entered is still no room for this test.
  const DriveInfo small = Drive(3 * kMiB);
  request.blockKb = 4096;
  EXPECT_EQ(Plan(request, &small).refusal, StartRefusal::kNoRoom);
  request.blockKb = 1024;
  EXPECT_TRUE(Ok(Plan(request, &small)));
}

TEST(PlanStart, TheProgramsOwnDriveAsksBeforeWritingAndKeepsItsFilesOff) {
  DriveInfo own = Drive();
  own.programVolume = true;
  StartRequest request;
  request.testSizeMb = 16;
  StartPlan plan = Plan(request, &own);
  ASSERT_TRUE(Ok(plan));
  EXPECT_TRUE(plan.confirmProgramVolume);
  EXPECT_TRUE(plan.ownFilesOnTarget);
  EXPECT_EQ(ProgramVolumeQuestion(own).rfind(L"Velkor wurde von dem Laufwerk gestartet, das getestet werden soll: E:\\\r\n", 0),
            0u);
  plan = Plan(request, &own, true);
  EXPECT_FALSE(plan.confirmProgramVolume);
  EXPECT_TRUE(plan.ownFilesOnTarget);
}

}  // namespace
}  // namespace velkor
