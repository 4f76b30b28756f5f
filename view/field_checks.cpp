#include "view/field_checks.h"

#include <vector>

#include "engine/worker_limits.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

struct FieldRule {
  int control;
  const std::wstring* text;
  const wchar_t* labelKey;  // the field's label in the window
  uint64_t lowest;
  uint64_t highest;
};

// The label without its closing colon (and the blank French puts before it).
std::wstring FieldName(const wchar_t* labelKey, int language) {
  std::wstring name = TranslateIn(labelKey, language);
  while (!name.empty() && (name.back() == L':' || name.back() == L' ' || name.back() == L'\u00a0')) name.pop_back();
  return name;
}

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// A number of digits only, without sign, within highest; false for anything else.
bool ReadDigits(const std::wstring& text, uint64_t highest, uint64_t* value) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t result = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - L'0');
    if (result > (UINT64_MAX - digit) / 10) {
      result = UINT64_MAX;
      break;
    }
    result = result * 10 + digit;
  }
  *value = result > highest ? highest + 1 : result;
  return true;
}

}  // namespace

FieldRefusal CheckStartFields(const StartFieldTexts& f, uint32_t cpuCount, int language) {
  std::vector<FieldRule> rules;
  const FieldRule size = f.partial ? FieldRule{kCtlPartialRangeField, &f.partialRange, L"range_mb", 1, kLargestFieldMb}
                                   : FieldRule{kCtlTestSizeField, &f.testSize, L"test_size", 1, kLargestFieldMb};
  if (!f.partial) rules.push_back(size);
  // Block sizes stay within what a 32-bit byte count holds.
  const FieldRule block{kCtlBlockField, &f.blockSize, L"block_size", 4, 4194303};
  rules.push_back(block);
  // Above the maximum the start lowers the number; the range tells what will be used.
  rules.push_back({kCtlWorkerField, &f.workers, L"worker_label_plain", 1, UINT64_MAX - 1});
  rules.push_back({kCtlReserveField, &f.reserve, L"reserve_free", 0, kLargestFieldMb});
  rules.push_back({kCtlTestPointsField, &f.testPoints, L"test_points", 1, UINT64_MAX - 1});
  if (f.partial) {
    rules.push_back({kCtlPartialStartField, &f.partialStart, L"start_mb", 0, kLargestFieldMb});
    rules.push_back(size);
  }
  for (const FieldRule& rule : rules) {
    const std::wstring text = Trimmed(*rule.text);
    uint64_t value = 0;
    const bool digits = ReadDigits(text, rule.highest, &value);
    if (digits && value >= rule.lowest && value <= rule.highest) continue;
    uint64_t shownHighest = rule.highest;
    if (rule.labelKey == std::wstring_view(L"worker_label_plain")) shownHighest = MaxWorkerCount(cpuCount);
    if (rule.labelKey == std::wstring_view(L"test_points")) shownHighest = 16;
    const std::wstring name = FieldName(rule.labelKey, language);
    const std::wstring range = FormatTextIn(L"field_range", language,
                                            {std::to_wstring(rule.lowest), std::to_wstring(shownHighest)});
    // A pasted paragraph is shown by its start.
    const std::wstring shown = text.size() > 24 ? text.substr(0, 24) + L"\u2026" : text;
    if (text.empty()) return {rule.control, FormatTextIn(L"field_empty", language, {name, range})};
    return {rule.control,
            FormatTextIn(digits ? L"field_out_of_range" : L"field_not_a_number", language, {name, shown, range})};
  }
  uint64_t blockKb = 0, sizeMb = 0;
  ReadDigits(Trimmed(*block.text), block.highest, &blockKb);
  ReadDigits(Trimmed(*size.text), size.highest, &sizeMb);
  if (blockKb > sizeMb * 1024) {
    return {kCtlBlockField, FormatTextIn(L"field_block_too_large", language,
                                         {FieldName(block.labelKey, language), std::to_wstring(blockKb),
                                          std::to_wstring(sizeMb)})};
  }
  return {};
}

}  // namespace velkor
