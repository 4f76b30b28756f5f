#include "ui/session_end.h"

#include "common/diag_log.h"
#include "common/localization.h"
#include "engine/run_config.h"
#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/run_control.h"
#include "ui/window_state.h"

namespace velkor {

void BlockSessionEnd(HWND main) {
  WindowState& ui = Ui();
  ui.sessionBlockReason = Translate(L"session_block_reason");
  // Without it Windows still asks; it only cannot say why (and Wine has no shutdown screen).
  ShutdownBlockReasonCreate(main, ui.sessionBlockReason.c_str());
}

void AllowSessionEnd(HWND main) {
  WindowState& ui = Ui();
  if (ui.sessionBlockReason.empty()) return;
  ui.sessionBlockReason.clear();
  ShutdownBlockReasonDestroy(main);
}

LRESULT OnQueryEndSession() { return TestRunning() ? FALSE : TRUE; }

LRESULT OnEndSession(bool ending) {
  if (!ending) return 0;  // another program refused, or the user cancelled: the run goes on
  WindowState& ui = Ui();
  if (TestRunning()) {
    ui.sessionEnding = true;
    ui.closing = true;  // no report box either
    RequestStop(*ui.run, StopReason::kSessionEnd);
    AppendDiagLog(L"Windows beendet die Sitzung: Test wird gestoppt, das Ergebnis wird als nicht vollständig gespeichert.");
    if (!WaitForRunThread(kSessionEndWaitMs)) {
      AppendDiagLog(L"FEHLER: Der Test hat sich nicht innerhalb von " + std::to_wstring(kSessionEndWaitMs / 1000) +
                    L" s beendet; die Ergebnisdatei ist nicht abgeschlossen.");
    }
    ui.closing = false;  // nothing waits any more; Windows ends the process
  }
  // A deletion the user chose is let finish, within the same bound.
  if (DeletingTestFiles() && !KeepAnsweringUntil([] { return !DeletingTestFiles(); }, kSessionEndWaitMs)) {
    AppendDiagLog(L"FEHLER: Das Löschen der Testdateien ist nicht innerhalb von " + std::to_wstring(kSessionEndWaitMs / 1000) +
                  L" s fertig geworden; nicht gelöschte Testdateien bleiben.");
  }
  // Windows ends the process once this returns: no WM_CLOSE or WM_DESTROY follows.
  SaveWindowSettings();
  return 0;
}

}  // namespace velkor
