#include "view/hint_texts.h"

#include "common/localization.h"

namespace velkor {
namespace {

// The controls with a hint of their own: its text is the table's "hint_<id>" row.
// Start and Stop say what they do; the log view has a hint too: one built from its text would
// repeat log lines.
constexpr int kHintIds[] = {1001, 1002, 1003, 1004, 1005, 1006, 1010, 1011, 1012, 1015, 1016, 1019, 1020, 1021,
                            1022, 1023, 1024, 1025, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035};

}  // namespace

bool HasFixedHint(int id) {
  for (int known : kHintIds) {
    if (known == id) return true;
  }
  return false;
}

std::wstring FixedHintForId(int id) {
  return HasFixedHint(id) ? Translate(L"hint_" + std::to_wstring(id)) : std::wstring();
}

std::wstring ControlHintText(int id, const std::wstring& windowText, bool lockedByRun) {
  if (HasFixedHint(id)) return FixedHintForId(id);
  // The status line and the progress bar have no hint: their text is the run's, and they are
  // never locked. The generic text says why a field is locked: true only while a run locks it.
  if (id == 1013 || id == 1036 || !lockedByRun) return L"";
  const std::wstring common = Translate(L"tooltip_common");
  if (windowText.empty()) return common;
  return windowText.substr(0, 255) + L" - " + common;
}

}  // namespace velkor
