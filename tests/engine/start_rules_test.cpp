#include "engine/start_rules.h"

#include <gtest/gtest.h>

#include "platform/files.h"

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

struct Built {
  bool ok;
  TestConfig config;
  StartCorrections corrections;
};

Built Build(const StartForm& form, const DriveInfo* drive, bool verifyOnly = false, uint32_t cpus = 8) {
  Built b;
  b.ok = BuildTestConfigFromForm(form, drive, verifyOnly, cpus, &b.config, &b.corrections);
  return b;
}

TEST(ReadNumberField, TheWcstoullRules) {
  const struct {
    const wchar_t* text;
    bool ok;
    uint64_t value;
  } cases[] = {{L"1024", true, 1024}, {L"  12", true, 12}, {L"12abc", true, 12}, {L"+7", true, 7},
               {L"", false, 0},       {L"abc", false, 0},  {L"-5", false, 0},    {L"99999999999999999999999", true, UINT64_MAX}};
  for (const auto& c : cases) {
    uint64_t value = 0;
    EXPECT_EQ(ReadNumberField(c.text, &value), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(BuildTestConfig, ValidInputAndItsRounding) {
  const DriveInfo drive = Drive();
  StartForm form;
  form.testSizeMb = L"1";
  form.blockKb = L"4";
  Built b = Build(form, &drive);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.config.testSize, kMiB);
  EXPECT_EQ(b.config.blockSize, 4096u);  // 256 blocks
  EXPECT_EQ(b.config.filePath, L"E:\\velkor.bin");
  EXPECT_TRUE(b.config.isFat32);  // compared without regard to case
  EXPECT_EQ(b.config.accessProfile, 2u);
  EXPECT_TRUE(b.config.verify && b.config.writeThrough);
  EXPECT_EQ(b.config.errorLimit, 500u);
  EXPECT_TRUE(b.config.deleteAtEnd);

  form.testSizeMb = L"1000";
  form.blockKb = L"3072";
  b = Build(form, &drive);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.config.testSize, 999 * kMiB);

  DriveInfo mount = drive;
  mount.root = L"/media/stick";
  EXPECT_EQ(Build(form, &mount).config.filePath,
            std::wstring(L"/media/stick") + platform::PathSeparator() + L"velkor.bin");
}

TEST(BuildTestConfig, InvalidInputs) {
  const DriveInfo drive = Drive();
  const DriveInfo locked = Drive(8000 * kMiB, 8000 * kMiB, true);
  const struct {
    const char* name;
    StartForm form;
    const DriveInfo* drive;
  } cases[] = {
      {"no drive", StartForm{}, nullptr},
      {"write-protected", StartForm{}, &locked},
      {"block 3 KB", [] { StartForm f; f.blockKb = L"3"; return f; }(), &drive},
      {"size 0", [] { StartForm f; f.testSizeMb = L"0"; return f; }(), &drive},
      {"size letters", [] { StartForm f; f.testSizeMb = L"viel"; return f; }(), &drive},
      {"workers 0", [] { StartForm f; f.workers = L"0"; return f; }(), &drive},
      {"reserve empty", [] { StartForm f; f.reserveMb = L""; return f; }(), &drive},
      {"test points 0", [] { StartForm f; f.testPoints = L"0"; return f; }(), &drive},
      {"block above size", [] { StartForm f; f.testSizeMb = L"1"; f.blockKb = L"2048"; return f; }(), &drive},
      {"partial range 0", [] { StartForm f; f.partial = true; f.rangeMb = L"0"; return f; }(), &drive},
      {"size past 64 bits", [] { StartForm f; f.testSizeMb = L"99999999999999999"; return f; }(), &drive},
  };
  for (const auto& c : cases) EXPECT_FALSE(Build(c.form, c.drive).ok) << c.name;
  EXPECT_TRUE(Build(StartForm{}, &locked, true).ok) << "verify-only accepts a write-protected drive";
}

TEST(BuildTestConfig, ClampsWorkersAndTestPoints) {
  const DriveInfo drive = Drive();
  StartForm form;
  form.workers = L"64";
  form.testPoints = L"40";
  Built b = Build(form, &drive, false, 8);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.config.workerCount, 7u);
  EXPECT_TRUE(b.corrections.workersClamped);
  EXPECT_EQ(b.corrections.workers, 7u);
  EXPECT_EQ(b.config.testPoints, 16u);
  EXPECT_TRUE(b.corrections.testPointsClamped);

  form.workers = L"7";
  form.testPoints = L"16";
  b = Build(form, &drive, false, 8);
  EXPECT_FALSE(b.corrections.workersClamped || b.corrections.testPointsClamped);
}

