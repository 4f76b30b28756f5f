#include "ui/lists.h"

#include <commctrl.h>

#include "common/diag_log.h"
#include "common/localization.h"
#include "drives/drive_table.h"
#include "drives/enumerate.h"
#include "ui/commands.h"
#include "ui/device_work.h"
#include "ui/drive_watch.h"
#include "ui/menus.h"
#include "ui/window_state.h"
#include "ui/worker_control.h"
#include "view/dpi_scale.h"
#include "view/result_columns.h"

namespace velkor {
namespace {

constexpr COLORREF kProtectedText = RGB(165, 0, 0);
constexpr COLORREF kProtectedBack = RGB(255, 232, 232);
constexpr COLORREF kRecommendedText = RGB(0, 90, 0);
constexpr COLORREF kRecommendedBack = RGB(218, 245, 218);

void SetColumn(HWND list, int index, const std::wstring& title, bool rightAligned, int width, bool insert) {
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | (insert ? LVCF_WIDTH | LVCF_SUBITEM : 0);
  column.fmt = rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = ScaleToDpi(width, Ui().dpi);
  column.iSubItem = index;
  std::wstring text = title;
  column.pszText = text.data();
  SendMessageW(list, insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  std::wstring copy = text;
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void InsertRow(HWND list, int row, const std::wstring& firstCell) {
  std::wstring copy = firstCell;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = copy.data();
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int SelectedRow(HWND list) {
  if (list == nullptr) return -1;
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring CellText(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void SelectRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

LRESULT CustomDraw(NMLVCUSTOMDRAW* draw, bool highlighted, COLORREF text, COLORREF back) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && highlighted) {
    draw->clrText = text;
    draw->clrTextBk = back;
    return CDRF_NEWFONT;
  }
  return CDRF_DODEFAULT;
}

// The column-click rule of both lists: the same column flips the direction, another starts ascending.
void ClickSort(int column, int& sortColumn, bool& ascending) {
  if (column == sortColumn) {
    ascending = !ascending;
  } else {
    sortColumn = column;
    ascending = true;
  }
}

// What tells the two lists' columns apart.
struct ListColumns {
  int number;
  int count;
  const wchar_t* settingsSection;
  const wchar_t* (*titleKey)(int column);
  bool (*rightAligned)(int column);
  std::vector<int> (*defaultWidths)();
};

constexpr ListColumns kDriveColumns{kCtlDriveList, kDriveColumnCount, L"DriveColumns", DriveColumnTitleKey,
                                    IsDriveColumnRightAligned, DriveColumnDefaultWidths};
constexpr ListColumns kResultColumns{kCtlResultList, kResultColumnCount, L"ResultColumns", ResultColumnTitleKey,
                                     IsResultColumnRightAligned, ResultColumnDefaultWidths};

const ListColumns& ColumnsOf(int number) { return number == kCtlDriveList ? kDriveColumns : kResultColumns; }

// Inserts the columns at their default widths, or (insert false) only sets their titles again.
void LabelColumns(const ListColumns& columns, bool insert) {
  HWND list = Control(columns.number);
  if (list == nullptr) return;
  const std::vector<int> widths = columns.defaultWidths();
  for (int i = 0; i < columns.count; ++i) {
    SetColumn(list, i, Translate(columns.titleKey(i)), columns.rightAligned(i), widths[i], insert);
  }
}

// The saved widths (96-DPI units) and order over the default columns.
void LoadListColumns(HWND list, const ListColumns& columns) {
  if (list == nullptr) return;
  const int count = columns.count;
  const std::vector<int> defaults = columns.defaultWidths();
  const ColumnLayout layout = ReadListColumns(columns.settingsSection, defaults);
  for (int i = 0; i < count && static_cast<size_t>(i) < layout.widths.size(); ++i) {
    const int width = layout.widths[static_cast<size_t>(i)];
    if (width != defaults[static_cast<size_t>(i)]) {
      SendMessageW(list, LVM_SETCOLUMNWIDTH, i, static_cast<short>(ScaleToDpi(width, Ui().dpi)));
    }
  }
  if (static_cast<int>(layout.order.size()) == count) {
    SendMessageW(list, LVM_SETCOLUMNORDERARRAY, count, reinterpret_cast<LPARAM>(layout.order.data()));
  }
}

ColumnLayout ReadColumnLayout(HWND list, int count) {
  ColumnLayout layout;
  for (int i = 0; i < count; ++i) {
    layout.widths.push_back(UnscaleFromDpi(static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0)), Ui().dpi));
  }
  layout.order.assign(static_cast<size_t>(count), 0);
  if (!SendMessageW(list, LVM_GETCOLUMNORDERARRAY, count, reinterpret_cast<LPARAM>(layout.order.data()))) {
    for (int i = 0; i < count; ++i) layout.order[static_cast<size_t>(i)] = i;
  }
  return layout;
}

// The row colours: write-protected drives and recommended results stand out.
bool DriveRowMarked(size_t row) { return row < DriveTable.size() && DriveTable[row].writeProtected; }

bool ResultRowMarked(size_t row) {
  const std::vector<ResultRecord>& results = Ui().currentResults;
  return row < results.size() && results[row].recommended;
}

LRESULT PaintRow(const NMHDR* header, bool (*marked)(size_t row), COLORREF text, COLORREF back) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header));
  return CustomDraw(draw, marked(draw->nmcd.dwItemSpec), text, back);
}

