#include "ui/menus.h"

#include <utility>

#include "ui/window_state.h"
#include "view/about_text.h"
#include "view/control_numbers.h"
#include "view/window_texts.h"

namespace velkor {
namespace {

constexpr UINT kTakeOverItem = 1;

void SetMenuItem(HMENU menu, UINT id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuText(HMENU menu, UINT id, const wchar_t* text) {
  ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
}

}  // namespace

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kIdExplorer, L"Explorer öffnen");
  AppendMenuW(file, MF_STRING, kIdExport, L"Ergebnisse exportieren...");
  AppendMenuW(file, MF_STRING, kIdOpenResults, L"Ergebnisordner öffnen");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kIdExit, L"Beenden");
  HMENU test = CreatePopupMenu();
  AppendMenuW(test, MF_STRING, kIdStart, L"Testen\tF5");
  AppendMenuW(test, MF_STRING, kIdStop, L"Stop\tEsc");
  AppendMenuW(test, MF_STRING, kIdVerifyOnly, L"Nur prüfen");
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, kIdSettingsToggle, L"Einstellungen anzeigen");
  AppendMenuW(view, MF_STRING, kIdMethodToggle, L"Methodentest anzeigen");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_STRING, kIdDiagnosisView, L"Blockkarte und Geschwindigkeit");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, kIdHelpHtml, L"Hilfe anzeigen (HTML)");
  AppendMenuW(help, MF_STRING, kIdHelpPdf, L"PDF-Hilfe öffnen");
  AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(help, MF_STRING, kIdAbout, kAboutTitle);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Datei");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(test), L"&Test");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&Ansicht");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Hilfe");
  return bar;
}

void UpdateMenuStates() {
  WindowState& ui = Ui();
  HMENU menu = ui.main != nullptr ? GetMenu(ui.main) : nullptr;
  if (menu == nullptr) return;
  const MenuStates s =
      ComputeMenuStates(TestRunning(), !ui.currentResults.empty(), ui.settingsShown, ui.methodDetailsShown);
  // Texts first: ModifyMenu enables the item it renames.
  SetMenuText(menu, kIdSettingsToggle, s.settingsItemText);
  SetMenuText(menu, kIdMethodToggle, s.methodItemText);
  const std::pair<UINT, bool> items[] = {
      {kIdStart, s.startEnabled},           {kIdVerifyOnly, s.startEnabled},
      {kIdStop, s.stopEnabled},             {kIdExport, s.exportEnabled},
      {kIdOpenResults, s.viewItemsEnabled}, {kIdSettingsToggle, s.viewItemsEnabled},
      {kIdMethodToggle, s.viewItemsEnabled},
  };
  for (const auto& [id, enabled] : items) SetMenuItem(menu, id, enabled);
  // Only results with a block map or a speed curve have something to show.
  SetMenuItem(menu, kIdDiagnosisView, !TestRunning() && HasDiagnosisPictures(ui.currentDiagnosis));
  DrawMenuBar(ui.main);
}

bool ChooseResultTakeOver(HWND owner, POINT screen) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kTakeOverItem, L"In Einstellungen übernehmen");
  const UINT choice = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
  DestroyMenu(menu);
  return choice == kTakeOverItem;
}

}  // namespace velkor
