#include "pdf/help_html.h"

#include <initializer_list>
#include <string_view>
#include <utility>

namespace velkor {
namespace {

// The style sheet, one line each; hint, warn and kbd are kept for texts that may use them.
constexpr const wchar_t* kStyleLines[] = {
    L"body{font-family:Segoe UI,Tahoma,Arial,sans-serif;background:#f0f0f0;color:#111;margin:0;padding:22px;"
    L"line-height:1.45}",
    L".page{max-width:980px;margin:auto;background:white;border:1px solid #9f9f9f;"
    L"box-shadow:0 2px 8px rgba(0,0,0,.18)}"
    L".header{background:linear-gradient(#fefefe,#d9e8fb);border-bottom:1px solid #7f9db9;padding:18px 22px}",
    L"h1{font-size:24px;margin:0 0 4px 0}"
    L"h2{font-size:18px;border-bottom:1px solid #c8c8c8;margin:24px 0 8px;padding-bottom:4px}"
    L"h3{font-size:15px;margin:16px 0 5px}",
    L".content{padding:18px 22px}"
    L".hint{background:#fff8d8;border:1px solid #d6c36a;padding:10px;margin:12px 0}"
    L".good{background:#e7f7e7;border:1px solid #79bd79;padding:10px;margin:12px 0}"
    L".warn{background:#ffe8e8;border:1px solid #c77;padding:10px;margin:12px 0}",
    L"table{border-collapse:collapse;width:100%;margin:10px 0}"
    L"th,td{border:1px solid #c6c6c6;padding:6px 8px;text-align:left}"
    L"th{background:#e9eef7}"
    L".kbd{font-family:Consolas,monospace;background:#eee;border:1px solid #bbb;padding:1px 4px}",
};

constexpr wchar_t kSubtitle[] =
    L"USB-/SD-Prüfer im Windows-7-Stil: Laufwerk sicher finden, schnell vorprüfen, danach auf Wunsch "
    L"vollständig prüfen.";

using Pair = std::pair<std::wstring_view, std::wstring_view>;

// Every text goes through here, so a menu path such as "Datei > Explorer öffnen" stays text.
std::wstring Escape(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c); break;
    }
  }
  return out;
}

struct Page {
  std::wstring html;

  void Line(std::wstring_view markup) {
    html += markup;
    html += L'\n';
  }
  void Element(std::wstring_view tag, std::wstring_view text) {
    Line(L"<" + std::wstring(tag) + L">" + Escape(text) + L"</" + std::wstring(tag) + L">");
  }
  void Heading(std::wstring_view text) { Element(L"h2", text); }
  void Paragraph(std::wstring_view text) { Element(L"p", text); }
  void GoodBox(std::wstring_view lead, std::wstring_view text) {
    Line(L"<div class=\"good\"><b>" + Escape(lead) + L"</b> " + Escape(text) + L"</div>");
  }
  void List(std::wstring_view tag, std::initializer_list<std::wstring_view> items) {
    Line(L"<" + std::wstring(tag) + L">");
    for (std::wstring_view item : items) Element(L"li", item);
    Line(L"</" + std::wstring(tag) + L">");
  }
  void Table(Pair header, std::initializer_list<Pair> rows) {
    Line(L"<table>");
    Line(L"<tr><th>" + Escape(header.first) + L"</th><th>" + Escape(header.second) + L"</th></tr>");
    for (const Pair& row : rows) {
      Line(L"<tr><td>" + Escape(row.first) + L"</td><td>" + Escape(row.second) + L"</td></tr>");
    }
    Line(L"</table>");
  }
};

void WriteHead(Page& page) {
  page.Line(L"<!doctype html>");
  page.Line(L"<html lang=\"de\">");
  page.Line(L"<head>");
  page.Line(L"<meta charset=\"utf-8\">");
  page.Line(L"<title>Velkor Hilfe</title>");
  page.Line(L"<style>");
  for (const wchar_t* rule : kStyleLines) page.Line(rule);
  page.Line(L"</style>");
  page.Line(L"</head>");
  page.Line(L"<body>");
  page.Line(L"<div class=\"page\"><div class=\"header\"><h1>Velkor Hilfe</h1><div>" + Escape(kSubtitle) +
            L"</div></div><div class=\"content\">");
}

