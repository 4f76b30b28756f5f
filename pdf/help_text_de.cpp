#include "pdf/help_text.h"

namespace velkor {
namespace {

constexpr const wchar_t* kLines[] = {
    L"# Was Velkor macht",
    L"Velkor prüft, ob ein USB-Stick, eine Speicherkarte oder ein anderes Laufwerk wirklich so viel speichert, wie es angibt, und ob es die Daten unverändert zurückgibt. Dazu füllt es den freien Speicher mit gewöhnlichen Testdateien, liest danach jeden Block wieder vom Laufwerk und vergleicht ihn mit dem, was geschrieben wurde.",
    L"Am Ende zeigt Velkor, wie viel geschrieben und wie viel fehlerfrei zurückgelesen wurde, wie viele Fehler auftraten, wie zuverlässig das Laufwerk ist und wie schnell es war. Als geprüft zählt nur, was wirklich vom Laufwerk zurückgelesen und verglichen wurde.",
    L"# Was Velkor niemals tut",
    L"- Es formatiert kein Laufwerk und verändert keine Partitionen.",
    L"- Es schreibt nicht direkt auf das Gerät, sondern legt nur normale Dateien im freien Speicher an.",
    L"- Vorhandene Dateien liest und verändert es nicht.",
    L"- Es löscht nur die Testdateien, die der Test selbst angelegt hat, und erst nach einer Sicherheitsabfrage.",
    L"# Der erste Test",
    L"1. Stecken Sie den Stick oder die Karte ein. Das Laufwerk erscheint in der Laufwerksliste; Netz- und Cloud-Laufwerke werden dort nicht angeboten.",
    L"2. Wählen Sie das Laufwerk aus und vergleichen Sie die Zeile unter der Liste: Laufwerksbuchstabe, Name, Größe, freier Speicher und Anschluss. Im Zweifel zeigt Datei > Explorer öffnen, was darauf liegt.",
    L"3. Sichern Sie wichtige Daten vorher auf einem anderen Laufwerk. Velkor verändert sie nicht, aber ein gefälschtes Laufwerk kann beim Beschreiben ältere Daten überschreiben.",
    L"4. Wählen Sie Test > Testen (F5). Ohne geöffnete Einstellungen füllt Velkor den ganzen freien Speicher bis auf eine kleine Reserve und prüft danach alles.",
    L"5. Warten Sie auf den Bericht. Die Statuszeile zeigt den Fortschritt; Test > Stop (Esc) bricht den Test ab. Große Laufwerke brauchen Stunden.",
    L"6. Zum Schluss fragt Velkor, ob die Testdateien gelöscht werden sollen. Mit Ja ist der Speicher danach wieder frei.",
    L"# Das Ergebnis lesen",
    L"- 0 Fehler und Zuverlässigkeit 100 %: Alles Geschriebene kam unverändert zurück. Das Laufwerk hält im geprüften Bereich, was es verspricht.",
    L"- Fehler gefunden: Das Laufwerk hat Daten verloren oder verfälscht. Vertrauen Sie ihm keine Daten an.",
    L"- Abgebrochen: Der Test endete vorzeitig, weil Sie ihn gestoppt haben, das Laufwerk entfernt wurde oder das Dateisystem keine so große Datei annimmt. Über den Rest des Laufwerks sagt das nichts.",
    L"- Prüfung unvollständig: Nicht alles wurde zurückgelesen. Das ist kein Beleg dafür, dass das Laufwerk in Ordnung ist.",
    L"# Einen gefälschten Stick erkennen",
    L"Gefälschte Sticks und Karten melden dem Computer mehr Speicher, als sie wirklich haben. Das Schreiben scheint zu gelingen, aber alles jenseits der echten Grenze geht verloren oder überschreibt ältere Daten. Typische Zeichen im Ergebnis:",
    L"- Die Fehler beginnen erst nach einer bestimmten Menge, und ab dort ist fast jeder Block falsch.",
    L"- Zurück gelesen/geprüft ist viel weniger als geschrieben, oder die Zahl der Fehler ist sehr hoch.",
    L"- Die Schreibgeschwindigkeit bricht nach einer Weile stark ein, oder der Preis war für diese Größe auffällig niedrig.",
    L"Nur ein Test über den gesamten freien Speicher deckt eine Fälschung sicher auf. Ein kurzer Test mit kleiner Testgröße prüft nur den Anfang, und dort hat auch eine Fälschung echten Speicher.",
    L"Findet der Test fehlerhafte Blöcke, enthält der Bericht eine Diagnose: den Befund, die geschätzte nutzbare Kapazität und wie viele Blöcke überschrieben, leer, beschädigt oder unlesbar zurückkamen. Wiederholt sich das Medium nach einer bestimmten Menge oder kommen die Daten ab einer Stelle leer zurück, ist das das typische Bild einer Fälschung; die nutzbare Kapazität ist dann ihre echte Größe. Ansicht > Blockkarte und Geschwindigkeit zeigt, wo auf dem Medium die Fehler liegen und wie sich die Geschwindigkeit über den Test verändert hat.",
    L"# Was die Einstellungen bedeuten",
    L"Ansicht > Einstellungen anzeigen öffnet die genauen Einstellungen. Solange sie angezeigt werden, verwendet Testen genau die dort eingestellten Werte. Werden sie wieder verborgen, prüft Testen den ganzen freien Speicher bis auf eine kleine Reserve, im Profil Zuverlässig und mit einem kurzen Methodentest vorher; Testgröße, Rest frei und Teilbereich gelten dann nicht.",
    L"| Einstellung | Bedeutung",
    L"| Testgröße (MB) | Wie viel insgesamt geschrieben und geprüft wird. Für eine Echtheitsprüfung den ganzen freien Speicher wählen.",
    L"| Blockgröße (KB) | In welchen Stücken geschrieben und gelesen wird. Größere Blöcke sind meist schneller; am Urteil ändert die Blockgröße nichts.",
    L"| Worker | Wie viele Schreib- und Lesevorgänge gleichzeitig laufen. Mehr ist nicht immer schneller; ein Prozessorkern bleibt immer frei.",
    L"| Rest frei (MB) | Wie viel freier Speicher auf dem Laufwerk übrig bleiben soll.",
    L"| Testpunkte | An wie vielen Stellen der Methodentest misst. Mehr Punkte prüfen mehr Bereiche, dauern aber länger.",
    L"| Profil | Die Art des Zugriffs (siehe Profile).",
    L"| Methodentest vorher | Misst vor dem eigentlichen Test mehrere Varianten aus Blockgröße und Workern.",
    L"| Schnellste Variante übernehmen | Verwendet die schnellste fehlerfreie Variante des Methodentests für den folgenden Volltest.",
    L"| Teilbereich testen | Prüft nur einen Ausschnitt: ab Start (MB) die Länge Bereich (MB). Gut bei einem schnellen Verdacht, aber kein Ersatz für den vollständigen Test.",
    L"| Testdatei am Ende löschen | Fragt nach dem Test, ob die angelegten Testdateien gelöscht werden sollen.",
    L"# Profile",
    L"| Profil | Bedeutung",
    L"| Quorvel-Modus | Der vollständige Test: füllt den freien Speicher bis auf eine Reserve und liest alles zurück. Die richtige Wahl, um die Echtheit zu prüfen.",
    L"| Zuverlässig | Vorsichtiger Zugriff, der jeden Block sofort auf das Laufwerk schreibt. Langsamer, aber am aussagekräftigsten.",
    L"| Ausgeglichen | Ein Mittelweg zwischen Geschwindigkeit und Vorsicht.",
    L"| Turbo (aggressiv) | Schnelle Vorprüfung, die offensichtlich defekte Laufwerke früh findet. Für ein endgültiges Urteil danach vollständig prüfen.",
    L"# Die Menüs",
    L"| Menü | Inhalt",
    L"| Datei | Laufwerk im Explorer öffnen, Ergebnisse exportieren, Ergebnisordner öffnen, Beenden",
    L"| Test | Testen (F5), Stop (Esc), Nur prüfen: vorhandene Testdateien nur lesen und vergleichen",
    L"| Ansicht | Einstellungen und Methodentest anzeigen oder verbergen, Blockkarte und Geschwindigkeit eines Tests mit fehlerhaften Blöcken",
    L"| Hilfe | Diese Hilfe als HTML-Seite oder PDF, Über Velkor",
    L"# Wenn ein Laufwerk Fehler zeigt",
    L"1. Speichern Sie nichts Wichtiges mehr darauf. Kopieren Sie Daten, die noch darauf liegen, sofort auf ein anderes Laufwerk.",
    L"2. Wiederholen Sie den Test an einem anderen USB-Anschluss oder mit einem anderen Kartenleser. Bleiben die Fehler dann aus, lag es am Anschluss oder am Leser.",
    L"3. Treten die Fehler wieder auf, ist das Laufwerk defekt oder gefälscht. Speichern Sie den Bericht (Ja im Ergebnisfenster) oder exportieren Sie die Ergebnisse als Beleg.",
    L"4. Geben Sie ein neues Laufwerk beim Händler zurück und legen Sie den Bericht bei. Formatieren repariert ein gefälschtes Laufwerk nicht: Die falsche Größe bleibt.",
    L"# Ergebnisse, Log und Export",
    L"Jeder Test wird als JSON-Datei im Ergebnisordner gespeichert (Datei > Ergebnisordner öffnen); die Auswahl Gespeicherte Tests lädt ihn wieder in die Liste. Datei > Ergebnisse exportieren schreibt die angezeigten Ergebnisse als CSV, Excel, Text, JSON oder PDF. Das Diagnose-Log hält fest, was geschah: Laufwerk, Einstellungen, Dateien, Fehler und Stopps.",
};

}  // namespace

HelpText GermanHelpText() {
  return {L"de", L"Velkor Hilfe",
          L"Prüft, ob ein USB-Stick, eine SD-Karte oder ein anderes Laufwerk wirklich hält, was es verspricht.", kLines,
          sizeof(kLines) / sizeof(kLines[0])};
}

}  // namespace velkor
