#include "view/hint_texts.h"

#include "common/localization.h"

namespace velkor {
namespace {

struct Hint {
  int id;
  const wchar_t* text;
};

constexpr Hint kHints[] = {
    {1001, L"Laufwerksliste: sortierbare und verschiebbare Spalten; keine Cloud- oder Netzlaufwerke."},
    {1002, L"Gesamte Testmenge in MB. Für FAT32/SD-Karten sind kleinere Werte oft aussagekräftiger und sicherer."},
    {1003, L"Blockgröße in KB. Größer ist oft schneller, kleiner zeigt empfindliche Fehler genauer."},
    {1004, L"Anzahl paralleler Worker. Es bleibt immer mindestens ein CPU-Kern frei."},
    {1005, L"Testprofil: aggressiver, ausgewogen oder zuverlässiger Zugriff."},
    {1006, L"Nur einen Teilbereich der gewählten Testgröße verwenden."},
    {1015, L"Ausgewähltes Laufwerk im Explorer öffnen, damit der Anwender das Ziel prüfen kann."},
    {1016, L"Nur die von diesem Test erzeugten Dateien nach Sicherheitsfrage löschen."},
    {1019, L"Gewünschter freier Speicher, der auf dem Laufwerk übrig bleiben muss."},
    {1020, L"Ergebnistabelle: sortierbar. Entf entfernt Zeilen nur aus der Ansicht; JSON bleibt erhalten."},
    {1021, L"Anzahl verteilter Testpunkte. Mehr Punkte prüfen verschiedene Dateibereiche, dauern aber länger."},
    {1022, L"Sprache der Oberfläche. Die Auswahl wird automatisch gemerkt."},
    {1023, L"Gespeicherte JSON-Ergebnisdateien aus dem Programmverzeichnis anzeigen."},
    {1024, L"Exportformat für die aktuell angezeigten Ergebnisse auswählen."},
    {1025, L"Aktuelle Ergebnisansicht in den Exportordner schreiben."},
    {1028, L"Wenn mindestens 4 Testpunkte eingestellt sind, werden die Testpunkte zufällig über die Varianten verteilt."},
    {1029, L"Vor dem Volltest mehrere Methoden und Worker messen. Danach kann die schnellste Variante benutzt werden."},
    {1030, L"Die schnellste fehlerfreie Methodentest-Variante automatisch für den anschließenden Volltest verwenden."},
    {1031, L"Details zum Methodentest ein- oder ausklappen."},
    {1032, L"Vorhandene Testdateien nur lesen und prüfen, ohne neue Daten zu schreiben."},
    {1033, L"Quorvel-artige Zusammenfassung: geschrieben, zurück gelesen/geprüft, Fehler, Zuverlässigkeit und Empfehlung."},
    {1034, L"Alle genauen Einstellungen, Ergebnisliste, Exporte und gespeicherte Tests ein- oder ausklappen."},
    {1035, L"Öffnet den Ordner mit gespeicherten JSON-Ergebnissen im Explorer. Löschen passiert nur dort bewusst durch den Anwender."},
};

}  // namespace

const wchar_t* FixedHintForId(int id) {
  for (const Hint& hint : kHints) {
    if (hint.id == id) return hint.text;
  }
  return nullptr;
}

std::wstring ControlHintText(int id, const std::wstring& windowText) {
  if (const wchar_t* fixed = FixedHintForId(id)) return fixed;
  // The log, the status line and the progress bar have no hint: their text is the run's, and
  // they are never locked. Start and Stop say what they do; the selected-drive line and the
  // splitters are not locked either.
  if (id == 1012 || id == 1013 || id == 1036) return L"";
  if (id == 1010) return Translate(L"hint_start");
  if (id == 1011) return Translate(L"hint_stop");
  if (id == 1014 || id == 1026 || id == 1027) return windowText.substr(0, 255);
  const std::wstring common = Translate(L"tooltip_common");
  if (windowText.empty()) return common;
  return windowText.substr(0, 255) + L" - " + common;
}

}  // namespace velkor
