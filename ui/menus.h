// The window's menus: the menu bar with its greying and toggle texts, and the result list's
// context menu. Menu texts stay German in every language.
#pragma once

#include <windows.h>

namespace velkor {

// A new menu bar ("Datei", "Test", "Ansicht", "Hilfe"); the window it is set on owns it.
HMENU BuildMenuBar();
// Greys and names the menu bar's items for the window's state (run, results, shown views);
// nothing before the window has its menu.
void UpdateMenuStates();
// The result list's context menu at a screen point; true when the user took "In Einstellungen
// übernehmen".
bool ChooseResultTakeOver(HWND owner, POINT screen);

}  // namespace velkor
