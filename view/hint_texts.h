// The hint of each control, shown in its balloon tooltip and in the status line.
#pragma once

#include <string>

namespace velkor {

// The fixed German hint of a control id; null for controls that have none of their own.
const wchar_t* FixedHintForId(int id);
// The hint of a control: its fixed hint, else its window text (at most 255 characters) + " - " +
// the generic hint text (a field locked during a test), or the generic text alone for an empty
// window text. Controls that no run locks do not claim it: the log view, the status line and the
// progress bar have none (empty), Start and Stop their own (translated), the selected-drive line
// and the splitters their text alone.
std::wstring ControlHintText(int id, const std::wstring& windowText);

}  // namespace velkor
