// What a terminal shows while several targets run: one line per target, redrawn in place under
// the log lines that scroll above them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/progress_text.h"

namespace velkor {

// What a running target does: "Vorbereitung" before its first job, else the phase, percent of the
// job, speed and errors, e.g. "Schreiben 45.20% 12.50 MB/s, Fehler 0"; in language.
std::wstring RunningTargetText(const ProgressSnapshot& s, int language = kLanguageGerman);

// "name  text" with name padded to nameWidth, cut to at most width characters (a line that wraps
// would spoil the redraw).
std::wstring TargetLine(const std::wstring& name, size_t nameWidth, const std::wstring& text, size_t width);

// The text that turns a terminal showing shownLines block lines above the cursor into logText (whole
// lines, written where the block was) followed by the new block, the cursor again below it.
std::wstring RedrawBlock(size_t shownLines, const std::wstring& logText, const std::vector<std::wstring>& block);

}  // namespace velkor
