#include "ui/help_window.h"

#include <shellapi.h>

#include "common/paths.h"
#include "pdf/help_pdf.h"

namespace velkor {

void WriteHelpDocuments() {}

void OpenHtmlHelp(HWND main) {}

void OpenPdfHelp(HWND main) {}

}  // namespace velkor