TEST(BuildTestConfig, PartialRangeAndProfiles) {
  const DriveInfo drive = Drive();
  StartForm form;
  form.partial = true;
  form.startMb = L"x";  // unreadable start counts as 0
  form.rangeMb = L"16";
  form.blockKb = L"1024";
  form.profileSelection = 0;
  Built b = Build(form, &drive);
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.config.startOffset, 0u);
  EXPECT_EQ(b.config.testSize, 16 * kMiB);
  EXPECT_EQ(b.config.errorLimit, 10000u);
  EXPECT_FALSE(b.config.verify);
  form.startMb = L"5";
  form.profileSelection = -1;  // no selection reads as "Zuverlässig"
  b = Build(form, &drive);
  EXPECT_EQ(b.config.startOffset, 5 * kMiB);
  EXPECT_EQ(b.config.accessProfile, 2u);
}

TEST(StartModes, SettingsNeverOpenedRunsQuorvelOverTheFreeSpace) {
  const DriveInfo drive = Drive(1000 * kMiB + 123);
  Built b = Build(StartForm{}, &drive);
  ASSERT_TRUE(b.ok);
  StartModeEffects effects;
  ApplyStartModes(b.config, drive, false, false, false, &effects);
  EXPECT_EQ(b.config.accessProfile, 3u);
  EXPECT_EQ(b.config.blockSize, kMiB);
  EXPECT_EQ(b.config.testSize, 968 * kMiB);  // minus 32 MiB, whole blocks
  EXPECT_EQ(b.config.reserveFree, 0u);
  EXPECT_TRUE(b.config.verify);
  EXPECT_FALSE(b.config.writeThrough || b.config.methodTest || b.config.useFastest);
  EXPECT_TRUE(b.config.deleteAtEnd);
  EXPECT_TRUE(effects.quorvelSized);
  ASSERT_EQ(effects.logLines.size(), 2u);
  EXPECT_EQ(effects.logLines[0], L"Kompaktmodus: Quorvel-Modus ohne geöffnete Einstellungen gewählt.");
  EXPECT_EQ(effects.logLines[1],
            L"Quorvel-Modus: Testmenge auf freien Speicher des ausgewählten Laufwerks gesetzt: 968.0 MB (minus 32 MB "
            L"Sicherheitspuffer).");
}

TEST(StartModes, TooLittleFreeSpaceKeepsTheEnteredSize) {
  const DriveInfo drive = Drive(kMiB / 2);
  Built b = Build(StartForm{}, &drive);
  ASSERT_TRUE(b.ok);
  const uint64_t entered = b.config.testSize;
  StartModeEffects effects;
  ApplyStartModes(b.config, drive, false, false, false, &effects);
  EXPECT_EQ(b.config.testSize, entered);
  EXPECT_FALSE(effects.quorvelSized);
}

TEST(StartModes, VerifyOnlyUsesTheEnteredSizes) {
  const DriveInfo drive = Drive();
  StartForm form;
  form.methodTest = true;
  Built b = Build(form, &drive, true);
  ASSERT_TRUE(b.ok);
  StartModeEffects effects;
  ApplyStartModes(b.config, drive, true, false, false, &effects);
  EXPECT_TRUE(b.config.verifyOnly);
  EXPECT_EQ(b.config.testSize, 1024 * kMiB);
  EXPECT_FALSE(b.config.methodTest || b.config.deleteAtEnd);
  EXPECT_TRUE(effects.logLines.empty());
}

TEST(StartModes, CompactFullTestAfterTheSettingsWereClosed) {
  const DriveInfo drive = Drive(8000 * kMiB);
  StartForm form;
  form.profileSelection = 1;
  form.blockKb = L"1024";
  Built b = Build(form, &drive);
  ASSERT_TRUE(b.ok);
  StartModeEffects effects;
  ApplyStartModes(b.config, drive, false, false, true, &effects);
  EXPECT_TRUE(effects.compactFullTest);
  EXPECT_EQ(b.config.accessProfile, 2u);
  EXPECT_TRUE(b.config.verify && b.config.writeThrough && b.config.methodTest && b.config.useFastest &&
              b.config.reliableOnlyBenchmark && b.config.deleteAtEnd);
  EXPECT_EQ(b.config.testSize, 7968 * kMiB);
  EXPECT_EQ(b.config.benchmarkBytes, 124 * kMiB);  // 7968 / 64 = 124.5 MiB, whole blocks

  // Settings open: nothing compact happens.
  Built open = Build(form, &drive);
  ApplyStartModes(open.config, drive, false, true, true, &effects);
  EXPECT_FALSE(effects.compactFullTest);
  EXPECT_EQ(open.config.testSize, 1024 * kMiB);
  EXPECT_EQ(open.config.accessProfile, 1u);
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
