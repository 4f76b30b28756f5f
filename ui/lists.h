// The drive list and the result list: columns, filling, sorting, row colours and row actions.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings.h"
#include "drives/drive_info.h"

namespace velkor {

inline constexpr int kDriveListColumns = 8;
inline constexpr int kResultListColumns = 8;

void InsertDriveColumns();
void InsertResultColumns();
void RelabelDriveColumns();
void RelabelResultColumns();

// Sorts CurrentResults by the result sort state.
void SortResults();
// Refills the drive list from DriveTable and selects previousRoot's row (or row 0).
void FillDriveList(const std::wstring& previousRoot);
void FillResultList();
// Enumerates the drives again and refills the list, keeping the selected drive when it is still there.
void RefreshDriveList();

const DriveInfo* GetSelectedDrive();
std::wstring GetSelectedDriveRoot();

LRESULT HandleListNotify(const NMHDR* header);
void ApplyResultToSettings(int index);
void ShowResultContextMenu(HWND owner);
void RemoveSelectedResult();

// Saved widths and order of a list's columns (settings sections "DriveColumns", "ResultColumns").
void LoadListColumns(HWND list, const wchar_t* section, int count);
ColumnLayout ReadListLayout(HWND list, int count);

}  // namespace velkor
