// The hint of each control, shown in its balloon tooltip and in the status line.
#pragma once

#include <string>

namespace velkor {

// A control id has a hint of its own (the table's "hint_<id>" row).
bool HasFixedHint(int id);
// That hint in the current language; empty for controls that have none of their own.
std::wstring FixedHintForId(int id);
// The hint of a control: its fixed hint; else, only while a run holds the control locked, its
// window text (at most 255 characters) + " - " + the generic hint text (a field locked during a
// test), or the generic text alone for an empty window text; else none (empty). The status line
// and the progress bar have none. Start and Stop have their own (translated).
std::wstring ControlHintText(int id, const std::wstring& windowText, bool lockedByRun);

}  // namespace velkor
