// The hint of each control, shown in its balloon tooltip and in the status line.
#pragma once

#include <string>

namespace velkor {

// A control id has a hint of its own (the table's "hint_<id>" row).
bool HasFixedHint(int id);
// That hint in the current language; empty for controls that have none of their own.
std::wstring FixedHintForId(int id);
// The hint of a control: its fixed hint, else its window text (at most 255 characters) + " - " +
// the generic hint text (a field locked during a test), or the generic text alone for an empty
// window text. What no run locks does not claim it: the log view has a hint of its own, the status
// line and the progress bar none (empty). Start and Stop have their own (translated).
std::wstring ControlHintText(int id, const std::wstring& windowText);

}  // namespace velkor
