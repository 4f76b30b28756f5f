// Finds German left in a text that a window shows in English, French or Spanish: letters only
// German uses, German words, or a German text of the table whose translation differs.
#pragma once

#include <cwctype>
#include <string>
#include <vector>

#include "common/localization.h"

namespace velkor::testing {

// What gives the text away as German in language; empty when nothing does (always for German).
inline std::vector<std::wstring> GermanLeftIn(const std::wstring& text, int language) {
  std::vector<std::wstring> found;
  if (language == kLanguageGerman) return found;
  for (wchar_t c : text) {
    if (std::wstring(L"äöüßÄÖÜ").find(c) != std::wstring::npos) {
      found.push_back(std::wstring(1, c));
      break;
    }
  }
  static const wchar_t* const kWords[] = {
      L"und", L"oder", L"nicht", L"wird", L"werden", L"wurde", L"ist", L"der", L"die", L"das", L"den", L"dem",
      L"mit", L"für", L"von", L"zu", L"frei", L"bleibt", L"Laufwerk", L"Laufwerke", L"Datei", L"Dateien",
      L"Fehler", L"Einstellungen", L"Ergebnis", L"Ergebnisse", L"Hilfe", L"Zusammenfassung", L"Anschluss",
      L"Bereit", L"Zuverlässigkeit", L"Ausgeglichen", L"Volltest", L"Testdatei", L"Speicher", L"geschrieben",
      L"geprüft", L"anzeigen", L"verbergen", L"öffnen", L"Beenden", L"Testen", L"Gestoppt", L"Fertig",
      L"Kerne", L"Warnung", L"Hinweis", L"Ziel", L"Sprache", L"ohne", L"Namen", L"unbekannt",
      L"Schreibbar", L"Schreibschutz", L"Ansicht", L"Wechselmedium", L"Direkt", L"Virtuell", L"aggressiv"};
  std::vector<std::wstring> words;
  std::wstring word;
  for (wchar_t c : text + L" ") {
    if (std::iswalnum(c) || (c >= 0xC0 && c != 0xD7 && c != 0xF7)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  for (const std::wstring& w : words) {
    for (const wchar_t* german : kWords) {
      if (w == german) found.push_back(w);
    }
  }
  // A whole German text of the table where this language has its own.
  for (size_t i = 0; i < TextTableRowCount(); ++i) {
    const TextRow& row = TextTableRows()[i];
    if (text == row.texts[kLanguageGerman] && text != row.texts[language]) found.push_back(row.key);
  }
  return found;
}

// The findings as one line for a failure message.
inline std::wstring JoinFindings(const std::vector<std::wstring>& found) {
  std::wstring line;
  for (const std::wstring& f : found) line += (line.empty() ? L"" : L", ") + f;
  return line;
}

}  // namespace velkor::testing
