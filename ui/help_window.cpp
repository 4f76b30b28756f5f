#include "ui/help_window.h"

#include <shellapi.h>

#include "common/diag_log.h"
#include "pdf/help_files.h"

namespace velkor {
namespace {

void OpenHelp(HWND main, const std::wstring& path, const wchar_t* logPrefix) {
  GenerateHelpFiles();  // a deleted file comes back before it is opened
  ShellExecuteW(main, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
  AppendDiagLog(logPrefix + path);
}

}  // namespace

void OpenHtmlHelp(HWND main) { OpenHelp(main, HelpHtmlPath(), L"Hilfe geöffnet: "); }

void OpenPdfHelp(HWND main) { OpenHelp(main, HelpPdfPath(), L"PDF-Hilfe geöffnet: "); }

}  // namespace velkor
