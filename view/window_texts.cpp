#include "view/window_texts.h"

#include "common/format.h"
#include "common/localization.h"

namespace velkor {

MenuStates ComputeMenuStates(bool running, bool hasResults, bool settingsShown, bool methodDetailsShown) {
  MenuStates m;
  m.startEnabled = !running;
  m.stopEnabled = running;
  m.exportEnabled = !running && hasResults;
  m.viewItemsEnabled = !running;
  m.settingsItemText = settingsShown ? L"Einstellungen verbergen" : L"Einstellungen anzeigen";
  m.methodItemText = methodDetailsShown ? L"Methodentest verbergen" : L"Methodentest anzeigen";
  return m;
}

std::wstring SelectedDriveLine(const DriveInfo* d) {
  if (d == nullptr) return Translate(L"selected_drive_none");
  std::wstring line = Translate(L"target_prefix") + d->root + L" | " + d->label + L" | " + d->fileSystem +
                      L" | frei " + FormatByteSize(d->freeBytes) + L" von " + FormatByteSize(d->totalBytes) +
                      L" (" + FormatPercent(d->freePercent) + L")" + L" | Anschluss: " + d->bus;
  if (d->writeProtected) line += L" | " + Translate(L"write_protect");
  if (d->systemVolume) line += L" | " + Translate(L"system_volume");
  return line;
}

std::wstring DeletionQuestion(size_t count) {
  return L"Soll die erzeugte Testdatei wirklich gelöscht werden?\r\n\r\nDatei(en): " + std::to_wstring(count) +
         L"\r\n\r\nEs werden nur die von diesem Test erzeugten Dateien gelöscht.";
}

std::wstring ShellFolderTarget(const std::wstring& folder) {
  if (!folder.empty() && folder.back() == L'\\') return folder + L".";
  return folder;
}

}  // namespace velkor
