#include "ui/controls.h"

#include <commctrl.h>

#include "common/localization.h"
#include "ui/commands.h"
#include "ui/lists.h"
#include "ui/window_state.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

struct ControlSpec {
  int id;
  const wchar_t* className;
  const wchar_t* text;  // a text-table key when translated, else the literal text
  bool translated;
  DWORD style;          // beyond WS_CHILD | WS_VISIBLE
};

constexpr DWORD kList = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER;
constexpr DWORD kField = WS_BORDER | ES_RIGHT | ES_NUMBER;
constexpr DWORD kCheck = BS_AUTOCHECKBOX;
constexpr DWORD kPush = BS_PUSHBUTTON;

// In creation order: entry i is control number i + 1.
const ControlSpec kControls[kControlCount] = {
    {0, L"STATIC", L"drives", true, 0},
    {kIdExplorer, L"BUTTON", L"open_explorer", true, kPush},
    {kIdDriveList, WC_LISTVIEWW, L"", false, kList},
    {0, L"STATIC", L"language", true, 0},
    {kIdLanguage, L"COMBOBOX", L"", false, CBS_DROPDOWNLIST},
    {0, L"STATIC", L"saved_tests", true, 0},
    {kIdSavedTests, L"COMBOBOX", L"", false, CBS_DROPDOWNLIST | WS_VSCROLL},
    {0, L"STATIC", L"export_format", true, 0},
    {kIdExportFormat, L"COMBOBOX", L"", false, CBS_DROPDOWNLIST},
    {kIdExport, L"BUTTON", L"export_button", true, kPush},
    {kIdOpenResults, L"BUTTON", L"open_results", true, kPush},
    {0, L"STATIC", L"results", true, 0},
    {kIdResultList, WC_LISTVIEWW, L"", false, kList},
    {kIdVerticalBar, kSplitterClass, L"", false, WS_BORDER},
    {kIdHorizontalBar, kSplitterClass, L"", false, WS_BORDER},
    {kIdSelectedDrive, L"STATIC", L"selected_drive_none", true, 0},
    {0, L"STATIC", L"test_size", true, 0},
    {kIdTestSize, L"EDIT", L"1024", false, kField},
    {0, L"STATIC", L"block_size", true, 0},
    {kIdBlockSize, L"EDIT", L"4096", false, kField},
    {kIdWorkerLabel, L"STATIC", L"worker_label_plain", true, 0},
    {kIdWorkers, L"EDIT", L"1", false, kField},
    {0, L"STATIC", L"reserve_free", true, 0},
    {kIdReserve, L"EDIT", L"0", false, kField},
    {0, L"STATIC", L"test_points", true, 0},
    {kIdTestPoints, L"EDIT", L"3", false, kField},
    {kIdMethodToggle, L"BUTTON", L"show_benchmark", true, kPush},
    {kIdMethodTest, L"BUTTON", L"benchmark", true, kCheck},
    {kIdUseFastest, L"BUTTON", L"use_fastest", true, kCheck},
    {kIdRandomPoints, L"BUTTON", L"random_points", true, kCheck},
    {0, L"STATIC", L"profile", true, 0},
    {kIdProfile, L"COMBOBOX", L"", false, CBS_DROPDOWNLIST},
    {kIdWorkerHint, L"STATIC", L"", false, 0},
    {kIdPartial, L"BUTTON", L"partial", true, kCheck},
    {0, L"STATIC", L"start_mb", true, 0},
    {kIdPartialStart, L"EDIT", L"0", false, kField},
    {0, L"STATIC", L"range_mb", true, 0},
    {kIdPartialRange, L"EDIT", L"1024", false, kField},
    {kIdDeleteAfter, L"BUTTON", L"delete_after", true, kCheck},
    {kIdStart, L"BUTTON", L"start", true, kPush},
    {kIdStop, L"BUTTON", L"stop", true, kPush},
    {kIdSettingsToggle, L"BUTTON", L"settings_show", true, kPush},
    {kIdVerifyOnly, L"BUTTON", L"verify_only", true, kPush},
    {kIdProgress, PROGRESS_CLASSW, L"", false, PBS_SMOOTH},
    {kIdSummary, L"EDIT", L"summary_none", true, WS_BORDER | ES_MULTILINE | ES_READONLY},
    {0, L"STATIC", L"diag_log", true, 0},
    {kIdLog, L"EDIT", L"", false, WS_BORDER | ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL},
    {kIdStatus, L"STATIC", L"ready", true, 0},
};

