#include "common/text_tables.h"

namespace velkor {
namespace {

// The status line. Rows whose German text has "{1}" ... are also patterns: the window finds the
// test thread's German status text by them and shows it in the chosen language.
constexpr TextRow kRows[] = {
    {L"status_start_pressed", {L"Start gedrückt: Test wird vorbereitet.", L"Start pressed: preparing the test.", L"Démarrage : préparation du test.", L"Inicio pulsado: preparando la prueba."}},
    {L"status_verify_pressed", {L"Nur prüfen gedrückt: Prüfung wird vorbereitet.", L"Verify only pressed: preparing the check.", L"Vérification seule : préparation de la vérification.", L"Solo verificar pulsado: preparando la verificación."}},
    {L"status_closing", {L"Test wird gestoppt. Das Fenster schließt, sobald der Test beendet ist.", L"Stopping the test. The window closes as soon as the test has ended.", L"Arrêt du test. La fenêtre se fermera dès la fin du test.", L"Deteniendo la prueba. La ventana se cerrará en cuanto termine la prueba."}},
    {L"status_reading_drives", {L"Laufwerke werden gelesen …", L"Reading the drives …", L"Lecture des lecteurs …", L"Leyendo las unidades …"}},
    {L"status_reading_drive", {L"Laufwerk {1} wird gelesen …", L"Reading drive {1} …", L"Lecture du lecteur {1} …", L"Leyendo la unidad {1} …"}},
    {L"status_deleting_files", {L"Testdateien werden gelöscht …", L"Deleting the test files …", L"Suppression des fichiers de test …", L"Borrando los archivos de prueba …"}},
    {L"status_delete_active", {L"Löschen ist aktiviert: Am Ende kommt eine Sicherheitsabfrage für die erzeugte Testdatei.", L"Deletion is on: at the end you will be asked before the test files are deleted.", L"Suppression activée : à la fin, une confirmation sera demandée avant de supprimer les fichiers de test.", L"Borrado activado: al final se pedirá confirmación antes de borrar los archivos de prueba."}},

    // Progress while a run goes on, and the line at its end.
    {L"progress_preparing", {L"Vorbereitung", L"Preparing", L"Préparation", L"Preparación"}},
    {L"progress_writing", {L"Schreiben", L"Writing", L"Écriture", L"Escritura"}},
    {L"progress_verifying", {L"Lesen/Prüfen", L"Reading/verifying", L"Lecture/vérification", L"Lectura/verificación"}},
    {L"progress_part_method", {L"Methodentest", L"Method test", L"Test de méthode", L"Prueba de método"}},
    {L"progress_part_full", {L"Volltest", L"Full test", L"Test complet", L"Prueba completa"}},
    {L"progress_part_verify", {L"Nur prüfen", L"Verify only", L"Vérification seule", L"Solo verificar"}},
    {L"progress_stage_write", {L": schreiben", L": writing", L" : écriture", L": escritura"}},
    {L"progress_stage_verify", {L": prüfen", L": verifying", L" : vérification", L": verificación"}},
    {L"progress_run_line", {L"{1} – {2} / {3} ({4}) | {5} MB/s | {6} | noch {7}", L"{1} – {2} / {3} ({4}) | {5} MB/s | {6} | {7} left", L"{1} – {2} / {3} ({4}) | {5} Mo/s | {6} | reste {7}", L"{1} – {2} / {3} ({4}) | {5} MB/s | {6} | quedan {7}"}},
    {L"progress_line", {L"{1}: {2} / {3} ({4}) | {5} MB/s | {6}", L"{1}: {2} / {3} ({4}) | {5} MB/s | {6}", L"{1} : {2} / {3} ({4}) | {5} Mo/s | {6}", L"{1}: {2} / {3} ({4}) | {5} MB/s | {6}"}},
    {L"end_done", {L"Fertig: ", L"Done: ", L"Terminé : ", L"Terminado: "}},
    {L"end_medium_errors", {L"Fehler: Test wegen Fehlern des Mediums beendet: ", L"Error: test ended because of errors on the medium: ", L"Erreur : test arrêté à cause d'erreurs du support : ", L"Error: prueba terminada por errores del soporte: "}},
    {L"end_fs_limit", {L"Fehler: Grenze des Dateisystems erreicht: ", L"Error: file system limit reached: ", L"Erreur : limite du système de fichiers atteinte : ", L"Error: se alcanzó el límite del sistema de archivos: "}},
    {L"end_file_held", {L"Fehler: Testdatei von einem anderen Programm belegt: ", L"Error: test file in use by another program: ", L"Erreur : fichier de test utilisé par un autre programme : ", L"Error: archivo de prueba en uso por otro programa: "}},
    {L"end_failed", {L"Fehler: Das Medium hat Fehler: ", L"Error: the medium has errors: ", L"Erreur : le support a des erreurs : ", L"Error: el soporte tiene errores: "}},
    {L"end_partial", {L"Fertig, nur ein Teil geprüft: ", L"Done, only a part checked: ", L"Terminé, une partie seulement vérifiée : ", L"Terminado, solo una parte verificada: "}},
    {L"end_drive_gone", {L"Fehler: Laufwerk während des Tests nicht mehr erreichbar (kein Befund über das Medium): ", L"Error: drive no longer reachable during the test (no finding about the medium): ", L"Erreur : lecteur plus joignable pendant le test (aucun constat sur le support) : ", L"Error: la unidad dejó de estar accesible durante la prueba (sin conclusión sobre el soporte): "}},
    {L"end_session_end", {L"Gestoppt: Sitzung beendet: ", L"Stopped: session ended: ", L"Arrêté : session fermée : ", L"Detenido: sesión cerrada: "}},
    {L"end_stopped", {L"Gestoppt: ", L"Stopped: ", L"Arrêté : ", L"Detenido: "}},
    {L"end_counts", {L"{1} geschrieben, {2} geprüft, {3} Fehler", L"{1} written, {2} verified, {3} errors", L"{1} écrits, {2} vérifiés, {3} erreurs", L"{1} escritos, {2} verificados, {3} errores"}},
    {L"end_counts_verify", {L"{1} geprüft, {2} Fehler", L"{1} verified, {2} errors", L"{1} vérifiés, {2} erreurs", L"{1} verificados, {2} errores"}},
    {L"end_reliability", {L" | Zuverlässigkeit {1}", L" | reliability {1}", L" | fiabilité {1}", L" | fiabilidad {1}"}},
    {L"end_target", {L" | Ziel {1}", L" | target {1}", L" | cible {1}", L" | objetivo {1}"}},
    {L"end_duration", {L" | Dauer {1}", L" | duration {1}", L" | durée {1}", L" | duración {1}"}},

    // What the test thread reports in the status line (and the log, which keeps the German).
    {L"status_checking_space", {L"Prüfe freien Speicher auf {1}", L"Checking free space on {1}", L"Vérification de l'espace libre sur {1}", L"Comprobando el espacio libre en {1}"}},
    {L"status_creating_file", {L"Erstelle Testdatei: {1}", L"Creating test file: {1}", L"Création du fichier de test : {1}", L"Creando archivo de prueba: {1}"}},
    {L"status_verify_precheck", {L"Nur prüfen: Vorprüfung für Laufwerk {1}", L"Verify only: checking drive {1}", L"Vérification seule : contrôle préalable du lecteur {1}", L"Solo verificar: comprobación previa de la unidad {1}"}},
    {L"status_start_precheck", {L"Start gedrückt: Vorprüfung für Laufwerk {1}", L"Start pressed: checking drive {1}", L"Démarrage : contrôle préalable du lecteur {1}", L"Inicio pulsado: comprobación previa de la unidad {1}"}},
    {L"status_variant", {L"Variante {1}/{2}: Art des Zugriffs {3}, Worker {4}, Block {5} KB, Testpunkt {6}, {7} MB", L"Variant {1}/{2}: access type {3}, workers {4}, block {5} KB, test point {6}, {7} MB", L"Variante {1}/{2} : type d'accès {3}, tâches {4}, bloc {5} Ko, point de test {6}, {7} Mo", L"Variante {1}/{2}: tipo de acceso {3}, hilos {4}, bloque {5} KB, punto de prueba {6}, {7} MB"}},
    {L"status_full_verify", {L"Volltest prüfen {1}/{2}: {3}", L"Full test, verifying {1}/{2}: {3}", L"Test complet, vérification {1}/{2} : {3}", L"Prueba completa, verificando {1}/{2}: {3}"}},
    {L"status_full_test", {L"Volltest {1}/{2}: {3}, Art des Zugriffs {4}, Worker {5}, Block {6} KB, {7} MB", L"Full test {1}/{2}: {3}, access type {4}, workers {5}, block {6} KB, {7} MB", L"Test complet {1}/{2} : {3}, type d'accès {4}, tâches {5}, bloc {6} Ko, {7} Mo", L"Prueba completa {1}/{2}: {3}, tipo de acceso {4}, hilos {5}, bloque {6} KB, {7} MB"}},
    {L"status_name_taken", {L"Fehler: Name einer Testdatei am Ziel belegt (Verknüpfung, Ordner oder fremde Datei).", L"Error: a test file name on the target is taken (shortcut, folder or another file).", L"Erreur : un nom de fichier de test est déjà pris sur la cible (raccourci, dossier ou autre fichier).", L"Error: un nombre de archivo de prueba ya está ocupado en el destino (acceso directo, carpeta u otro archivo)."}},
    {L"line_verify_missing", {L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: {1}", L"File: {1}", L"Fichier : {1}", L"Archivo: {1}"}},
    {L"line_verify_too_small", {L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei ist zu klein: {1}, vorhanden={2}, benötigt={3}", L"File: {1}, present {2}, needed {3}", L"Fichier : {1}, présent {2}, nécessaire {3}", L"Archivo: {1}, presente {2}, necesario {3}"}},
    {L"line_no_room_kept", {L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk={1}, benötigt={2}, gewünschter Rest={3}, frei={4}, dazu eigene Testdateien eines früheren Laufs={5}, gesamt={6}", L"Drive {1}: needed {2}, kept free {3}, free {4} plus {5} of an earlier run's test files, total {6}", L"Lecteur {1} : nécessaire {2}, à laisser libre {3}, libre {4} plus {5} de fichiers de test d'un test précédent, total {6}", L"Unidad {1}: necesario {2}, a dejar libre {3}, libre {4} más {5} de archivos de prueba anteriores, total {6}"}},
    {L"line_no_room", {L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk={1}, benötigt={2}, gewünschter Rest={3}, frei={4}, gesamt={5}", L"Drive {1}: needed {2}, kept free {3}, free {4}, total {5}", L"Lecteur {1} : nécessaire {2}, à laisser libre {3}, libre {4}, total {5}", L"Unidad {1}: necesario {2}, a dejar libre {3}, libre {4}, total {5}"}},
    {L"status_no_room", {L"Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher.", L"Error: the test size plus the space to keep free does not fit into the free space.", L"Erreur : la taille du test plus l'espace à laisser libre dépasse l'espace libre.", L"Error: el tamaño de prueba más el espacio que debe quedar libre no cabe en el espacio libre."}},
    {L"status_create_failed", {L"Fehler: Testdatei konnte nicht erstellt werden.", L"Error: the test file could not be created.", L"Erreur : impossible de créer le fichier de test.", L"Error: no se pudo crear el archivo de prueba."}},
    {L"status_verify_missing", {L"Fehler: Testdatei zum Prüfen fehlt.", L"Error: the test file to verify is missing.", L"Erreur : le fichier de test à vérifier est absent.", L"Error: falta el archivo de prueba que se debe verificar."}},
    {L"status_verify_short", {L"Fehler: Testdatei zum Prüfen ist zu klein.", L"Error: the test file to verify is too small.", L"Erreur : le fichier de test à vérifier est trop petit.", L"Error: el archivo de prueba que se debe verificar es demasiado pequeño."}},
    {L"status_fs_limit", {L"Fehler: Grenze des Dateisystems erreicht, Testdatei zu groß.", L"Error: file system limit reached, test file too large.", L"Erreur : limite du système de fichiers atteinte, fichier de test trop grand.", L"Error: se alcanzó el límite del sistema de archivos, archivo de prueba demasiado grande."}},
    {L"status_open_failed", {L"Fehler: Testdatei konnte nicht geöffnet werden.", L"Error: the test file could not be opened.", L"Erreur : impossible d'ouvrir le fichier de test.", L"Error: no se pudo abrir el archivo de prueba."}},
    {L"status_no_method_test", {L"Fehler: Kein Methodentest möglich.", L"Error: no method test possible.", L"Erreur : aucun test de méthode possible.", L"Error: no es posible ninguna prueba de método."}},
    {L"status_no_full_test", {L"Fehler: Kein Volltest möglich.", L"Error: no full test possible.", L"Erreur : aucun test complet possible.", L"Error: no es posible ninguna prueba completa."}},
    {L"status_no_target_folder", {L"Fehler: Zielordner kann nicht erkannt werden.", L"Error: the target folder cannot be recognised.", L"Erreur : le dossier cible est introuvable.", L"Error: no se reconoce la carpeta de destino."}},
    {L"status_target_gone", {L"Fehler: Das Ziellaufwerk wurde entfernt oder geändert; es wird nichts mehr darauf geschrieben.", L"Error: the target drive was removed or changed; nothing more is written to it.", L"Erreur : le lecteur cible a été retiré ou modifié ; plus rien n'y est écrit.", L"Error: la unidad de destino se quitó o cambió; ya no se escribe nada en ella."}},
    {L"status_help_failed", {L"Fehler: Hilfedatei konnte nicht geschrieben werden.", L"Error: the help file could not be written.", L"Erreur : impossible d'écrire le fichier d'aide.", L"Error: no se pudo escribir el archivo de ayuda."}},

    // The selected-drive line above the settings.
    {L"target_line", {L"{1} | {2} | {3} | frei {4} von {5} ({6}) | Anschluss: {7}", L"{1} | {2} | {3} | {4} free of {5} ({6}) | connection: {7}", L"{1} | {2} | {3} | {4} libres sur {5} ({6}) | connexion : {7}", L"{1} | {2} | {3} | {4} libres de {5} ({6}) | conexión: {7}"}},
};

}  // namespace

TextTablePart StatusTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
