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

}  // namespace velkor
