#include "view/window_texts.h"

#include "results/verdict.h"

#include "common/format.h"
#include "common/localization.h"
#include "drives/drive_table.h"

namespace velkor {

MenuStates ComputeMenuStates(bool running, bool hasResults, bool settingsShown, bool methodDetailsShown) {
  MenuStates m;
  m.startEnabled = !running;
  m.stopEnabled = running;
  m.exportEnabled = !running && hasResults;
  m.viewItemsEnabled = !running;
  m.settingsItemKey = settingsShown ? L"menu_settings_hide" : L"menu_settings_show";
  m.methodItemKey = methodDetailsShown ? L"menu_method_hide" : L"menu_method_show";
  return m;
}

std::wstring SelectedDriveLine(const DriveInfo* d) {
  if (d == nullptr) return Translate(L"selected_drive_none");
  std::wstring line = Translate(L"target_prefix") +
                     FormatText(L"target_line", {d->root, DriveCellText(*d, 1), DriveCellText(*d, 2),
                                                 FormatByteSizeIn(d->freeBytes, CurrentLanguage),
                                                 FormatByteSizeIn(d->totalBytes, CurrentLanguage),
                                                 FormatPercent(d->freePercent), DriveCellText(*d, 6)});
  if (d->writeProtected) line += L" | " + Translate(L"write_protect");
  if (d->systemVolume) line += L" | " + Translate(L"system_volume");
  return line;
}

std::wstring TestSizeCoverageText(uint64_t testBytes, uint64_t freeBytes, uint64_t reserveBytes) {
  if (freeBytes <= reserveBytes + kFreeSpaceSafetyBuffer) return std::wstring();
  const uint64_t whole = freeBytes - reserveBytes - kFreeSpaceSafetyBuffer;
  // A test sized to the free space is rounded down to whole blocks: still the whole of it.
  if (testBytes + 8388608 >= whole) return Translate(L"coverage_whole");
  return FormatText(L"coverage_part", {FormatByteSize(testBytes), FormatByteSize(whole),
                                       FormatPercent(100.0 * static_cast<double>(testBytes) / static_cast<double>(whole))});
}

std::wstring DeletionQuestion(size_t count) { return FormatText(L"box_delete_question", {std::to_wstring(count)}); }

std::wstring ShellFolderTarget(const std::wstring& folder) {
  if (!folder.empty() && folder.back() == L'\\') return folder + L".";
  return folder;
}

}  // namespace velkor
