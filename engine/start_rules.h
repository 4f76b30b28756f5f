// The rules of starting a test, as pure functions the window and velkor-cli share: a typed start
// request, and the plan that turns it and the selected drive into a TestConfig with its
// validation, clamps, compact modes, questions and warnings. Also the texts both front-ends show
// when a start is refused, and the profile defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/localization.h"
#include "drives/drive_info.h"
#include "engine/run_config.h"

namespace velkor {

// How a start shapes the run beyond what was entered.
enum class StartMode : uint8_t {
  kSettings,         // the settings as entered
  kCompactQuorvel,   // settings never opened: "Quorvel-Modus" over the free space, 1 MiB blocks
  kCompactFullTest,  // settings closed after having been opened: a reliable full test with a sample
};

// The window's start mode: the settings as entered while they are shown; hidden again after
// having been shown, the compact full test; never shown, the compact "Quorvel-Modus".
StartMode StartModeOfWindow(bool settingsShown, bool settingsEverShown);

// Where the test size comes from.
enum class SizeSource : uint8_t {
  kEntered,        // testSizeMb, or the partial range
  kFreeSpace,      // the free space minus the safety buffer
  kExistingFiles,  // verify-only: the size of the test files an earlier run left
};

// What a user asked for: the window reads its fields into it, velkor-cli its options. Numbers are
// as entered, in MB and KB; an empty one is a field that held no number.
struct StartRequest {
  bool verifyOnly = false;
  StartMode mode = StartMode::kSettings;
  SizeSource sizeSource = SizeSource::kEntered;
  std::optional<uint64_t> testSizeMb = 1024;
  std::optional<uint64_t> blockKb = 4096;
  std::optional<uint64_t> workers = 1;
  std::optional<uint64_t> reserveMb = 0;
  std::optional<uint64_t> testPoints = 3;
  uint32_t profile = kProfileReliable;  // outside 0 to 3 reads as "Zuverlässig"
  bool methodTest = false;
  bool useFastest = true;
  bool randomTestPoints = true;
  bool partial = false;
  std::optional<uint64_t> startMb = 0;  // empty counts as 0
  std::optional<uint64_t> rangeMb = 1024;
  bool deleteAfter = true;
};

// Why a start does not go ahead.
enum class StartRefusal : uint8_t {
  kNone,
  kNoDrive,          // nothing selected
  kWriteProtected,   // a writing start on a write-protected drive
  kInvalidInput,     // a number missing, 0 or out of range, or a block larger than the test
  kNoFilesToVerify,  // SizeSource::kExistingFiles found no test files
  kNoRoom,           // SizeSource::kFreeSpace found not one block's room above what stays free
};

// What the start did to the entered numbers; the window shows them back in its fields.
struct StartCorrections {
  bool workersClamped = false;  // workers was above the maximum; now the maximum
  uint32_t workers = 0;
  bool testPointsClamped = false;  // test points were above 16
  uint32_t testPoints = 0;
};

// What the start modes did, for the window to mirror in its fields and for the log.
struct StartModeEffects {
  bool quorvelSized = false;  // test size set to the free space minus the safety buffer
  uint64_t quorvelSize = 0;
  bool compactFullTest = false;
  std::vector<std::wstring> logLines;  // in order, for AppendDiagLog once the start goes ahead
};

// Everything a front-end needs to go ahead with a start, or the reason it does not.
struct StartPlan {
  StartRefusal refusal = StartRefusal::kNone;
  TestConfig config;  // complete when refusal is kNone
  StartCorrections corrections;
  // Ask SystemVolumeQuestion first (velkor-cli refuses unless told otherwise); No ends the start.
  // The run then leaves at least systemReserve free, whatever was entered.
  bool confirmSystemVolume = false;
  uint64_t systemReserve = 0;
  // The program runs from the target's volume: its log and results go to the per-user folder
  // (MoveOwnFilesToUserFolder), and a writing start asks ProgramVolumeQuestion first (No ends it).
  bool ownFilesOnTarget = false;
  bool confirmProgramVolume = false;
  bool confirmNonEmpty = false;  // ask NonEmptyTargetQuestion; No ends the start
  StartModeEffects effects;
  bool highWorkerWarning = false;  // warn with kHighWorkerWarning (the run still starts)
};

// Plans a start on the selected drive (null: none). Pure: logs nothing, touches no file except
// reading the sizes of earlier test files (for SizeSource::kExistingFiles, and for a test sized to
// the free space, where a kept run's files count as free).
StartPlan PlanStart(const StartRequest& request, const DriveInfo* drive, uint32_t cpuCount);

// An edit field's number as wcstoull reads it in base 10 (leading blanks, digits up to the first
// other character). Empty when no digit was read. Only the first 63 characters count.
std::optional<uint64_t> ReadNumberField(const std::wstring& text);

// The non-empty-target question is asked for writing starts on a drive less than 99 % free.
bool NeedsNonEmptyConfirmation(const DriveInfo& drive, bool verifyOnly);
std::wstring NonEmptyTargetQuestion(const DriveInfo& drive, int language = kLanguageGerman);

// The question before a writing test on the system volume: the drive, what the test writes and
// what stays free.
std::wstring SystemVolumeQuestion(const StartPlan& plan, int language = kLanguageGerman);
// velkor-cli's refusal of the same start without --system-drive.
std::wstring SystemVolumeRefusal(const StartPlan& plan);
// The refusal of a start sized to the free space when there is no room (StartRefusal::kNoRoom):
// the drive, its free space and, on the system drive, what stays free there.
std::wstring NoRoomRefusal(const DriveInfo& drive, const StartPlan& plan);

// The question before a run on the volume the program itself was started from.
std::wstring ProgramVolumeQuestion(const DriveInfo& drive, int language = kLanguageGerman);

// At least 90 % of the logical processors, or above the maximum.
bool IsHighWorkerCount(uint64_t workers, uint32_t cpuCount);

// Texts both front-ends show around a start; the window shows them through Localize.
inline constexpr wchar_t kWriteProtectedText[] = L"Das ausgewählte Laufwerk ist schreibgeschützt.";
inline constexpr wchar_t kInvalidInputText[] = L"Ungültige Eingabe oder kein beschreibbares Laufwerk ausgewählt.";
inline constexpr wchar_t kNonEmptyDeclinedLog[] = L"Start abgebrochen: Zielpartition war nicht mindestens 99% frei.";
inline constexpr wchar_t kSystemVolumeTitle[] = L"Systemlaufwerk";
inline constexpr wchar_t kSystemVolumeDeclinedLog[] = L"Start abgebrochen: Test auf dem Systemlaufwerk nicht bestätigt.";
inline constexpr wchar_t kProgramVolumeTitle[] = L"Programm auf dem Testlaufwerk";
inline constexpr wchar_t kProgramVolumeDeclinedLog[] =
    L"Start abgebrochen: Velkor läuft von dem Laufwerk, das getestet werden sollte.";
inline constexpr wchar_t kStopRequestedLog[] = L"Stop-Anforderung gesendet.";
inline constexpr wchar_t kHighWorkerWarning[] =
    L"Die Workerzahl nutzt fast alle erlaubten Worker. Ein Kern bleibt frei, aber Windows kann während des "
    L"Tests langsamer reagieren.";

// The log line when the target of a running test was pulled or replaced.
std::wstring TargetGoneLogLine(const std::wstring& driveRoot);

// The block size (KB), workers and profile box selection a profile fills in.
struct ProfileDefaults {
  uint32_t blockKb = 4096;
  uint32_t workers = 1;
  uint32_t selection = 1;
};
ProfileDefaults ProfileDefaultsFor(uint32_t profile, uint32_t cpuCount);

}  // namespace velkor
