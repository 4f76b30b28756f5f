// The window's menus: the menu bar with its greying and toggle texts, and the result list's
// context menu, in the current language.
#pragma once

#include <windows.h>

namespace velkor {

// A new menu bar ("Datei", "Test", "Ansicht", "Hilfe" in German); the window it is set on owns it.
HMENU BuildMenuBar();
// Replaces the window's menu bar by one in the current language, with its states.
void RebuildMenuBar();
// Greys and names the menu bar's items for the window's state (run, results, shown views);
// nothing before the window has its menu.
void UpdateMenuStates();
// The result list's context menu at a screen point; true when the user took its one item (take
// the result's settings over).
bool ChooseResultTakeOver(HWND owner, POINT screen);

}  // namespace velkor
