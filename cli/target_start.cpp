#include "cli/target_start.h"

#include "cli/cli_console.h"
#include "cli/cli_request.h"
#include "common/localization.h"
#include "common/diag_log.h"
#include "drives/target_folder.h"
#include "platform/console.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace velkor {
namespace {

std::wstring RefusalText(const StartPlan& plan, const DriveInfo& drive) {
  switch (plan.refusal) {
    case StartRefusal::kWriteProtected:
      return kWriteProtectedText;
    case StartRefusal::kNoFilesToVerify:
      return L"Fehler: Keine Testdateien eines früheren Laufs gefunden in " + drive.root + L" (--size angeben).";
    case StartRefusal::kNoRoom:
      return NoRoomRefusal(drive, plan);
    default:
      return kInvalidInputText;
  }
}

// The question on a terminal: a Yes there lets the start go ahead, and --yes where it answers it.
bool Confirmed(bool answeredByYes, const std::wstring& question) {
  return answeredByYes || (platform::IsStandardInputTerminal() && AskToContinue(question));
}

}  // namespace

TargetStart PrepareTarget(const CliOptions& o, const std::wstring& target, bool verifyOnly, uint32_t cpuCount,
                          const std::wstring& prefix) {
  TargetStart start;
  start.target = target;
  if (!DescribeTestTarget(target, &start.drive)) {
    start.refusal = L"Fehler: Ziel nicht gefunden: " + target + L" (" + FormatWindowsError(platform::LastError()) + L")";
    return start;
  }
  start.described = true;
  const DriveInfo& drive = start.drive;
  // Test files go into a folder; a file, or the system's own views of itself, would only get a
  // misleading failure later.
  platform::EntryInfo entry;
  if (platform::InspectEntry(target, &entry) &&
      (entry.kind == platform::EntryKind::kPlainFile || entry.kind == platform::EntryKind::kHardLinked ||
       entry.kind == platform::EntryKind::kDevice)) {
    start.refusal = L"Fehler: Das Ziel ist kein Ordner: " + target;
    return start;
  }
  for (const wchar_t* pseudo : {L"proc", L"sysfs", L"devtmpfs", L"devpts", L"cgroup", L"cgroup2", L"debugfs",
                                L"tracefs", L"securityfs", L"pstore", L"bpf", L"configfs", L"efivarfs", L"mqueue"}) {
    if (drive.fileSystem == pseudo) {
      start.refusal = L"Fehler: " + target + L" ist kein Datenträger, sondern eine Sicht des Systems (Dateisystem " +
                      drive.fileSystem + L").";
      return start;
    }
  }
  start.plan = PlanStart(StartRequestFromOptions(o, verifyOnly, cpuCount), &start.drive, cpuCount);
  // The window offers deletion after a compact run; here only --delete deletes, and the log says so.
  start.plan.config.deleteAtEnd = o.deleteAtEnd && !verifyOnly;
  const StartPlan& plan = start.plan;
  if (plan.refusal != StartRefusal::kNone) {
    start.refusal = RefusalText(plan, drive);
    // The options one by one passed their ranges; together a block may not fit the test.
    const StartRequest request = StartRequestFromOptions(o, verifyOnly, cpuCount);
    if (plan.refusal == StartRefusal::kInvalidInput && request.blockKb && request.testSizeMb &&
        *request.blockKb > *request.testSizeMb * 1024) {
      start.refusal = L"Fehler: Die Blockgröße von " + std::to_wstring(*request.blockKb) + L" KB" +
                      (o.blockKb ? L" (--block)" : L" (Vorgabe des Profils, --block)") +
                      L" ist größer als die Testgröße von " + std::to_wstring(*request.testSizeMb) +
                      L" MB (--size). Der Block muss in die Testgröße passen.";
    }
    return start;
  }
  if (plan.corrections.workersClamped) {
    Err(prefix + FormatText(L"cli_workers_clamped", {std::to_wstring(plan.corrections.workers)}) + L"\n");
  }
  if (plan.corrections.testPointsClamped) Err(prefix + Translate(L"cli_test_points_clamped") + L"\n");
  // The system drive is never tested by a mere --yes: that is what scripts pass.
  if (plan.confirmSystemVolume && !o.systemDrive) {
    AppendDiagLog(kSystemVolumeDeclinedLog);
    start.refusal = SystemVolumeRefusal(plan);
    return start;
  }
  // --yes is for the question a script expects; testing the drive the program runs from takes a
  // person's Yes.
  if (plan.confirmProgramVolume && !Confirmed(false, ProgramVolumeQuestion(drive, CurrentLanguage))) {
    AppendDiagLog(kProgramVolumeDeclinedLog);
    start.refusal = std::wstring(kProgramVolumeDeclinedLog) + L" (nur nach Ja am Terminal, nicht mit --yes)";
    return start;
  }
  if (plan.confirmNonEmpty && !Confirmed(o.yes, NonEmptyTargetQuestion(drive, CurrentLanguage))) {
    AppendDiagLog(kNonEmptyDeclinedLog);
    start.refusal = std::wstring(kNonEmptyDeclinedLog) + L" (--yes testet trotzdem)";
  }
  return start;
}

}  // namespace velkor
