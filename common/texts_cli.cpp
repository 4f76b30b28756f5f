#include "common/text_tables.h"

namespace velkor {
namespace {

// velkor-cli's own texts: its help, its argument errors and what it says on the terminal. The
// German column is its output before it spoke other languages, byte for byte.
constexpr TextRow kRows[] = {
    {L"cli_help_overview",
     {L"velkor-cli BEFEHL [Optionen]\n"
      L"Prüft USB-Sticks, SD-Karten und andere Laufwerke auf echte Kapazität und\n"
      L"Datenintegrität.\n\n"
      L"Befehle:\n"
      L"  test ZIEL...   Testdateien schreiben und prüfen\n"
      L"  verify ZIEL... Testdateien eines früheren Laufs prüfen\n"
      L"  export DATEI   Ergebnisdatei exportieren\n"
      L"  drives         Laufwerke anzeigen\n\n"
      L"Optionen:\n"
      L"  -h, --help     diese Hilfe\n"
      L"  --version      Version und Lizenz anzeigen\n"
      L"  --lang SPRACHE Sprache am Terminal: de, en, fr oder es\n\n"
      L"Hilfe zu einem Befehl: velkor-cli BEFEHL --help\n",
      L"velkor-cli COMMAND [options]\n"
      L"Checks USB sticks, SD cards and other drives for their real capacity and\n"
      L"data integrity.\n\n"
      L"Commands:\n"
      L"  test TARGET...   write test files and verify them\n"
      L"  verify TARGET... verify the test files of an earlier run\n"
      L"  export FILE      export a results file\n"
      L"  drives           show the drives\n\n"
      L"Options:\n"
      L"  -h, --help       this help\n"
      L"  --version        show the version and licence\n"
      L"  --lang LANGUAGE  language on the terminal: de, en, fr or es\n\n"
      L"Help on a command: velkor-cli COMMAND --help\n",
      L"velkor-cli COMMANDE [options]\n"
      L"Vérifie la capacité réelle et l'intégrité des données des clés USB, cartes SD\n"
      L"et autres lecteurs.\n\n"
      L"Commandes :\n"
      L"  test CIBLE...    écrire des fichiers de test et les vérifier\n"
      L"  verify CIBLE...  vérifier les fichiers de test d'une exécution précédente\n"
      L"  export FICHIER   exporter un fichier de résultats\n"
      L"  drives           afficher les lecteurs\n\n"
      L"Options :\n"
      L"  -h, --help       cette aide\n"
      L"  --version        afficher la version et la licence\n"
      L"  --lang LANGUE    langue du terminal : de, en, fr ou es\n\n"
      L"Aide sur une commande : velkor-cli COMMANDE --help\n",
      L"velkor-cli COMANDO [opciones]\n"
      L"Comprueba la capacidad real y la integridad de los datos de memorias USB,\n"
      L"tarjetas SD y otras unidades.\n\n"
      L"Comandos:\n"
      L"  test DESTINO...    escribir archivos de prueba y verificarlos\n"
      L"  verify DESTINO...  verificar los archivos de prueba de una ejecución anterior\n"
      L"  export ARCHIVO     exportar un archivo de resultados\n"
      L"  drives             mostrar las unidades\n\n"
      L"Opciones:\n"
      L"  -h, --help         esta ayuda\n"
      L"  --version          mostrar la versión y la licencia\n"
      L"  --lang IDIOMA      idioma del terminal: de, en, fr o es\n\n"
      L"Ayuda sobre un comando: velkor-cli COMANDO --help\n"}},
    {L"cli_help_test",
     {L"velkor-cli test ZIEL... [Optionen]\n"
      L"Füllt den freien Speicher von ZIEL mit Testdateien und prüft jeden Block.\n"
      L"Mehrere Ziele laufen nebeneinander und enden mit einer Übersicht.\n\n",
      L"velkor-cli test TARGET... [options]\n"
      L"Fills the free space of TARGET with test files and verifies every block.\n"
      L"Several targets run side by side and end with a summary.\n\n",
      L"velkor-cli test CIBLE... [options]\n"
      L"Remplit l'espace libre de CIBLE de fichiers de test et vérifie chaque bloc.\n"
      L"Plusieurs cibles sont testées côte à côte, puis récapitulées.\n\n",
      L"velkor-cli test DESTINO... [opciones]\n"
      L"Llena el espacio libre de DESTINO con archivos de prueba y verifica cada\n"
      L"bloque. Varios destinos se prueban a la vez y terminan con un resumen.\n\n"}},
    {L"cli_help_test_exit",
     {L"\nExit-Codes: 0 ohne Fehler, 1 Fehler gefunden oder abgebrochen,\n"
      L"2 ungültige Eingabe oder Vorprüfung gescheitert, 130 mit Strg+C gestoppt.\n"
      L"Mehrere Ziele: 0 alle OK, 1 eines mit Fehlern oder abgebrochen, sonst 2 eines\n"
      L"abgelehnt; 130 mit Strg+C.\n",
      L"\nExit codes: 0 no errors, 1 errors found or cancelled,\n"
      L"2 invalid input or pre-check failed, 130 stopped with Ctrl+C.\n"
      L"Several targets: 0 all OK, 1 one with errors or cancelled, otherwise 2 one\n"
      L"refused; 130 with Ctrl+C.\n",
      L"\nCodes de sortie : 0 sans erreur, 1 erreurs trouvées ou test annulé,\n"
      L"2 saisie invalide ou vérification préalable échouée, 130 arrêté par Ctrl+C.\n"
      L"Plusieurs cibles : 0 toutes OK, 1 une avec erreurs ou annulée, sinon 2 une\n"
      L"refusée ; 130 par Ctrl+C.\n",
      L"\nCódigos de salida: 0 sin errores, 1 errores encontrados o cancelado,\n"
      L"2 entrada no válida o comprobación previa fallida, 130 detenido con Ctrl+C.\n"
      L"Varios destinos: 0 todos OK, 1 alguno con errores o cancelado, si no 2 alguno\n"
      L"rechazado; 130 con Ctrl+C.\n"}},
    {L"cli_help_verify",
     {L"velkor-cli verify ZIEL... [Optionen]\n"
      L"Prüft die Testdateien eines früheren Laufs, ohne zu schreiben (\"Nur prüfen\").\n\n",
      L"velkor-cli verify TARGET... [options]\n"
      L"Verifies the test files of an earlier run without writing (\"Verify only\").\n\n",
      L"velkor-cli verify CIBLE... [options]\n"
      L"Vérifie, sans rien écrire, les fichiers de test d'une exécution précédente\n"
      L"(« Vérifier seul »).\n\n",
      L"velkor-cli verify DESTINO... [opciones]\n"
      L"Verifica los archivos de prueba de una ejecución anterior sin escribir\n"
      L"(\"Sólo verificar\").\n\n"}},
    {L"cli_help_verify_exit",
     {L"\nExit-Codes wie bei test.\n", L"\nExit codes as for test.\n", L"\nCodes de sortie : comme pour test.\n",
      L"\nCódigos de salida: como en test.\n"}},
    {L"cli_help_export",
     {L"velkor-cli export ERGEBNISSE.json --format FORMAT --output DATEI\n"
      L"Schreibt eine Ergebnisdatei in einem anderen Format.\n\n",
      L"velkor-cli export RESULTS.json --format FORMAT --output FILE\n"
      L"Writes a results file in another format.\n\n",
      L"velkor-cli export RESULTATS.json --format FORMAT --output FICHIER\n"
      L"Écrit un fichier de résultats dans un autre format.\n\n",
      L"velkor-cli export RESULTADOS.json --format FORMATO --output ARCHIVO\n"
      L"Escribe un archivo de resultados en otro formato.\n\n"}},
    {L"cli_help_drives",
     {L"velkor-cli drives\nZeigt die Laufwerke, die getestet werden können.\n\n",
      L"velkor-cli drives\nShows the drives that can be tested.\n\n",
      L"velkor-cli drives\nAffiche les lecteurs qui peuvent être testés.\n\n",
      L"velkor-cli drives\nMuestra las unidades que se pueden probar.\n\n"}},
    {L"cli_options", {L"Optionen:", L"Options:", L"Options :", L"Opciones:"}},
    {L"cli_default", {L"Standard:", L"Default:", L"Par défaut :", L"Por defecto:"}},
    {L"cli_this_help", {L"diese Hilfe", L"this help", L"cette aide", L"esta ayuda"}},
    {L"cli_value_file", {L"DATEI", L"FILE", L"FICHIER", L"ARCHIVO"}},
    {L"cli_value_format", {L"FORMAT", L"FORMAT", L"FORMAT", L"FORMATO"}},
    {L"cli_value_language", {L"SPRACHE", L"LANGUAGE", L"LANGUE", L"IDIOMA"}},
    {L"cli_opt_size_test", {L"Testmenge in MB", L"amount to test in MB", L"quantité à tester en Mo", L"cantidad a probar en MB"}},
    {L"cli_def_size_test",
     {L"der freie Speicher minus 32 MB (ohne --profile im Quorvel-Modus, Blöcke zu 1024 KB)",
      L"the free space minus 32 MB (without --profile in Quorvel mode, blocks of 1024 KB)",
      L"l'espace libre moins 32 Mo (sans --profile en mode Quorvel, blocs de 1024 Ko)",
      L"el espacio libre menos 32 MB (sin --profile en modo Quorvel, bloques de 1024 KB)"}},
    {L"cli_opt_size_verify", {L"zu prüfende Menge in MB", L"amount to verify in MB", L"quantité à vérifier en Mo", L"cantidad a verificar en MB"}},
    {L"cli_def_size_verify",
     {L"so viel, wie die Testdateien eines früheren Laufs halten", L"as much as the test files of an earlier run hold",
      L"ce que contiennent les fichiers de test d'une exécution précédente",
      L"lo que contienen los archivos de prueba de una ejecución anterior"}},
    {L"cli_opt_block", {L"Blockgröße in KB (mindestens 4)", L"block size in KB (at least 4)", L"taille de bloc en Ko (au moins 4)", L"tamaño de bloque en KB (al menos 4)"}},
    {L"cli_def_block",
     {L"nach Profil: turbo 8192, ausgeglichen 4096, zuverlaessig 1024, quorvel 1024",
      L"by profile (turbo 8192, ausgeglichen 4096, zuverlaessig 1024, quorvel 1024)",
      L"selon le profil (turbo 8192, ausgeglichen 4096, zuverlaessig 1024, quorvel 1024)",
      L"según el perfil (turbo 8192, ausgeglichen 4096, zuverlaessig 1024, quorvel 1024)"}},
    {L"cli_opt_workers",
     {L"parallele Worker (höchstens Prozessoren minus 1)", L"parallel workers (at most processors minus 1)",
      L"workers en parallèle (au plus processeurs moins 1)", L"workers en paralelo (como máximo procesadores menos 1)"}},
    {L"cli_def_workers",
     {L"nach Profil, auf diesem Rechner: {1}", L"by profile ({1} on this machine)",
      L"selon le profil ({1} sur cette machine)", L"según el perfil ({1} en este equipo)"}},
    {L"cli_opt_profile",
     {L"turbo, ausgeglichen, zuverlaessig oder quorvel (0 bis 3)",
      L"turbo, ausgeglichen (balanced), zuverlaessig (reliable) or quorvel (0 to 3)",
      L"turbo, ausgeglichen (équilibré), zuverlaessig (fiable) ou quorvel (0 à 3)",
      L"turbo, ausgeglichen (equilibrado), zuverlaessig (fiable) o quorvel (0 a 3)"}},
    {L"cli_def_profile",
     {L"zuverlaessig; ohne --size quorvel", L"zuverlaessig; without --size quorvel", L"zuverlaessig ; sans --size quorvel",
      L"zuverlaessig; sin --size quorvel"}},
    {L"cli_opt_reserve",
     {L"Speicher, der nach dem Test frei bleiben muss", L"space that must stay free after the test",
      L"espace qui doit rester libre après le test", L"espacio que debe quedar libre tras la prueba"}},
    {L"cli_def_reserve",
     {L"0 (im Quorvel-Modus immer 0)", L"0 (always 0 in Quorvel mode)", L"0 (toujours 0 en mode Quorvel)", L"0 (siempre 0 en modo Quorvel)"}},
    {L"cli_opt_test_points",
     {L"Testpunkte des Methodentests (höchstens 16)", L"test points of the method test (at most 16)",
      L"points de test du test de méthode (au plus 16)", L"puntos de prueba de la prueba de método (como máximo 16)"}},
    {L"cli_opt_results_dir",
     {L"Ordner für die Ergebnisdateien", L"folder for the results files", L"dossier des fichiers de résultats",
      L"carpeta de los archivos de resultados"}},
    {L"cli_opt_parallel",
     {L"Ziele, die gleichzeitig laufen (bei mehreren Zielen)", L"targets tested at once (with several targets)",
      L"cibles testées en même temps (avec plusieurs cibles)", L"destinos que se prueban a la vez (con varios destinos)"}},
    {L"cli_def_parallel",
     {L"so viele Ziele wie Geräte, höchstens {1} (2 je Prozessor); Ziele auf einem Gerät nacheinander",
      L"as many targets as devices, at most {1} (2 per processor); targets on one device one after another",
      L"autant de cibles que de périphériques, au plus {1} (2 par processeur) ; les cibles d'un même "
      L"périphérique l'une après l'autre",
      L"tantos destinos como dispositivos, como máximo {1} (2 por procesador); los destinos de un mismo "
      L"dispositivo, uno tras otro"}},
    {L"cli_opt_summary_json",
     {L"die Übersicht aller Ziele als JSON-Datei", L"the summary of all targets as a JSON file",
      L"le récapitulatif de toutes les cibles en fichier JSON", L"el resumen de todos los destinos como archivo JSON"}},
    {L"cli_def_none", {L"keine", L"none", L"aucun", L"ninguno"}},
    {L"cli_def_off", {L"aus", L"off", L"désactivé", L"desactivado"}},
    {L"cli_opt_method_test",
     {L"vor dem Volltest einen Methodentest ausführen", L"run a method test before the full test",
      L"exécuter un test de méthode avant le test complet", L"ejecutar una prueba de método antes de la prueba completa"}},
    {L"cli_opt_no_random_points",
     {L"Testpunkte nicht zufällig verteilen", L"do not spread the test points at random",
      L"ne pas répartir les points de test au hasard", L"no repartir los puntos de prueba al azar"}},
    {L"cli_def_no_random_points",
     {L"ab 4 Testpunkten zufällig verteilt", L"spread at random from 4 test points", L"répartis au hasard dès 4 points de test",
      L"repartidos al azar desde 4 puntos de prueba"}},
    {L"cli_opt_no_fastest",
     {L"schnellste Variante nicht für den Volltest übernehmen", L"do not use the fastest variant for the full test",
      L"ne pas utiliser la variante la plus rapide pour le test complet",
      L"no usar la variante más rápida para la prueba completa"}},
    {L"cli_def_no_fastest",
     {L"die schnellste Variante wird übernommen", L"the fastest variant is used", L"la variante la plus rapide est utilisée",
      L"se usa la variante más rápida"}},
    {L"cli_opt_delete",
     {L"Testdateien am Ende löschen", L"delete the test files at the end", L"supprimer les fichiers de test à la fin",
      L"borrar los archivos de prueba al final"}},
    {L"cli_def_delete",
     {L"aus; die Testdateien bleiben für verify", L"off; the test files stay for verify",
      L"désactivé ; les fichiers de test restent pour verify", L"desactivado; los archivos de prueba quedan para verify"}},
    {L"cli_opt_yes",
     {L"auch ein nicht leeres Ziel ohne Rückfrage testen", L"test a target that is not empty without asking",
      L"tester aussi une cible non vide sans demander", L"probar también un destino no vacío sin preguntar"}},
    {L"cli_def_yes",
     {L"aus; am Terminal wird gefragt, ohne Terminal abgelehnt", L"off; asks on a terminal, refuses without one",
      L"désactivé ; question sur un terminal, refus sans terminal", L"desactivado; pregunta en un terminal, rechaza sin él"}},
    {L"cli_opt_system_drive",
     {L"auch das Systemlaufwerk testen (2 GB, 5 % bleiben frei)", L"also test the system drive (2 GB, 5 % stay free)",
      L"tester aussi le lecteur système (2 Go, 5 % restent libres)",
      L"probar también la unidad del sistema (2 GB, 5 % quedan libres)"}},
    {L"cli_def_system_drive",
     {L"aus; das Systemlaufwerk wird abgelehnt", L"off; the system drive is refused", L"désactivé ; le lecteur système est refusé",
      L"desactivado; la unidad del sistema se rechaza"}},
    {L"cli_def_required",
     {L"keiner, muss angegeben werden", L"none, must be given", L"aucun, à indiquer", L"ninguno, hay que indicarlo"}},
    {L"cli_opt_output",
     {L"Zieldatei des Exports", L"the file the export goes to", L"fichier de destination de l'export",
      L"archivo de destino de la exportación"}},
    {L"cli_opt_lang",
     {L"Sprache am Terminal: de, en, fr oder es", L"language on the terminal: de, en, fr or es",
      L"langue du terminal : de, en, fr ou es", L"idioma del terminal: de, en, fr o es"}},
    {L"cli_def_lang",
     {L"aus der Umgebung (LC_ALL, LC_MESSAGES, LANG), unter Windows die Sprache der Oberfläche; Log, "
      L"Ergebnisdateien, Exporte und --summary-json bleiben auf Deutsch",
      L"from the environment (LC_ALL, LC_MESSAGES, LANG), on Windows the user interface language; the log, "
      L"results files, exports and --summary-json stay German",
      L"d'après l'environnement (LC_ALL, LC_MESSAGES, LANG), sous Windows la langue de l'interface ; le journal, "
      L"les fichiers de résultats, les exports et --summary-json restent en allemand",
      L"según el entorno (LC_ALL, LC_MESSAGES, LANG), en Windows el idioma de la interfaz; el registro, los "
      L"archivos de resultados, las exportaciones y --summary-json quedan en alemán"}},

    // Argument errors. A suggestion and the hint to the help follow the sentence.
    {L"cli_help_hint", {L" Hilfe: velkor-cli --help", L" Help: velkor-cli --help", L" Aide : velkor-cli --help", L" Ayuda: velkor-cli --help"}},
    {L"cli_help_hint_command",
     {L" Hilfe: velkor-cli {1} --help", L" Help: velkor-cli {1} --help", L" Aide : velkor-cli {1} --help",
      L" Ayuda: velkor-cli {1} --help"}},
    {L"cli_and", {L" und ", L" and ", L" et ", L" y "}},
    {L"cli_or", {L" oder ", L" or ", L" ou ", L" o "}},
    {L"cli_did_you_mean", {L" Meinten Sie {1}?", L" Did you mean {1}?", L" Vouliez-vous dire {1} ?", L" ¿Quería decir {1}?"}},
    {L"cli_option_before_command",
     {L"Option vor dem Befehl: {1}. Erst der Befehl, dann die Optionen ({2} gibt es bei {3}).",
      L"Option before the command: {1}. First the command, then the options ({2} belongs to {3}).",
      L"Option avant la commande : {1}. D'abord la commande, puis les options ({2} s'emploie avec {3}).",
      L"Opción antes del comando: {1}. Primero el comando, luego las opciones ({2} es de {3})."}},
    {L"cli_unknown_option", {L"Unbekannte Option: {1}.", L"Unknown option: {1}.", L"Option inconnue : {1}.", L"Opción desconocida: {1}."}},
    {L"cli_unknown_command", {L"Unbekannter Befehl: {1}.", L"Unknown command: {1}.", L"Commande inconnue : {1}.", L"Comando desconocido: {1}."}},
    {L"cli_no_command",
     {L"Kein Befehl angegeben (test, verify, export oder drives).", L"No command given (test, verify, export or drives).",
      L"Aucune commande indiquée (test, verify, export ou drives).", L"No se indicó ningún comando (test, verify, export o drives)."}},
    {L"cli_option_elsewhere",
     {L"Unbekannte Option für {1}: {2} (nur bei {3}).", L"Unknown option for {1}: {2} (only with {3}).",
      L"Option inconnue pour {1} : {2} (seulement avec {3}).", L"Opción desconocida para {1}: {2} (solo con {3})."}},
    {L"cli_missing_value",
     {L"Wert fehlt für {1} ({2}).", L"Missing value for {1} ({2}).", L"Valeur manquante pour {1} ({2}).", L"Falta el valor de {1} ({2})."}},
    {L"cli_bad_number",
     {L"Ungültige Zahl für {1}: {2}", L"Invalid number for {1}: {2}", L"Nombre invalide pour {1} : {2}", L"Número no válido para {1}: {2}"}},
    {L"cli_bad_value",
     {L"Ungültiger Wert für {1}: {2} (erlaubt: {3}).", L"Invalid value for {1}: {2} (allowed: {3}).",
      L"Valeur invalide pour {1} : {2} (autorisé : {3}).", L"Valor no válido para {1}: {2} (permitido: {3})."}},
    {L"cli_allowed_size", {L"1 bis 17592186044415 MB", L"1 to 17592186044415 MB", L"1 à 17592186044415 Mo", L"1 a 17592186044415 MB"}},
    {L"cli_allowed_block", {L"4 bis 4194303 KB", L"4 to 4194303 KB", L"4 à 4194303 Ko", L"4 a 4194303 KB"}},
    {L"cli_allowed_from_one", {L"ab 1", L"1 or more", L"1 ou plus", L"1 o más"}},
    {L"cli_unknown_profile", {L"Unbekanntes Profil: {1}.", L"Unknown profile: {1}.", L"Profil inconnu : {1}.", L"Perfil desconocido: {1}."}},
    {L"cli_profile_choices",
     {L" (turbo, ausgeglichen, zuverlaessig, quorvel oder 0 bis 3)", L" (turbo, ausgeglichen, zuverlaessig, quorvel or 0 to 3)",
      L" (turbo, ausgeglichen, zuverlaessig, quorvel ou 0 à 3)", L" (turbo, ausgeglichen, zuverlaessig, quorvel o 0 a 3)"}},
    {L"cli_parallel_at_least_one",
     {L"--parallel braucht mindestens 1.", L"--parallel needs at least 1.", L"--parallel demande au moins 1.",
      L"--parallel necesita al menos 1."}},
    {L"cli_unknown_format", {L"Unbekanntes Format: {1}.", L"Unknown format: {1}.", L"Format inconnu : {1}.", L"Formato desconocido: {1}."}},
    {L"cli_format_choices",
     {L" (csv, xls, text, formatted, json oder pdf)", L" (csv, xls, text, formatted, json or pdf)",
      L" (csv, xls, text, formatted, json ou pdf)", L" (csv, xls, text, formatted, json o pdf)"}},
    {L"cli_unknown_language",
     {L"Unbekannte Sprache: {1} (de, en, fr oder es).", L"Unknown language: {1} (de, en, fr or es).",
      L"Langue inconnue : {1} (de, en, fr ou es).", L"Idioma desconocido: {1} (de, en, fr o es)."}},
    {L"cli_no_target", {L"Kein Ziel angegeben.", L"No target given.", L"Aucune cible indiquée.", L"No se indicó ningún destino."}},
    {L"cli_no_results_file",
     {L"Keine Ergebnisdatei angegeben.", L"No results file given.", L"Aucun fichier de résultats indiqué.",
      L"No se indicó ningún archivo de resultados."}},
    {L"cli_several_results_files",
     {L"Mehr als eine Ergebnisdatei angegeben: {1}", L"More than one results file given: {1}",
      L"Plus d'un fichier de résultats indiqué : {1}", L"Se indicó más de un archivo de resultados: {1}"}},
    {L"cli_format_missing",
     {L"Format fehlt: --format csv|xls|text|formatted|json|pdf", L"Format missing: --format csv|xls|text|formatted|json|pdf",
      L"Format manquant : --format csv|xls|text|formatted|json|pdf", L"Falta el formato: --format csv|xls|text|formatted|json|pdf"}},
    {L"cli_output_missing",
     {L"Zieldatei fehlt: --output DATEI", L"Output file missing: --output FILE", L"Fichier de destination manquant : --output FICHIER",
      L"Falta el archivo de destino: --output ARCHIVO"}},
    {L"cli_unexpected_argument",
     {L"Unerwartetes Argument: {1}.", L"Unexpected argument: {1}.", L"Argument inattendu : {1}.", L"Argumento inesperado: {1}."}},
    {L"cli_licence", {L"Lizenz: MIT", L"Licence: MIT", L"Licence : MIT", L"Licencia: MIT"}},
};

}  // namespace

TextTablePart CliTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
