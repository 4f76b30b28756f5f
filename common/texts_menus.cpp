#include "common/text_tables.h"

namespace velkor {
namespace {

// Every menu's mnemonics (the letter after "&") differ within it, in each language; the menu bar
// counts as one menu. The shortcut keys ("\tF5") are added by the menu itself.
constexpr TextRow kRows[] = {
    {L"menu_file", {L"&Datei", L"&File", L"&Fichier", L"&Archivo"}},
    {L"menu_test", {L"&Test", L"&Test", L"&Test", L"&Prueba"}},
    {L"menu_view", {L"&Ansicht", L"&View", L"&Affichage", L"&Ver"}},
    {L"menu_help", {L"&Hilfe", L"&Help", L"A&ide", L"Ay&uda"}},

    {L"menu_explorer", {L"&Explorer öffnen", L"&Open in Explorer", L"Ouvrir dans l'&Explorateur", L"Abrir en el &Explorador"}},
    {L"menu_export", {L"Ergebnisse e&xportieren...", L"&Export results...", L"E&xporter les résultats...", L"E&xportar resultados..."}},
    {L"menu_open_results", {L"Ergebnis&ordner öffnen", L"Open results &folder", L"Ouvrir le &dossier des résultats", L"Abrir la &carpeta de resultados"}},
    {L"menu_exit", {L"&Beenden", L"E&xit", L"&Quitter", L"&Salir"}},

    {L"menu_start", {L"&Testen", L"&Start test", L"&Lancer le test", L"&Iniciar prueba"}},
    {L"menu_stop", {L"&Stop", L"St&op", L"&Arrêter", L"&Detener"}},
    {L"menu_verify_only", {L"&Nur prüfen", L"&Verify only", L"&Vérifier seulement", L"Solo &verificar"}},

    {L"menu_settings_show", {L"&Einstellungen anzeigen", L"Show &settings", L"Afficher les &réglages", L"Mostrar &ajustes"}},
    {L"menu_settings_hide", {L"&Einstellungen verbergen", L"Hide &settings", L"Masquer les &réglages", L"Ocultar &ajustes"}},
    {L"menu_method_show", {L"&Methodentest anzeigen", L"Show &method test", L"Afficher le test de &méthode", L"Mostrar prueba de &método"}},
    {L"menu_method_hide", {L"&Methodentest verbergen", L"Hide &method test", L"Masquer le test de &méthode", L"Ocultar prueba de &método"}},

    {L"menu_diagnosis", {L"&Blockkarte und Geschwindigkeit", L"&Block map and speed", L"&Carte des blocs et vitesse", L"Mapa de &bloques y velocidad"}},

    {L"menu_help_html", {L"&Hilfe anzeigen (HTML)", L"&Help (HTML)", L"&Aide (HTML)", L"Ay&uda (HTML)"}},
    {L"menu_help_pdf", {L"&PDF-Hilfe öffnen", L"Help as &PDF", L"Aide en P&DF", L"Ayuda en &PDF"}},
    {L"menu_about", {L"Ü&ber Velkor", L"&About Velkor", L"À &propos de Velkor", L"&Acerca de Velkor"}},

    {L"key_esc", {L"Esc", L"Esc", L"Échap", L"Esc"}},
    {L"menu_take_over", {L"In Einstellungen &übernehmen", L"&Use these settings", L"&Reprendre ces réglages", L"&Usar estos ajustes"}},
};

}  // namespace

TextTablePart MenuTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