// The controls Tab visits, in the order a user reads the expanded window: the lists and the
// boxes above the result list, then the settings row by row, then the summary and the log.
// Hidden and disabled ones are skipped by the dialog manager; Start and Stop follow the drive
// list they act on, the other command buttons are hidden (the menu carries them).
constexpr int kTabOrder[] = {
    kCtlDriveList,       kCtlStartButton,       kCtlStopButton,        kCtlLanguageBox,       kCtlSavedTestsBox,     kCtlExportBox,   kCtlResultList,
    kCtlTestSizeField,   kCtlBlockField,        kCtlWorkerField,       kCtlReserveField, kCtlMethodCheck,
    kCtlFastestCheck,    kCtlProfileBox,        kCtlTestPointsField,   kCtlRandomPointsCheck, kCtlPartialCheck,
    kCtlPartialStartField, kCtlPartialRangeField, kCtlDeleteCheck,     kCtlSummary,     kCtlLogView,
};

bool IsTabStop(int number) {
  for (int n : kTabOrder) {
    if (n == number) return true;
  }
  return false;
}

// Tab follows the order of the children: put the tab stops first, in kTabOrder.
void OrderTabStops() {
  HWND after = HWND_TOP;
  for (int n : kTabOrder) {
    HWND control = Control(n);
    if (control == nullptr) continue;
    SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control;
  }
}

// Their captions follow the window's state; their owners set them.
bool CaptionFollowsState(int number) {
  return number == kCtlSelectedDrive || number == kCtlMethodToggle || number == kCtlSettingsToggle ||
         number == kCtlStatusLine || number == kCtlSummary || number == kCtlWorkerLabel;
}

}  // namespace

void CreateMainControls(HWND main) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main, GWLP_HINSTANCE));
  WindowState& ui = Ui();
  for (int number = 1; number <= kControlCount; ++number) {
    const ControlSpec& spec = kControls[number - 1];
    const std::wstring text = spec.translated ? Translate(spec.text) : std::wstring(spec.text);
    const DWORD style = WS_CHILD | WS_VISIBLE | spec.style | (IsTabStop(number) ? WS_TABSTOP : 0);
    HWND control = CreateWindowExW(0, spec.className, text.c_str(), style, 0, 0, 10, 10, main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance,
                                   nullptr);
    ui.controls[number] = control;
    switch (number) {
      case kCtlDriveList:
      case kCtlResultList:
        SetUpListColumns(number);
        break;
      case kCtlRandomPointsCheck:
        SetChecked(kCtlMethodCheck, false);
        SetChecked(kCtlFastestCheck, true);
        SetChecked(kCtlRandomPointsCheck, true);
        break;
      case kCtlProfileBox:
        FillProfileChoices(false);
        break;
      case kCtlPartialRangeField:
        UpdatePartialControls(false);
        break;
      case kCtlDeleteCheck:
        SetChecked(kCtlDeleteCheck, true);
        break;
      case kCtlStopButton:
        EnableControl(kCtlStopButton, false);
        break;
      case kCtlProgressBar:
        SendMessageW(control, PBM_SETRANGE32, 0, 10000);
        SendMessageW(control, PBM_SETPOS, 0, 0);
        break;
      case kCtlLogView:
        // A long run writes far more than the edit control's default 30,000 characters.
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        break;
      default:
        break;
    }
  }
  OrderTabStops();
}

void RelabelControls() {
  for (int number = 1; number <= kControlCount; ++number) {
    const ControlSpec& spec = kControls[number - 1];
    if (spec.translated && !CaptionFollowsState(number)) SetText(number, Translate(spec.text));
  }
}

}  // namespace velkor
