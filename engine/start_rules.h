// The rules of starting a test, as pure functions the window and velkor-cli share: reading the
// settings fields into a TestConfig with its validation and clamps, the compact modes that size a
// test to the free space, the worker limits' warnings and the profile defaults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drives/drive_info.h"
#include "engine/run_config.h"

namespace velkor {

// The settings fields as the user left them: edit texts and check states. The defaults are the
// window's start-up state.
struct StartForm {
  std::wstring testSizeMb = L"1024";
  std::wstring blockKb = L"4096";
  std::wstring workers = L"1";
  std::wstring reserveMb = L"0";
  std::wstring testPoints = L"3";
  bool methodTest = false;
  bool useFastest = true;
  bool randomTestPoints = true;
  int profileSelection = 2;  // selection of the profile box; outside 0 to 3 reads as 2
  bool partial = false;
  std::wstring startMb = L"0";
  std::wstring rangeMb = L"1024";
  bool deleteAfter = true;
};

// What reading the form changed and the window shows back in its fields.
struct StartCorrections {
  bool workersClamped = false;  // workers was above the maximum; now the maximum
  uint32_t workers = 0;
  bool testPointsClamped = false;  // test points were above 16
  uint32_t testPoints = 0;
};

// An edit field's number as wcstoull reads it in base 10 (leading blanks, digits up to the first
// other character). False when no digit was read. Only the first 63 characters count.
bool ReadNumberField(const std::wstring& text, uint64_t* value);

// Fills config from the selected drive and the form. False for invalid input: no drive, a
// write-protected drive for a writing start, a size, block (below 4 KB), worker or test-point
// field that is missing or 0, a partial range of 0, or a block larger than the test size.
bool BuildTestConfigFromForm(const StartForm& form, const DriveInfo* drive, bool verifyOnly,
                             uint32_t cpuCount, TestConfig* config, StartCorrections* corrections);

// The non-empty-target question is asked for writing starts on a drive less than 99 % free.
bool NeedsNonEmptyConfirmation(const DriveInfo& drive, bool verifyOnly);
std::wstring NonEmptyTargetQuestion(const DriveInfo& drive);

// What the start modes did, for the window to mirror in its fields and for the log.
struct StartModeEffects {
  bool quorvelSized = false;   // test size set to the free space minus the safety buffer
  uint64_t quorvelSize = 0;
  bool compactFullTest = false;
  std::vector<std::wstring> logLines;  // in order, for AppendDiagLog
};

// Applies the compact choice (settings never opened: "Quorvel-Modus" with 1 MiB blocks), the
// "Quorvel-Modus" sizing to the free space, the verify-only restrictions and the compact full test
// (settings closed after having been opened). drive is the selected drive, read again.
void ApplyStartModes(TestConfig& config, const DriveInfo& drive, bool verifyOnly, bool settingsShown,
                     bool settingsEverShown, StartModeEffects* effects);

// At least 90 % of the logical processors, or above the maximum.
bool IsHighWorkerCount(uint64_t workers, uint32_t cpuCount);

inline constexpr const wchar_t* kHighWorkerWarning =
    L"Die Workerzahl nutzt fast alle erlaubten Worker. Ein Kern bleibt frei, aber Windows kann während des "
    L"Tests langsamer reagieren.";

// The block size (KB), workers and profile box selection a profile fills in.
struct ProfileDefaults {
  uint32_t blockKb = 4096;
  uint32_t workers = 1;
  uint32_t selection = 1;
};
ProfileDefaults ProfileDefaultsFor(uint32_t profile, uint32_t cpuCount);

}  // namespace velkor
