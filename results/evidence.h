// What makes a saved report, export or PDF stand on its own: which drive, when, which program.
#pragma once

#include <string>
#include <vector>

#include "common/localization.h"
#include "results/results_database.h"

namespace velkor {

// "Laufwerk: E:\ (Name: STICK, Dateisystem: FAT32)", "Kapazität: 4.0 GB, frei vor dem Test:
// 3.9 GB", "Test begonnen: 2026-12-11 07:30:00", "Programm: Velkor 1.0.0"; "unbekannt" for what
// the header does not know (a file from before these keys). German for files.
std::vector<std::wstring> EvidenceLines(const ResultsFileHeader& header, int language = kLanguageGerman);

// A run as a window title or a list entry names it: "E:\ STICK – 2026-12-11 05:32 – IN ORDNUNG" (the
// drive, its name where it has one, the start to the minute where known, the verdict's head).
// Empty where the header names no drive.
std::wstring RunTitle(const ResultsFileHeader& header, const Verdict& verdict, int language);

// RunTitle of a saved results file; its file name where the file names no drive or cannot be read.
std::wstring SavedRunTitle(const std::wstring& path, int language);

}  // namespace velkor
