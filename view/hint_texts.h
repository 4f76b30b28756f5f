// The hint of each control, shown in its balloon tooltip and in the status line.
#pragma once

#include <string>

namespace velkor {

// The fixed German hint of a control id; null for controls that have none of their own.
const wchar_t* FixedHintForId(int id);
// The hint of a control: its fixed hint, else its window text (at most 255 characters) + " - " +
// the generic hint text, or the generic text alone for an empty window text.
std::wstring ControlHintText(int id, const std::wstring& windowText);

}  // namespace velkor
