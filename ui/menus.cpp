#include "ui/menus.h"

#include <string>
#include <utility>

#include "common/localization.h"
#include "ui/window_state.h"
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
  const auto item = [](HMENU menu, UINT id, const wchar_t* key, const std::wstring& shortcut = L"") {
    AppendMenuW(menu, MF_STRING, id, (Translate(key) + shortcut).c_str());
  };
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  item(file, kIdExplorer, L"menu_explorer");
  item(file, kIdExport, L"menu_export");
  item(file, kIdOpenResults, L"menu_open_results");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  item(file, kIdExit, L"menu_exit");
  HMENU test = CreatePopupMenu();
  item(test, kIdStart, L"menu_start", L"\tF5");
  item(test, kIdStop, L"menu_stop", L"\t" + Translate(L"key_esc"));
  item(test, kIdVerifyOnly, L"menu_verify_only");
  HMENU view = CreatePopupMenu();
  item(view, kIdSettingsToggle, L"menu_settings_show");
  item(view, kIdMethodToggle, L"menu_method_show");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  item(view, kIdDiagnosisView, L"menu_diagnosis");
  HMENU help = CreatePopupMenu();
  item(help, kIdHelpHtml, L"menu_help_html");
  item(help, kIdHelpPdf, L"menu_help_pdf");
  AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
  item(help, kIdAbout, L"menu_about");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), Translate(L"menu_file").c_str());
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(test), Translate(L"menu_test").c_str());
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), Translate(L"menu_view").c_str());
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), Translate(L"menu_help").c_str());
  return bar;
}

void RebuildMenuBar() {
  HWND main = Ui().main;
  if (main == nullptr || GetMenu(main) == nullptr) return;
  HMENU old = GetMenu(main);
  SetMenu(main, BuildMenuBar());
  DestroyMenu(old);
  UpdateMenuStates();
}

void UpdateMenuStates() {
  WindowState& ui = Ui();
  HMENU menu = ui.main != nullptr ? GetMenu(ui.main) : nullptr;
  if (menu == nullptr) return;
  const MenuStates s =
      ComputeMenuStates(TestRunning(), !ui.currentResults.empty(), ui.settingsShown, ui.methodDetailsShown);
  // Texts first: ModifyMenu enables the item it renames.
  SetMenuText(menu, kIdSettingsToggle, Translate(s.settingsItemKey).c_str());
  SetMenuText(menu, kIdMethodToggle, Translate(s.methodItemKey).c_str());
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
  AppendMenuW(menu, MF_STRING, kTakeOverItem, Translate(L"menu_take_over").c_str());
  const UINT choice = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
  DestroyMenu(menu);
  return choice == kTakeOverItem;
}

}  // namespace velkor
