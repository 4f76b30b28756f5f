#include "common/localization.h"

#include <vector>

#include "common/text_tables.h"
#include "platform/system.h"

namespace velkor {

int CurrentLanguage = kLanguageGerman;

namespace {

// The window's captions, list headers and the words of its rows. The other parts of the table
// live beside this file (common/texts_*.cpp).
constexpr TextRow kTextTable[] = {
    {L"app_title", {L"Velkor (USB/SD-Prüfer)", L"Velkor (USB/SD checker)", L"Velkor (vérificateur USB/SD)", L"Velkor (comprobador USB/SD)"}},
    {L"drives", {L"Laufwerke:", L"Drives:", L"Lecteurs :", L"Unidades:"}},
    {L"results", {L"Ergebnisse:", L"Results:", L"Résultats :", L"Resultados:"}},
    {L"open_explorer", {L"Explorer öffnen", L"Open Explorer", L"Ouvrir l'explorateur", L"Abrir Explorador"}},
    {L"language", {L"Sprache:", L"Language:", L"Langue :", L"Idioma:"}},
    {L"saved_tests", {L"Gespeicherte Tests:", L"Saved tests:", L"Tests enregistrés :", L"Guardados:"}},
    {L"export_format", {L"Export:", L"Export:", L"Exporter :", L"Exportar:"}},
    {L"export_button", {L"Exportieren", L"Export", L"Exporter", L"Exportar"}},
    {L"selected_drive_none", {L"Ausgewähltes Laufwerk: -", L"Selected drive: -", L"Lecteur sélectionné : -", L"Unidad seleccionada: -"}},
    {L"target_prefix", {L"Ziel: ", L"Target: ", L"Cible : ", L"Destino: "}},
    {L"test_size", {L"Testgröße (MB):", L"Test size (MB):", L"Taille test (Mo) :", L"Prueba (MB):"}},
    {L"block_size", {L"Blockgröße (KB):", L"Block size (KB):", L"Bloc (Ko) :", L"Bloque (KB):"}},
    {L"reserve_free", {L"Rest frei (MB):", L"Keep free (MB):", L"Libre restant (Mo) :", L"Libre (MB):"}},
    {L"test_points", {L"Testpunkte:", L"Test points:", L"Points de test :", L"Puntos:"}},
    {L"profile", {L"Profil:", L"Profile:", L"Profil :", L"Perfil:"}},
    {L"partial", {L"Teilbereich testen", L"Test partial range", L"Tester une zone", L"Probar zona parcial"}},
    {L"start_mb", {L"Start (MB):", L"Start (MB):", L"Début (Mo) :", L"Inicio (MB):"}},
    {L"range_mb", {L"Bereich (MB):", L"Range (MB):", L"Zone (Mo) :", L"Rango (MB):"}},
    {L"delete_after", {L"Testdatei am Ende nach Sicherheitsabfrage löschen", L"Delete test files at the end after confirmation", L"Supprimer les fichiers de test après confirmation", L"Borrar archivos al final con confirmación"}},
    {L"start", {L"Testen", L"Test", L"Tester", L"Probar"}},
    {L"stop", {L"Stop", L"Stop", L"Arrêter", L"Parar"}},
    {L"diag_log", {L"Diagnose-Log:", L"Diagnostic log:", L"Journal diagnostic :", L"Registro diagnóstico:"}},
    {L"ready", {L"Bereit", L"Ready", L"Prêt", L"Listo"}},
    {L"col_drive", {L"Laufwerk", L"Drive", L"Lecteur", L"Unidad"}},
    {L"col_name", {L"Name", L"Name", L"Nom", L"Nombre"}},
    {L"col_fs", {L"Dateisystem", L"File system", L"Système", L"Sistema"}},
    {L"col_total", {L"Gesamt", L"Total", L"Total", L"Total"}},
    {L"col_free", {L"Frei", L"Free", L"Libre", L"Libre"}},
    {L"col_free_pct", {L"Frei %", L"Free %", L"Libre %", L"Libre %"}},
    {L"col_bus", {L"Anschluss", L"Connection", L"Connexion", L"Conexión"}},
    {L"col_status", {L"Status", L"Status", L"État", L"Estado"}},
    {L"col_access", {L"Art des Zugriffs", L"Access type", L"Type d'accès", L"Tipo acceso"}},
    {L"col_worker", {L"Worker", L"Workers", L"Tâches", L"Hilos"}},
    {L"col_block", {L"Block (KB)", L"Block (KB)", L"Bloc (Ko)", L"Bloque (KB)"}},
    {L"col_size", {L"Größe", L"Size", L"Taille", L"Tamaño"}},
    {L"col_mbps", {L"MB/s", L"MB/s", L"Mo/s", L"MB/s"}},
    {L"col_verified", {L"Geprüft", L"Verified", L"Vérifié", L"Verificado"}},
    {L"col_errors", {L"Fehler", L"Errors", L"Erreurs", L"Errores"}},
    {L"col_result", {L"Ergebnis", L"Result", L"Résultat", L"Resultado"}},
    {L"recommendation", {L"Empfehlung", L"Recommendation", L"Recommandation", L"Recomendación"}},
    {L"cancelled", {L"abgebrochen", L"cancelled", L"annulé", L"cancelado"}},
    {L"error", {L"Fehler", L"Error", L"Erreur", L"Error"}},
    {L"ok", {L"OK", L"OK", L"OK", L"OK"}},
    {L"yes", {L"ja", L"yes", L"oui", L"sí"}},
    {L"no", {L"nein", L"no", L"non", L"no"}},
    {L"write_protect", {L"Schreibschutz", L"Write-protected", L"Protégé", L"Protegido"}},
    {L"writable", {L"Schreibbar", L"Writable", L"Inscriptible", L"Escribible"}},
    {L"no_name", {L"ohne Namen", L"no name", L"sans nom", L"sin nombre"}},
    {L"unknown", {L"unbekannt", L"unknown", L"inconnu", L"desconocido"}},
    {L"worker_warn", {L"Warnung: mindestens 90% aller Kerne ausgewählt, System kann langsamer werden.", L"Warning: at least 90% of all cores selected, the system may slow down.", L"Attention : au moins 90% des cœurs sont sélectionnés, le système peut ralentir.", L"Aviso: al menos 90% de los núcleos seleccionados, el sistema puede ir más lento."}},
    {L"worker_clamp", {L"Ein Kern bleibt frei: Wert wird beim Start begrenzt.", L"One core stays free: value will be limited on start.", L"Un cœur reste libre : la valeur sera limitée au démarrage.", L"Un núcleo queda libre: el valor se limitará al iniciar."}},
    {L"locked_status", {L"Test läuft: Einstellungen sind bis zum Ende gesperrt.", L"Test running: settings are locked until completion.", L"Test en cours : réglages verrouillés jusqu'à la fin.", L"Prueba en curso: ajustes bloqueados hasta finalizar."}},
    {L"export_done", {L"Export geschrieben: ", L"Export written: ", L"Export écrit : ", L"Export escrito: "}},
    {L"export_empty", {L"Es sind keine Ergebnisse zum Exportieren vorhanden.", L"There are no results to export.", L"Aucun résultat à exporter.", L"No hay resultados para exportar."}},
    {L"entry_removed", {L"Ergebniseintrag aus der Ansicht entfernt. Die JSON-Datenbankdatei bleibt erhalten.", L"Result entry removed from the view. The JSON database file is kept.", L"Entrée retirée de la vue. Le fichier JSON est conservé.", L"Entrada quitada de la vista. El archivo JSON se conserva."}},
    {L"tooltip_common", {L"Hinweis anzeigen: Dieses Feld ist während eines Tests gesperrt.", L"Hint: this field is locked while a test is running.", L"Astuce : ce champ est verrouillé pendant un test.", L"Ayuda: este campo queda bloqueado durante una prueba."}},
    {L"random_points", {L"Testpunkte ab 4 zufällig", L"Random points from 4", L"Points aléatoires dès 4", L"Puntos aleatorios desde 4"}},
    {L"benchmark", {L"Methodentest vorher", L"Run method test first", L"Test méthode avant", L"Probar método antes"}},
    {L"use_fastest", {L"Schnellste Variante übernehmen", L"Use fastest variant", L"Utiliser le plus rapide", L"Usar variante rápida"}},
    {L"show_benchmark", {L"Methodentest anzeigen", L"Show method test", L"Afficher test méthode", L"Mostrar prueba método"}},
    {L"hide_benchmark", {L"Methodentest verbergen", L"Hide method test", L"Masquer test méthode", L"Ocultar prueba método"}},
    {L"verify_only", {L"Nur prüfen", L"Verify only", L"Vérifier seul", L"Sólo verificar"}},
    {L"settings_show", {L"Einstellungen anzeigen", L"Show settings", L"Afficher réglages", L"Mostrar ajustes"}},
    {L"settings_hide", {L"Einstellungen verbergen", L"Hide settings", L"Masquer réglages", L"Ocultar ajustes"}},
    {L"open_results", {L"Ergebnisordner öffnen", L"Open results folder", L"Ouvrir dossier résultats", L"Abrir resultados"}},
    {L"system_volume", {L"System", L"System", L"Système", L"Sistema"}},
    {L"diagnosis_title", {L"Blockkarte und Geschwindigkeit", L"Block map and speed", L"Carte des blocs et vitesse", L"Mapa de bloques y velocidad"}},
    {L"quorvel_takes_over", {L"Quorvel-Modus: füllt den freien Speicher; Testgröße, Rest, Teilbereich, Methodentest und Löschen sind vorgegeben.", L"Quorvel mode: fills the free space; test size, reserve, partial range, method test and deletion are fixed.", L"Mode Quorvel : remplit l'espace libre ; taille, réserve, plage, test méthode et suppression sont imposés.", L"Modo Quorvel: llena el espacio libre; tamaño, reserva, rango, prueba de método y borrado son fijos."}},
    {L"hint_1010", {L"Test auf dem ausgewählten Laufwerk starten (F5).", L"Start a test on the selected drive (F5).", L"Lancer un test sur le lecteur sélectionné (F5).", L"Iniciar una prueba en la unidad seleccionada (F5)."}},
    {L"hint_1011", {L"Laufenden Test stoppen (Esc).", L"Stop the running test (Esc).", L"Arrêter le test en cours (Échap).", L"Detener la prueba en curso (Esc)."}},
};

// The parts joined once, in their fixed order: the first matching row wins.
const std::vector<TextRow>& AllRows() {
  static const std::vector<TextRow> rows = [] {
    std::vector<TextRow> all(std::begin(kTextTable), std::end(kTextTable));
    for (const TextTablePart& part : {MenuTextRows(), HintTextRows(), BoxTextRows(), StatusTextRows(), ReportTextRows(),
                                         DiagnosisTextRows(), CliTextRows()}) {
      all.insert(all.end(), part.rows, part.rows + part.count);
    }
    return all;
  }();
  return rows;
}

int Column(int language) { return language >= 0 && language < kLanguageCount ? language : kLanguageGerman; }

constexpr const wchar_t* kLanguageNames[kLanguageCount] = {L"Deutsch", L"English", L"Fran\u00e7ais",
                                                           L"Espa\u00f1ol"};

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool IsCode(std::wstring_view value, const wchar_t (&code)[3]) {
  return value.size() == 2 && FoldAscii(value[0]) == code[0] && FoldAscii(value[1]) == code[1];
}

}  // namespace

const TextRow* TextTableRows() { return AllRows().data(); }

size_t TextTableRowCount() { return AllRows().size(); }

std::wstring TranslateIn(std::wstring_view key, int language) {
  for (const TextRow& row : AllRows()) {
    if (key == row.key) return row.texts[Column(language)];
  }
  return std::wstring(key);
}

std::wstring Translate(std::wstring_view key) { return TranslateIn(key, CurrentLanguage); }

std::wstring FormatTextIn(std::wstring_view key, int language, std::initializer_list<std::wstring_view> args) {
  const std::wstring pattern = TranslateIn(key, language);
  std::wstring text;
  text.reserve(pattern.size() + 32);
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t n = i + 2 < pattern.size() && pattern[i] == L'{' && pattern[i + 2] == L'}' &&
                             pattern[i + 1] >= L'1' && pattern[i + 1] <= L'9'
                         ? static_cast<size_t>(pattern[i + 1] - L'1')
                         : args.size();
    if (n < args.size()) {
      text += *(args.begin() + n);
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::wstring FormatText(std::wstring_view key, std::initializer_list<std::wstring_view> args) {
  return FormatTextIn(key, CurrentLanguage, args);
}

namespace {

// Matches text against a German pattern with "{1}" ... "{9}": the literal pieces in order, each
// placeholder taking what lies between them. A pattern must open with a literal piece.
bool MatchPattern(std::wstring_view pattern, std::wstring_view text, std::vector<std::wstring>* captures) {
  std::vector<std::wstring_view> pieces;
  std::vector<int> slots;
  size_t start = 0;
  for (size_t i = 0; i + 2 < pattern.size(); ++i) {
    if (pattern[i] == L'{' && pattern[i + 2] == L'}' && pattern[i + 1] >= L'1' && pattern[i + 1] <= L'9') {
      pieces.push_back(pattern.substr(start, i - start));
      slots.push_back(pattern[i + 1] - L'1');
      start = i + 3;
      i += 2;
    }
  }
  if (slots.empty() || pieces[0].empty()) return false;
  pieces.push_back(pattern.substr(start));
  if (text.substr(0, pieces[0].size()) != pieces[0]) return false;
  captures->assign(9, std::wstring());
  size_t at = pieces[0].size();
  for (size_t k = 0; k < slots.size(); ++k) {
    const std::wstring_view next = pieces[k + 1];
    const bool last = k + 1 == slots.size();
    size_t end;
    if (last) {
      if (text.size() < at + next.size() || text.substr(text.size() - next.size()) != next) return false;
      end = text.size() - next.size();
    } else {
      end = next.empty() ? std::wstring_view::npos : text.find(next, at);
      if (end == std::wstring_view::npos) return false;
    }
    (*captures)[static_cast<size_t>(slots[k])] = std::wstring(text.substr(at, end - at));
    at = end + next.size();
  }
  return true;
}

std::wstring ExactGerman(std::wstring_view german, int language) {
  for (const TextRow& row : AllRows()) {
    if (german == row.texts[kLanguageGerman]) return row.texts[Column(language)];
  }
  return std::wstring(german);
}

}  // namespace

std::wstring LocalizeGermanText(std::wstring_view german, int language) {
  for (const TextRow& row : AllRows()) {
    if (german == row.texts[kLanguageGerman]) return row.texts[Column(language)];
  }
  std::vector<std::wstring> parts;
  for (const TextRow& row : AllRows()) {
    if (!MatchPattern(row.texts[kLanguageGerman], german, &parts)) continue;
    // The values keep their own words where the table knows them (a profile name).
    for (std::wstring& part : parts) part = ExactGerman(part, language);
    return FormatTextIn(row.key, language, {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6], parts[7], parts[8]});
  }
  return std::wstring(german);
}

std::wstring Localize(std::wstring_view german) { return LocalizeGermanText(german, CurrentLanguage); }

int LanguageOfPrimaryLanguageId(uint16_t primaryLanguage) {
  switch (primaryLanguage & 0x3FF) {
    case 0x07: return kLanguageGerman;
    case 0x0C: return kLanguageFrench;
    case 0x0A: return kLanguageSpanish;
    default: return kLanguageEnglish;
  }
}

int DefaultLanguage() { return LanguageOfPrimaryLanguageId(platform::UserInterfaceLanguage()); }

int LanguageFromCode(std::wstring_view code, int platformDefault) {
  if (code.empty()) return platformDefault;
  if (IsCode(code, L"de")) return kLanguageGerman;
  if (IsCode(code, L"fr")) return kLanguageFrench;
  if (IsCode(code, L"es")) return kLanguageSpanish;
  return kLanguageEnglish;
}

const wchar_t* LanguageCode(int language) {
  switch (language) {
    case kLanguageGerman: return L"de";
    case kLanguageFrench: return L"fr";
    case kLanguageSpanish: return L"es";
    default: return L"en";
  }
}

const wchar_t* LanguageName(int language) {
  return language >= 0 && language < kLanguageCount ? kLanguageNames[language] : L"";
}

}  // namespace velkor
