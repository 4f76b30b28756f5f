// The drive list and the result list: columns, filling, sorting, row colours and row actions.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings.h"
#include "drives/drive_info.h"

namespace velkor {

// Gives a freshly made list (kCtlDriveList or kCtlResultList) its styles, its columns in the
// current language and the column widths and order saved in the settings.
void SetUpListColumns(int number);
// Both lists' column titles again, in the current language.
void RelabelListColumns();
// A list's column widths (96-DPI units) and order as the user left them; the list must exist.
ColumnLayout ReadListLayout(int number);
// Both lists' column widths, from pixels at fromDpi to pixels at toDpi.
void RescaleListColumns(int fromDpi, int toDpi);

// Sorts CurrentResults by the result sort state.
void SortResults();
// Refills the drive list from DriveTable and selects previousRoot's row (or row 0).
void FillDriveList(const std::wstring& previousRoot);
// Refills the result list from CurrentResults in their order.
void FillResultList();
// Shows DriveTable after a scan: rewrites the rows in place when they are the same drives in the
// same order with previousRoot still selected, else refills the list (FillDriveList).
void ShowDriveTable(const std::wstring& previousRoot);
// A drive read again on a worker (ui/device_work.h): its row in the table, its list cells and
// the selected-drive line; nothing for a drive the table no longer holds.
void ShowRereadDrive(const DriveInfo& drive);
// Reads the drives again on a worker; the list follows when they arrive, keeping the selected
// drive when it is still there.
void RefreshDriveList();

// The drive of the selected row; null when no row is selected.
const DriveInfo* GetSelectedDrive();
// The selected drive's root ("E:\"); empty when none is selected.
std::wstring GetSelectedDriveRoot();

// The window's WM_NOTIFY: sorting by column, selection, row colours, the result list's row
// actions, and saving a column layout the user changed.
LRESULT HandleListNotify(const NMHDR* header);
// Takes result index's method, workers and block size into the settings; nothing while the
// controls are locked or for an index out of range.
void ApplyResultToSettings(int index);
// The result row under the pointer (else the selected one) gets the take-over menu.
void ShowResultContextMenu(HWND owner);
// Drops the selected result from the list (not from its file).
void RemoveSelectedResult();

}  // namespace velkor