int ClickedColumn(const NMHDR* header) { return reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem; }

// A column dragged to another width or place is saved at once.
LRESULT OnColumnsRearranged() {
  SaveWindowSettings();
  return 0;
}

LRESULT OnDriveColumnClick(const NMHDR* header) {
  ClickSort(ClickedColumn(header), driveSortColumn, driveSortAscending);
  const std::wstring root = GetSelectedDriveRoot();
  SortDriveTable();
  FillDriveList(root);
  return 0;
}

// Set while the list is refilled: the selection it restores is no user's choice.
bool fillingDriveList = false;

void SetDriveRowCells(HWND list, int row, const DriveInfo& drive) {
  SetCell(list, row, 0, drive.root);
  for (int c = 1; c < kDriveColumnCount; ++c) SetCell(list, row, c, DriveCellText(drive, c));
}

// The table's roots are the list's rows, in order: the rows can be rewritten in place.
bool ListShowsTableRows(HWND list) {
  if (Rows(list) != static_cast<int>(DriveTable.size())) return false;
  for (size_t i = 0; i < DriveTable.size(); ++i) {
    if (CellText(list, static_cast<int>(i), 0) != DriveTable[i].root) return false;
  }
  return true;
}

// A drive the user picks shows its free space as it is now, not as it was at the last scan.
LRESULT OnDriveSelectionChanged(const NMHDR* header) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  const bool picked = (change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0 &&
                      (change->uOldState & LVIS_SELECTED) == 0;
  if (picked && !fillingDriveList && !TestRunning() && ReadSelectedDriveAside(DriveReadFor::kPick)) {
    SetText(kCtlStatusLine, FormatText(L"status_reading_drive", {GetSelectedDriveRoot()}));
  }
  UpdateSelectedDriveLabel();
  return 0;
}

LRESULT OnResultColumnClick(const NMHDR* header) {
  WindowState& ui = Ui();
  ClickSort(ClickedColumn(header), ui.resultSortColumn, ui.resultSortAscending);
  SortResults();
  FillResultList();
  return 0;
}

LRESULT OnResultDoubleClick() {
  ApplyResultToSettings(SelectedRow(Control(kCtlResultList)));
  return 0;
}

LRESULT OnResultRightClick() {
  ShowResultContextMenu(Ui().main);
  return 0;
}

LRESULT OnResultKey(const NMHDR* header) {
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
  if (key->wVKey == VK_DELETE && !Ui().controlsLocked) RemoveSelectedResult();
  return 0;
}

LRESULT OnDriveListNotify(const NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK: return OnDriveColumnClick(header);
    case LVN_ITEMCHANGED: return OnDriveSelectionChanged(header);
    case NM_CUSTOMDRAW: return PaintRow(header, DriveRowMarked, kProtectedText, kProtectedBack);
    default: return 0;
  }
}

LRESULT OnResultListNotify(const NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK: return OnResultColumnClick(header);
    case NM_CUSTOMDRAW: return PaintRow(header, ResultRowMarked, kRecommendedText, kRecommendedBack);
    case NM_DBLCLK: return OnResultDoubleClick();
    case NM_RCLICK: return OnResultRightClick();
    case LVN_KEYDOWN: return OnResultKey(header);
    default: return 0;
  }
}

}  // namespace

void SortResults() {
  WindowState& ui = Ui();
  SortResultRecords(ui.currentResults, ui.resultSortColumn, ui.resultSortAscending);
}

void FillDriveList(const std::wstring& previousRoot) {
  HWND list = Control(kCtlDriveList);
  fillingDriveList = true;
  if (list != nullptr) {
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int chosen = -1;
    for (size_t i = 0; i < DriveTable.size(); ++i) {
      const int row = static_cast<int>(i);
      InsertRow(list, row, DriveTable[i].root);
      for (int c = 1; c < kDriveColumnCount; ++c) SetCell(list, row, c, DriveCellText(DriveTable[i], c));
      if (chosen < 0 && DriveTable[i].root == previousRoot) chosen = row;
    }
    // Never the system drive by default: one "Testen" must not fill it.
    if (chosen < 0 && !DriveTable.empty()) chosen = static_cast<int>(DefaultDriveRow(DriveTable));
    if (chosen >= 0) SelectRow(list, chosen);
  }
  fillingDriveList = false;
  UpdateSelectedDriveLabel();
}

