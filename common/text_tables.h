// The parts of the text table, one file each; common/localization.cpp joins them in this order.
#pragma once

#include <cstddef>

#include "common/localization.h"

namespace velkor {

struct TextTablePart {
  const TextRow* rows;
  size_t count;
};

// Menu bar, menu items (with their mnemonics) and the result list's context menu.
TextTablePart MenuTextRows();
// The controls' balloon and status-line hints, the worker texts and the tooltip title.
TextTablePart HintTextRows();
// Message boxes: titles, questions, warnings, refusals, the about box and the save dialog.
TextTablePart BoxTextRows();
// Status-line texts: progress, run ends, the test thread's "Fehler:" texts, the target line.
TextTablePart StatusTextRows();
// The report box, the summary field, profile, method and export-format names, drive words.
TextTablePart ReportTextRows();
// The diagnosis of bad blocks: report lines, block classes, the block map's chart.
TextTablePart DiagnosisTextRows();
// velkor-cli: its help, its argument errors and what it says on the terminal.
TextTablePart CliTextRows();

}  // namespace velkor
