#include "ui/about_box.h"

#include "common/localization.h"
#include "view/about_text.h"

namespace velkor {

// __DATE__ here is the date this file was compiled; scripts/package builds from a clean tree, so
// for a released program it is the build's date.
void ShowAboutBox(HWND main) {
  MessageBoxW(main, AboutText(__DATE__).c_str(), Translate(L"about_title").c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace velkor
