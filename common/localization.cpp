#include "common/localization.h"

#include "platform/system.h"

namespace velkor {

int CurrentLanguage = kLanguageGerman;

namespace {

// Rows 50 and 51 (worker_warn, worker_clamp) are looked up by no operation: the worker-count
// hints show their German wording in every language. They stay so the table is complete.
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
    {L"col_worker", {L"Worker", L"Workers", L"Workers", L"Workers"}},
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
    {L"hint_start", {L"Test auf dem ausgewählten Laufwerk starten (F5).", L"Start a test on the selected drive (F5).", L"Lancer un test sur le lecteur sélectionné (F5).", L"Iniciar una prueba en la unidad seleccionada (F5)."}},
    {L"hint_stop", {L"Laufenden Test stoppen (Esc).", L"Stop the running test (Esc).", L"Arrêter le test en cours (Échap).", L"Detener la prueba en curso (Esc)."}},
};

static_assert(sizeof(kTextTable) / sizeof(kTextTable[0]) == 70, "the text table has 70 rows");

constexpr const wchar_t* kLanguageNames[kLanguageCount] = {L"Deutsch", L"English", L"Fran\u00e7ais",
                                                           L"Espa\u00f1ol"};

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool IsCode(std::wstring_view value, const wchar_t (&code)[3]) {
  return value.size() == 2 && FoldAscii(value[0]) == code[0] && FoldAscii(value[1]) == code[1];
}

}  // namespace

const TextRow* TextTableRows() { return kTextTable; }

size_t TextTableRowCount() { return sizeof(kTextTable) / sizeof(kTextTable[0]); }

std::wstring TranslateIn(std::wstring_view key, int language) {
  for (const TextRow& row : kTextTable) {
    if (key == row.key) {
      const int column = language >= 0 && language < kLanguageCount ? language : kLanguageGerman;
      return row.texts[column];
    }
  }
  return std::wstring(key);
}

std::wstring Translate(std::wstring_view key) { return TranslateIn(key, CurrentLanguage); }

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
