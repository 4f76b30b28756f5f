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
    // What velkor-cli says on the terminal besides the window's texts. Its German texts are also
    // what --summary-json and the log keep; the terminal shows them through LocalizeGermanText.
    {L"cli_error_lead", {L"Fehler: ", L"Error: ", L"Erreur : ", L"Error: "}},
    {L"cli_results_file", {L"Ergebnisdatei: ", L"Results file: ", L"Fichier de résultats : ", L"Archivo de resultados: "}},
    {L"cli_yes_no", {L" [j/N] ", L" [y/N] ", L" [o/N] ", L" [s/N] "}},
    {L"cli_no_files_to_verify",
     {L"Fehler: Keine Testdateien eines früheren Laufs gefunden in {1} (--size angeben).",
      L"Error: no test files of an earlier run found in {1} (give --size).",
      L"Erreur : aucun fichier de test d'une exécution précédente dans {1} (indiquer --size).",
      L"Error: no se encontraron archivos de prueba de una ejecución anterior en {1} (indique --size)."}},
    {L"cli_target_not_found",
     {L"Fehler: Ziel nicht gefunden: {1} ({2})", L"Error: target not found: {1} ({2})", L"Erreur : cible introuvable : {1} ({2})",
      L"Error: destino no encontrado: {1} ({2})"}},
    {L"cli_target_not_folder",
     {L"Fehler: Das Ziel ist kein Ordner: {1}", L"Error: the target is not a folder: {1}",
      L"Erreur : la cible n'est pas un dossier : {1}", L"Error: el destino no es una carpeta: {1}"}},
    {L"cli_target_system_view",
     {L"Fehler: {1} ist kein Datenträger, sondern eine Sicht des Systems (Dateisystem {2}).",
      L"Error: {1} is not a storage medium but a view of the system (file system {2}).",
      L"Erreur : {1} n'est pas un support de stockage mais une vue du système (système de fichiers {2}).",
      L"Error: {1} no es un soporte de datos sino una vista del sistema (sistema de archivos {2})."}},
    {L"cli_block_over_size",
     {L"Fehler: Die Blockgröße von {1} KB (--block) ist größer als die Testgröße von {2} MB (--size). Der Block "
      L"muss in die Testgröße passen.",
      L"Error: the block size of {1} KB (--block) is larger than the test size of {2} MB (--size). The block must "
      L"fit into the test size.",
      L"Erreur : la taille de bloc de {1} Ko (--block) dépasse la taille du test de {2} Mo (--size). Le bloc doit "
      L"tenir dans la taille du test.",
      L"Error: el tamaño de bloque de {1} KB (--block) es mayor que el tamaño de prueba de {2} MB (--size). El "
      L"bloque debe caber en el tamaño de prueba."}},
    {L"cli_profile_block_over_size",
     {L"Fehler: Die Blockgröße von {1} KB (Vorgabe des Profils, --block) ist größer als die Testgröße von {2} MB "
      L"(--size). Der Block muss in die Testgröße passen.",
      L"Error: the block size of {1} KB (the profile's default, --block) is larger than the test size of {2} MB "
      L"(--size). The block must fit into the test size.",
      L"Erreur : la taille de bloc de {1} Ko (valeur du profil, --block) dépasse la taille du test de {2} Mo "
      L"(--size). Le bloc doit tenir dans la taille du test.",
      L"Error: el tamaño de bloque de {1} KB (valor del perfil, --block) es mayor que el tamaño de prueba de {2} MB "
      L"(--size). El bloque debe caber en el tamaño de prueba."}},
    {L"cli_workers_clamped",
     {L"Hinweis: Ein Kern bleibt frei: Worker auf {1} begrenzt.", L"Note: one core stays free: workers limited to {1}.",
      L"Remarque : un cœur reste libre : workers limités à {1}.", L"Nota: un núcleo queda libre: workers limitados a {1}."}},
    {L"cli_test_points_clamped",
     {L"Hinweis: Testpunkte auf 16 begrenzt.", L"Note: test points limited to 16.", L"Remarque : points de test limités à 16.",
      L"Nota: puntos de prueba limitados a 16."}},
    {L"cli_system_drive_refused",
     {L"Fehler: {1} liegt auf dem Systemlaufwerk; der Test würde bis zu {2} darauf schreiben. Mit --system-drive "
      L"wird trotzdem getestet ({3} bleiben frei).",
      L"Error: {1} is on the system drive; the test would write up to {2} to it. --system-drive tests it anyway "
      L"({3} stay free).",
      L"Erreur : {1} se trouve sur le lecteur système ; le test y écrirait jusqu'à {2}. Avec --system-drive, il "
      L"est testé quand même ({3} restent libres).",
      L"Error: {1} está en la unidad del sistema; la prueba escribiría hasta {2} en ella. Con --system-drive se "
      L"prueba de todos modos (quedan libres {3})."}},
    {L"cli_program_volume_refused",
     {L"Start abgebrochen: Velkor läuft von dem Laufwerk, das getestet werden sollte. (nur nach Ja am Terminal, "
      L"nicht mit --yes)",
      L"Start cancelled: Velkor runs from the drive that was to be tested. (only after a Yes on the terminal, not "
      L"with --yes)",
      L"Démarrage annulé : Velkor s'exécute depuis le lecteur à tester. (seulement après un Oui sur le terminal, "
      L"pas avec --yes)",
      L"Inicio cancelado: Velkor se ejecuta desde la unidad que se iba a probar. (solo tras un Sí en el terminal, "
      L"no con --yes)"}},
    {L"cli_non_empty_refused",
     {L"Start abgebrochen: Zielpartition war nicht mindestens 99% frei. (--yes testet trotzdem)",
      L"Start cancelled: the target partition was not at least 99% free. (--yes tests it anyway)",
      L"Démarrage annulé : la partition cible n'était pas libre à 99% au moins. (--yes la teste quand même)",
      L"Inicio cancelado: la partición de destino no estaba libre al menos en un 99%. (--yes la prueba de todos "
      L"modos)"}},
    // The longer one first: the shorter pattern would take its text too.
    {L"cli_no_room_system",
     {L"Fehler: Kein Platz für einen Test auf {1}: {2} frei, auf dem Systemlaufwerk bleiben mindestens {3} frei.",
      L"Error: no room for a test on {1}: {2} free, at least {3} stay free on the system drive.",
      L"Erreur : pas de place pour un test sur {1} : {2} libres, au moins {3} restent libres sur le lecteur système.",
      L"Error: no hay espacio para una prueba en {1}: {2} libres; en la unidad del sistema quedan libres al menos "
      L"{3}."}},
    {L"cli_no_room",
     {L"Fehler: Kein Platz für einen Test auf {1}: {2} frei.", L"Error: no room for a test on {1}: {2} free.",
      L"Erreur : pas de place pour un test sur {1} : {2} libres.", L"Error: no hay espacio para una prueba en {1}: {2} libres."}},
    {L"cli_quorvel_takes_no_size",
     {L"Fehler: --profile quorvel prüft immer den ganzen freien Speicher und nimmt kein --size oder --reserve an. "
      L"Ohne diese Angaben testen oder ein anderes Profil wählen.",
      L"Error: --profile quorvel always checks the whole free space and takes no --size or --reserve. Test without "
      L"them or choose another profile.",
      L"Erreur : --profile quorvel vérifie toujours tout l'espace libre et n'accepte ni --size ni --reserve. Testez "
      L"sans ces options ou choisissez un autre profil.",
      L"Error: --profile quorvel siempre verifica todo el espacio libre y no admite --size ni --reserve. Pruebe sin "
      L"ellas o elija otro perfil."}},
    {L"cli_results_unreadable_because",
     {L"Fehler: Ergebnisdatei konnte nicht gelesen werden: {1} ({2})", L"Error: the results file could not be read: {1} ({2})",
      L"Erreur : impossible de lire le fichier de résultats : {1} ({2})",
      L"Error: no se pudo leer el archivo de resultados: {1} ({2})"}},
    {L"cli_results_unreadable",
     {L"Fehler: Ergebnisdatei konnte nicht gelesen werden: {1}", L"Error: the results file could not be read: {1}",
      L"Erreur : impossible de lire le fichier de résultats : {1}", L"Error: no se pudo leer el archivo de resultados: {1}"}},
    {L"cli_export_is_input",
     {L"Fehler: Die Exportdatei ist die Ergebnisdatei selbst: {1}. Bitte eine andere Datei für --output angeben.",
      L"Error: the export file is the results file itself: {1}. Please give another file for --output.",
      L"Erreur : le fichier d'export est le fichier de résultats lui-même : {1}. Indiquez un autre fichier pour --output.",
      L"Error: el archivo de exportación es el propio archivo de resultados: {1}. Indique otro archivo para --output."}},
    {L"cli_results_empty",
     {L"Fehler: Die Ergebnisdatei enthält keine Ergebnisse: {1}", L"Error: the results file holds no results: {1}",
      L"Erreur : le fichier de résultats ne contient aucun résultat : {1}", L"Error: el archivo de resultados no contiene resultados: {1}"}},
    {L"cli_export_failed",
     {L"Export konnte nicht geschrieben werden. Datei={1}, {2}", L"The export could not be written. File={1}, {2}",
      L"Impossible d'écrire l'exportation. Fichier={1}, {2}", L"No se pudo escribir la exportación. Archivo={1}, {2}"}},
    {L"cli_summary_unwritable",
     {L"Fehler: Die Übersicht kann nicht geschrieben werden. Datei={1}, {2}", L"Error: the summary cannot be written. File={1}, {2}",
      L"Erreur : impossible d'écrire le récapitulatif. Fichier={1}, {2}", L"Error: no se puede escribir el resumen. Archivo={1}, {2}"}},
    {L"cli_same_target_twice",
     {L"Fehler: Dasselbe Ziel wie {1} ist doppelt angegeben.", L"Error: the same target as {1} is given twice.",
      L"Erreur : la même cible que {1} est indiquée deux fois.", L"Error: el mismo destino que {1} se indicó dos veces."}},
    {L"cli_device_cache_hint",
     {L"Hinweis: Der Zwischenspeicher des Geräts unter diesem Dateisystem (FUSE über einem Blockgerät) konnte nicht "
      L"geleert werden; die Prüfung kann Daten aus dem Speicher statt vom Medium lesen. Abhilfe: als root prüfen oder "
      L"das Laufwerk vor \"Nur prüfen\" aus- und wieder einhängen.",
      L"Note: the cache of the device under this file system (FUSE over a block device) could not be emptied; the "
      L"check may read data from memory instead of from the medium. Remedy: verify as root, or unmount and mount the "
      L"drive again before \"Verify only\".",
      L"Remarque : le cache du périphérique sous ce système de fichiers (FUSE sur un périphérique bloc) n'a pas pu "
      L"être vidé ; la vérification peut lire les données en mémoire plutôt que sur le support. Solution : vérifier "
      L"en root, ou démonter et remonter le lecteur avant « Vérifier seul ».",
      L"Nota: no se pudo vaciar la caché del dispositivo bajo este sistema de archivos (FUSE sobre un dispositivo de "
      L"bloques); la verificación puede leer datos de la memoria en lugar del soporte. Solución: verificar como root, "
      L"o desmontar y volver a montar la unidad antes de \"Sólo verificar\"."}},
    {L"cli_data_folder_note",
     {L"Hinweis: Der Programmordner {1} ist nicht beschreibbar. Ergebnisse, Exporte, Logdatei und Einstellungen "
      L"liegen deshalb in {2}",
      L"Note: the program folder {1} is not writable. Results, exports, the log file and the settings are therefore "
      L"kept in {2}",
      L"Remarque : le dossier du programme {1} n'est pas accessible en écriture. Les résultats, exports, le journal "
      L"et les réglages se trouvent donc dans {2}",
      L"Nota: la carpeta del programa {1} no admite escritura. Por eso los resultados, exportaciones, el registro y "
      L"los ajustes están en {2}"}},

    // Several targets: the lines while they run and the table at the end.
    {L"cli_batch_waiting", {L"wartet", L"waiting", L"en attente", L"en espera"}},
    {L"cli_batch_rest", {L"… {1} wartend, {2} fertig", L"… {1} waiting, {2} done", L"… {1} en attente, {2} terminées",
                         L"… {1} en espera, {2} terminados"}},
    {L"cli_batch_running",
     {L"{1} {2} {3} MB/s, Fehler {4}", L"{1} {2} {3} MB/s, errors {4}", L"{1} {2} {3} Mo/s, erreurs {4}",
      L"{1} {2} {3} MB/s, errores {4}"}},
    {L"cli_batch_results_files", {L"Ergebnisdateien:", L"Results files:", L"Fichiers de résultats :", L"Archivos de resultados:"}},
    {L"cli_batch_notes", {L"Hinweise:", L"Notes:", L"Remarques :", L"Notas:"}},
    {L"cli_batch_not_saved",
     {L"Ergebnisdatei konnte nicht gespeichert werden (siehe FEHLER-Zeile im Log)",
      L"the results file could not be saved (see the FEHLER line in the log)",
      L"le fichier de résultats n'a pas pu être enregistré (voir la ligne FEHLER du journal)",
      L"no se pudo guardar el archivo de resultados (vea la línea FEHLER del registro)"}},
    {L"cli_batch_no_thread",
     {L"Der Lauf konnte nicht gestartet werden (kein Thread).", L"The run could not be started (no thread).",
      L"L'exécution n'a pas pu démarrer (pas de thread).", L"No se pudo iniciar la ejecución (sin hilo)."}},
    {L"cli_batch_session_ended_before",
     {L"Sitzung beendet, bevor der Lauf begann", L"session ended before the run began", L"session fermée avant le début de l'exécution",
      L"sesión cerrada antes de que empezara la ejecución"}},
    {L"cli_batch_interrupted_before",
     {L"mit Strg+C gestoppt, bevor der Lauf begann", L"stopped with Ctrl+C before the run began",
      L"arrêté par Ctrl+C avant le début de l'exécution", L"detenido con Ctrl+C antes de que empezara la ejecución"}},
    {L"cli_batch_partial",
     {L"nur {1} von {2} freiem Speicher geprüft, der Rest nicht", L"only {1} of {2} free space checked, not the rest",
      L"seulement {1} sur {2} d'espace libre vérifiés, pas le reste", L"solo se verificaron {1} de {2} de espacio libre, el resto no"}},
    {L"cli_batch_incomplete", {L"nicht vollständig geprüft", L"not checked completely", L"vérification incomplète", L"verificación incompleta"}},
    {L"cli_stop_user", {L"mit Strg+C gestoppt", L"stopped with Ctrl+C", L"arrêté par Ctrl+C", L"detenido con Ctrl+C"}},
    {L"cli_stop_drive_gone",
     {L"Laufwerk während des Tests entfernt oder geändert", L"drive removed or changed during the test",
      L"lecteur retiré ou modifié pendant le test", L"unidad retirada o cambiada durante la prueba"}},
    {L"cli_stop_error_limit", {L"Fehlergrenze erreicht", L"error limit reached", L"limite d'erreurs atteinte", L"límite de errores alcanzado"}},
    {L"cli_stop_io", {L"Lese- oder Schreibfehler des Mediums", L"read or write error of the medium", L"erreur de lecture ou d'écriture du support",
                      L"error de lectura o escritura del soporte"}},
    {L"cli_stop_fs_limit",
     {L"Grenze des Dateisystems erreicht (kein Fehler des Mediums)", L"file system limit reached (no fault of the medium)",
      L"limite du système de fichiers atteinte (pas un défaut du support)",
      L"límite del sistema de archivos alcanzado (no es un fallo del soporte)"}},
    {L"cli_stop_early", {L"vorzeitig beendet", L"ended early", L"terminé prématurément", L"terminado antes de tiempo"}},
    {L"cli_verdict_ok_partial", {L"OK (Teiltest)", L"OK (partial test)", L"OK (test partiel)", L"OK (prueba parcial)"}},
    {L"cli_verdict_errors", {L"Fehler", L"errors", L"erreurs", L"errores"}},
    {L"cli_verdict_stopped", {L"gestoppt", L"stopped", L"arrêté", L"detenido"}},
    {L"cli_verdict_refused", {L"abgelehnt", L"refused", L"refusé", L"rechazado"}},
    {L"cli_batch_heading_target", {L"Ziel", L"Target", L"Cible", L"Destino"}},
    {L"cli_batch_heading_written", {L"Geschrieben", L"Written", L"Écrit", L"Escrito"}},
    {L"cli_batch_heading_usable", {L"Nutzbar", L"Usable", L"Utilisable", L"Utilizable"}},
    {L"cli_batch_heading_write_speed", {L"Schreiben MB/s", L"Write MB/s", L"Écriture Mo/s", L"Escritura MB/s"}},
    {L"cli_batch_heading_read_speed", {L"Lesen MB/s", L"Read MB/s", L"Lecture Mo/s", L"Lectura MB/s"}},
};

}  // namespace

TextTablePart CliTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