void WriteSections(Page& page) {
  page.Heading(L"Warum dieses Programm statt nur Quorvel?");
  page.Paragraph(
      L"Quorvel schreibt Testdateien in den freien Speicher eines Laufwerks und liest sie danach wieder "
      L"zurück. Dieses Programm behält genau dieses Prinzip bei und ergänzt Komfort und Sicherheit für "
      L"Rechner, an denen viele Laufwerke hängen.");
  page.GoodBox(L"Besseres Finden der passenden Partition:",
               L"Die Laufwerke erscheinen in einer Tabelle mit Name, Dateisystem, Gesamtgröße, freiem "
               L"Speicher, freiem Anteil in Prozent, Anschluss und Schreibstatus. Cloud-Laufwerke und "
               L"verbundene Netzlaufwerke werden gar nicht erst angeboten. So wird seltener die falsche "
               L"Partition getestet.");
  page.GoodBox(L"Schneller Schnell-Check:",
               L"Defekte, schreibgeschützte, gefälschte oder instabile Medien fallen oft schon in einem "
               L"Teilbereichstest oder im Methodentest auf, bevor ein stundenlanger Volltest beginnt.");
  page.Paragraph(
      L"Wichtig: Ein Schnell-Check ersetzt keinen vollständigen Echtheits- und Belastungstest. Für ein "
      L"verlässliches Urteil den Quorvel-Modus oder einen Volltest über den freien Speicher verwenden.");

  page.Heading(L"Was das Programm niemals tut");
  page.List(L"ul", {
      L"Es formatiert kein Laufwerk.",
      L"Es verändert keine Partitionstabelle.",
      L"Es schreibt nicht roh auf ein Gerät, sondern legt normale Testdateien an und liest sie zurück.",
      L"Es löscht Testdateien nur nach einer Sicherheitsfrage, und nur die, die dieser Test angelegt hat.",
  });

  page.Heading(L"Die Menüleiste");
  page.Table({L"Menü", L"Funktion"}, {
      {L"Datei", L"Ziellaufwerk im Explorer öffnen, Ergebnisse exportieren, Ergebnisordner öffnen, Beenden"},
      {L"Test", L"Test starten, laufenden Test stoppen, vorhandene Testdateien nur prüfen"},
      {L"Ansicht", L"Ausführliche Einstellungen und den Bereich des Methodentests anzeigen oder verbergen"},
      {L"Hilfe", L"Diese HTML-Hilfe oder die PDF-Hilfe öffnen"},
  });

  page.Heading(L"Normaler Ablauf");
  page.List(L"ol", {
      L"Das Laufwerk in der Tabelle auswählen und Name, Größe, freien Speicher und Anschluss prüfen.",
      L"Im Zweifel das Ziel über Datei > Explorer öffnen kontrollieren.",
      L"Bei verborgenen Einstellungen startet Test > Testen den Quorvel-Modus: der freie Speicher abzüglich "
      L"einer Sicherheitsreserve wird beschrieben und zurückgelesen.",
      L"Sind die Einstellungen geöffnet, verwendet der nächste Test die dort geänderten Einstellungen.",
      L"Während eines Tests sind die Einstellungen gesperrt, damit die Messung reproduzierbar bleibt.",
  });

  page.Heading(L"Profile");
  page.Table({L"Profil", L"Bedeutung"}, {
      {L"Quorvel-Modus", L"Klassischer Volltest: der freie Speicher wird mit Testdateien gefüllt und zurückgelesen."},
      {L"Zuverlässig", L"Vorsichtiger Zugriff mit Prüfung und Durchschreiben auf das Medium, wenn Sicherheit "
                       L"wichtiger ist als Geschwindigkeit."},
      {L"Ausgeglichen", L"Kompromiss zwischen Geschwindigkeit und Sicherheit."},
      {L"Turbo (aggressiv)", L"Schneller Methodentest zur Vorauswahl und für offensichtlich defekte Medien. Für "
                             L"ein endgültiges Urteil zusätzlich mit Zuverlässig oder im Quorvel-Modus prüfen."},
  });

  page.Heading(L"Teilbereichstest und Schnell-Check");
  page.Paragraph(
      L"Ein Teilbereichstest prüft nur ausgewählte Bereiche und eignet sich für verdächtige Karten. "
      L"Gefälschte Karten versagen oft erst jenseits einer Kapazitätsgrenze, deshalb bringen mehrere "
      L"Testpunkte mehr als nur der Anfang des Mediums.");

  page.Heading(L"Worker und Geschwindigkeit");
  page.Paragraph(
      L"Mehr Worker können schneller sein, müssen es aber nicht. Sticks und Karten haben oft einen "
      L"begrenzten Controller, und zu viele parallele Zugriffe bremsen ihn aus. Das Programm lässt "
      L"mindestens einen CPU-Kern frei und warnt, wenn die Auswahl sehr hoch ist.");

  page.Heading(L"Ergebnisse, Log und Export");
  page.Paragraph(
      L"Die Ergebnisse werden als JSON im Programmordner gespeichert; die sichtbaren Ergebnisse lassen sich "
      L"exportieren. Das Diagnose-Log hält Laufwerke, Einstellungen, Dateien, Varianten, Fehler und "
      L"Abbrüche fest, damit sich später nachvollziehen lässt, was getan wurde.");

  page.Heading(L"Warnung: Zielpartition ist nicht leer");
  page.Paragraph(
      L"Ist die gewählte Zielpartition nicht zu mindestens 99% frei, fragt das Programm noch einmal nach. "
      L"Das verhindert nicht jeden Bedienfehler, macht aber deutlich, dass auf dem Laufwerk wahrscheinlich "
      L"schon Daten liegen.");

  page.Heading(L"Empfehlung");
  page.Paragraph(
      L"Bei einem unbekannten Medium zuerst das Laufwerk sorgfältig auswählen, bei offensichtlichem Verdacht "
      L"einen Schnell-Check machen und vor Verkauf, Archivierung oder für ein echtes Urteil über die "
      L"Zuverlässigkeit anschließend einen vollständigen Quorvel-Modus laufen lassen.");
}

}  // namespace

std::wstring BuildHelpHtml() {
  Page page;
  WriteHead(page);
  WriteSections(page);
  page.html += L"</div></div></body></html>";
  return std::move(page.html);
}

}  // namespace velkor
