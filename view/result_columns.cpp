#include "view/result_columns.h"

#include <algorithm>

#include "common/format.h"
#include "common/localization.h"
#include "drives/drive_table.h"
#include "results/exports.h"

namespace velkor {
namespace {

template <typename T>
int Compare3(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

const wchar_t* ResultColumnTitleKey(int column) {
  static const wchar_t* const kKeys[kResultColumnCount] = {L"col_access", L"col_worker",  L"col_block",
                                                           L"col_size",   L"col_mbps",    L"col_verified",
                                                           L"col_errors", L"col_result"};
  return column >= 0 && column < kResultColumnCount ? kKeys[column] : L"";
}

std::vector<int> ResultColumnDefaultWidths() { return {130, 65, 88, 70, 65, 75, 62, 95}; }

bool IsResultColumnRightAligned(int column) { return column >= 1 && column <= 6; }

std::wstring ResultRowText(const ResultRecord& r) {
  if (HasErrorVerdict(r)) return Translate(L"error");
  if (r.cancelled) return Translate(L"cancelled");
  if (r.recommended) return Translate(L"recommendation");
  return Translate(L"ok");
}

std::wstring ResultCellText(const ResultRecord& r, int column) {
  switch (column) {
    case 0: return LocalizeMethodText(r.method, CurrentLanguage);
    case 1: return std::to_wstring(r.workers);
    case 2: return std::to_wstring(r.blockSize / 1024);
    case 3: return std::to_wstring(r.bytes >> 20) + L" MB";
    case 4: return FormatDecimal2(r.mbPerSecond);
    case 5: return YesNoText(r.verified, CurrentLanguage);
    case 6: return std::to_wstring(r.errors);
    case 7: return ResultRowText(r);
    default: return L"";
  }
}

int CompareResults(const ResultRecord& a, const ResultRecord& b, int column) {
  switch (column) {
    case 0: return CompareTextNoCase(a.method, b.method);
    case 1: return Compare3(a.workers, b.workers);
    case 2: return Compare3(a.blockSize, b.blockSize);
    case 3: return Compare3(a.bytes, b.bytes);
    case 4: return Compare3(a.mbPerSecond, b.mbPerSecond);
    case 5: return Compare3(a.verified, b.verified);
    case 6: return Compare3(a.errors, b.errors);
    case 7: return Compare3(a.recommended, b.recommended);
    default: return 0;
  }
}

void SortResultRecords(std::vector<ResultRecord>& records, int column, bool ascending) {
  std::sort(records.begin(), records.end(), [&](const ResultRecord& a, const ResultRecord& b) {
    const int c = CompareResults(a, b, column);
    return ascending ? c < 0 : c > 0;
  });
}

int ProfileForMethodText(const std::wstring& method) {
  if (method.find(L"Turbo") != std::wstring::npos) return 0;
  if (method.find(L"Quorvel") != std::wstring::npos) return 3;
  if (method.find(L"Zuverlässig") != std::wstring::npos) return 2;
  return 1;
}

std::wstring TakeOverLogLine(const ResultRecord& r) {
  return L"Einstellungen aus Ergebnis übernommen: Art des Zugriffs " + r.method + L", Worker " +
         std::to_wstring(r.workers) + L", Blockgröße " + std::to_wstring(r.blockSize / 1024) + L" KB.";
}

}  // namespace velkor