void ShowDriveTable(const std::wstring& previousRoot) {
  HWND list = Control(kCtlDriveList);
  if (list == nullptr || !ListShowsTableRows(list) || GetSelectedDriveRoot() != previousRoot) {
    FillDriveList(previousRoot);
    return;
  }
  for (size_t i = 0; i < DriveTable.size(); ++i) SetDriveRowCells(list, static_cast<int>(i), DriveTable[i]);
  UpdateSelectedDriveLabel();
}

void ShowRereadDrive(const DriveInfo& drive) {
  HWND list = Control(kCtlDriveList);
  for (size_t i = 0; i < DriveTable.size(); ++i) {
    if (DriveTable[i].root != drive.root) continue;
    DriveTable[i] = drive;
    const int row = static_cast<int>(i);
    if (list != nullptr && row < Rows(list) && CellText(list, row, 0) == drive.root) SetDriveRowCells(list, row, drive);
  }
  UpdateSelectedDriveLabel();
}

void FillResultList() {
  HWND list = Control(kCtlResultList);
  if (list == nullptr) return;
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const auto& results = Ui().currentResults;
  for (size_t i = 0; i < results.size(); ++i) {
    const int row = static_cast<int>(i);
    InsertRow(list, row, ResultCellText(results[i], 0));
    for (int c = 1; c < kResultColumnCount; ++c) SetCell(list, row, c, ResultCellText(results[i], c));
  }
}

void RefreshDriveList() { RescanDrives(Ui().main); }

const DriveInfo* GetSelectedDrive() {
  const int row = SelectedRow(Control(kCtlDriveList));
  if (row < 0 || static_cast<size_t>(row) >= DriveTable.size()) return nullptr;
  return &DriveTable[static_cast<size_t>(row)];
}

std::wstring GetSelectedDriveRoot() {
  const DriveInfo* drive = GetSelectedDrive();
  return drive != nullptr ? drive->root : std::wstring();
}

LRESULT HandleListNotify(const NMHDR* header) {
  if (header == nullptr) return 0;
  const UINT code = header->code;
  if (code == HDN_ENDTRACKW || code == HDN_ENDTRACKA || code == HDN_ENDDRAG) return OnColumnsRearranged();
  if (header->hwndFrom == nullptr) return 0;
  if (header->hwndFrom == Control(kCtlDriveList)) return OnDriveListNotify(header);
  if (header->hwndFrom == Control(kCtlResultList)) return OnResultListNotify(header);
  return 0;
}

void ApplyResultToSettings(int index) {
  WindowState& ui = Ui();
  if (ui.controlsLocked || index < 0 || static_cast<size_t>(index) >= ui.currentResults.size()) return;
  const ResultRecord record = ui.currentResults[static_cast<size_t>(index)];
  if (HWND box = Control(kCtlProfileBox)) SendMessageW(box, CB_SETCURSEL, ProfileForMethodText(record.method), 0);
  SetText(kCtlWorkerField, std::to_wstring(record.workers));
  SetText(kCtlBlockField, std::to_wstring(record.blockSize / 1024));
  ApplyFieldStates();
  AppendDiagLog(TakeOverLogLine(record));
}

void ShowResultContextMenu(HWND owner) {
  WindowState& ui = Ui();
  HWND list = Control(kCtlResultList);
  if (ui.controlsLocked || list == nullptr) return;
  const DWORD pos = GetMessagePos();
  POINT screen{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  LVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(list, &hit.pt);
  int row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0) row = SelectedRow(list);
  if (row < 0) return;
  SelectRow(list, row);
  if (ChooseResultTakeOver(owner, screen)) ApplyResultToSettings(row);
}

void RemoveSelectedResult() {
  WindowState& ui = Ui();
  const int row = SelectedRow(Control(kCtlResultList));
  if (row < 0 || static_cast<size_t>(row) >= ui.currentResults.size()) return;
  ui.currentResults.erase(ui.currentResults.begin() + row);
  FillResultList();
  AppendDiagLog(TranslateIn(L"entry_removed", kLanguageGerman));
  SetText(kCtlStatusLine, Translate(L"entry_removed"));
}

void SetUpListColumns(int number) {
  HWND list = Control(number);
  if (list == nullptr) return;
  const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles);
  const ListColumns& columns = ColumnsOf(number);
  LabelColumns(columns, true);
  LoadListColumns(list, columns);
}

void RelabelListColumns() {
  LabelColumns(kDriveColumns, false);
  LabelColumns(kResultColumns, false);
}

ColumnLayout ReadListLayout(int number) { return ReadColumnLayout(Control(number), ColumnsOf(number).count); }

void RescaleListColumns(int fromDpi, int toDpi) {
  for (const ListColumns* columns : {&kDriveColumns, &kResultColumns}) {
    HWND list = Control(columns->number);
    if (list == nullptr) continue;
    for (int i = 0; i < columns->count; ++i) {
      const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
      SendMessageW(list, LVM_SETCOLUMNWIDTH, i, static_cast<short>(RescaleDpi(width, fromDpi, toDpi)));
    }
  }
}

}  // namespace velkor
