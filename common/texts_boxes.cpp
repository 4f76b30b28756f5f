#include "common/text_tables.h"

namespace velkor {
namespace {

// Message boxes: the German column is the text the box had before it followed the language, and
// some of it is also what velkor-cli prints (German there).
constexpr TextRow kRows[] = {
    {L"box_close_title", {L"Beenden", L"Exit", L"Quitter", L"Salir"}},
    {L"box_close_running", {L"Test läuft noch. Soll ich stoppen und schließen?",
                            L"A test is still running. Stop it and close?",
                            L"Un test est encore en cours. L'arrêter et fermer ?",
                            L"Todavía hay una prueba en curso. ¿Detenerla y cerrar?"}},
    {L"box_target_gone_title", {L"Laufwerkswechsel", L"Drive changed", L"Changement de lecteur", L"Cambio de unidad"}},
    {L"box_target_gone", {L"Das Ziellaufwerk wurde während des Tests entfernt oder geändert. Der Test wird gestoppt.",
                          L"The target drive was removed or changed during the test. The test is being stopped.",
                          L"Le lecteur cible a été retiré ou modifié pendant le test. Le test est arrêté.",
                          L"La unidad de destino se quitó o cambió durante la prueba. La prueba se está deteniendo."}},
    {L"box_write_protected", {L"Das ausgewählte Laufwerk ist schreibgeschützt.",
                              L"The selected drive is write-protected.",
                              L"Le lecteur sélectionné est protégé en écriture.",
                              L"La unidad seleccionada está protegida contra escritura."}},
    {L"box_invalid_title", {L"Eingabe prüfen", L"Check your input", L"Vérifiez la saisie", L"Revise los datos"}},
    {L"box_invalid_input", {L"Ungültige Eingabe oder kein beschreibbares Laufwerk ausgewählt.",
                            L"Invalid input, or no writable drive selected.",
                            L"Saisie non valide, ou aucun lecteur inscriptible sélectionné.",
                            L"Datos no válidos o ninguna unidad grabable seleccionada."}},
    {L"box_non_empty_title", {L"Zielpartition nicht leer", L"Target partition not empty", L"Partition cible non vide", L"Partición de destino no vacía"}},
    {L"box_non_empty", {L"Sicher, die Zielpartition ist nicht leer!\r\n\r\nAusgewähltes Laufwerk: {1}\r\nFrei: {2} von {3} ({4})\r\n\r\nNur eigene Testdateien werden angelegt, aber ein Volltest belegt den freien Speicher. Fortfahren?",
                        L"Are you sure? The target partition is not empty!\r\n\r\nSelected drive: {1}\r\nFree: {2} of {3} ({4})\r\n\r\nOnly Velkor's own test files are created, but a full test fills the free space. Continue?",
                        L"Êtes-vous sûr ? La partition cible n'est pas vide !\r\n\r\nLecteur sélectionné : {1}\r\nLibre : {2} sur {3} ({4})\r\n\r\nSeuls les fichiers de test de Velkor sont créés, mais un test complet remplit l'espace libre. Continuer ?",
                        L"¿Seguro? ¡La partición de destino no está vacía!\r\n\r\nUnidad seleccionada: {1}\r\nLibre: {2} de {3} ({4})\r\n\r\nSolo se crean los archivos de prueba de Velkor, pero una prueba completa llena el espacio libre. ¿Continuar?"}},
    {L"box_system_title", {L"Systemlaufwerk", L"System drive", L"Lecteur système", L"Unidad del sistema"}},
    {L"box_system_volume", {L"Achtung: Das ausgewählte Laufwerk ist das Systemlaufwerk!\r\n\r\nLaufwerk: {1}\r\nDer Test schreibt bis zu {2} Testdaten darauf. Mindestens {3} bleiben frei, damit das System weiterläuft.\r\n\r\nEin Systemlaufwerk zu testen ist selten gewollt. Trotzdem auf dem Systemlaufwerk testen?",
                            L"Caution: the selected drive is the system drive!\r\n\r\nDrive: {1}\r\nThe test writes up to {2} of test data to it. At least {3} stay free so that Windows keeps running.\r\n\r\nTesting the system drive is rarely what you want. Test the system drive anyway?",
                            L"Attention : le lecteur sélectionné est le lecteur système !\r\n\r\nLecteur : {1}\r\nLe test y écrit jusqu'à {2} de données de test. Au moins {3} restent libres pour que Windows continue de fonctionner.\r\n\r\nTester le lecteur système est rarement voulu. Tester quand même le lecteur système ?",
                            L"Atención: ¡la unidad seleccionada es la unidad del sistema!\r\n\r\nUnidad: {1}\r\nLa prueba escribe en ella hasta {2} de datos de prueba. Quedan libres al menos {3} para que Windows siga funcionando.\r\n\r\nProbar la unidad del sistema rara vez es lo que se quiere. ¿Probar de todos modos la unidad del sistema?"}},
    {L"box_program_title", {L"Programm auf dem Testlaufwerk", L"Program on the drive under test", L"Programme sur le lecteur testé", L"Programa en la unidad que se prueba"}},
    {L"box_program_volume", {L"Velkor wurde von dem Laufwerk gestartet, das getestet werden soll: {1}\r\n\r\nEin gefälschtes Laufwerk kann beim Test die Dateien des Programms überschreiben. Log und Ergebnisse dieses Laufs werden deshalb im Benutzerordner abgelegt. Besser ist es, Velkor von einem anderen Laufwerk zu starten.\r\n\r\nTrotzdem fortfahren?",
                             L"Velkor was started from the drive you want to test: {1}\r\n\r\nA fake drive can overwrite the program's files during the test, so the log and results of this run are kept in your user folder. It is better to start Velkor from another drive.\r\n\r\nContinue anyway?",
                             L"Velkor a été lancé depuis le lecteur à tester : {1}\r\n\r\nUn faux lecteur peut écraser les fichiers du programme pendant le test ; le journal et les résultats de ce test sont donc placés dans votre dossier utilisateur. Il vaut mieux lancer Velkor depuis un autre lecteur.\r\n\r\nContinuer quand même ?",
                             L"Velkor se inició desde la unidad que se quiere probar: {1}\r\n\r\nUna unidad falsa puede sobrescribir los archivos del programa durante la prueba, así que el registro y los resultados de esta prueba se guardan en su carpeta de usuario. Es mejor iniciar Velkor desde otra unidad.\r\n\r\n¿Continuar de todos modos?"}},
    {L"box_high_workers_title", {L"Warnung vor Systemverlangsamung", L"System may slow down", L"Risque de ralentissement", L"Posible lentitud del sistema"}},
    {L"box_high_workers", {L"Die Workerzahl nutzt fast alle erlaubten Worker. Ein Kern bleibt frei, aber Windows kann während des Tests langsamer reagieren.",
                           L"The worker count uses almost all allowed workers. One core stays free, but Windows may respond more slowly during the test.",
                           L"Le nombre de workers utilise presque tous les workers autorisés. Un cœur reste libre, mais Windows peut réagir plus lentement pendant le test.",
                           L"El número de workers usa casi todos los permitidos. Un núcleo queda libre, pero Windows puede responder más despacio durante la prueba."}},
    {L"box_drive_busy_title", {L"Laufwerk belegt", L"Drive in use", L"Lecteur occupé", L"Unidad ocupada"}},
    {L"box_drive_busy", {L"Auf diesem Laufwerk läuft bereits ein Test (in diesem oder einem anderen Velkor-Programm). Zwei Tests würden dieselben Testdateien schreiben. Bitte warten, bis der laufende Test beendet ist.",
                         L"A test is already running on this drive (in this or another Velkor window). Two tests would write the same test files. Please wait until the running test has finished.",
                         L"Un test est déjà en cours sur ce lecteur (dans cette fenêtre Velkor ou dans une autre). Deux tests écriraient les mêmes fichiers de test. Attendez la fin du test en cours.",
                         L"Ya hay una prueba en curso en esta unidad (en esta ventana de Velkor o en otra). Dos pruebas escribirían los mismos archivos de prueba. Espere a que termine la prueba en curso."}},
    {L"box_delete_title", {L"Sicherheitsabfrage", L"Confirm deletion", L"Confirmer la suppression", L"Confirmar eliminación"}},
    {L"box_delete_question", {L"Soll die erzeugte Testdatei wirklich gelöscht werden?\r\n\r\nDatei(en): {1}\r\n\r\nEs werden nur die von diesem Test erzeugten Dateien gelöscht.",
                              L"Do you really want to delete the test files created?\r\n\r\nFile(s): {1}\r\n\r\nOnly the files this test created are deleted.",
                              L"Voulez-vous vraiment supprimer les fichiers de test créés ?\r\n\r\nFichier(s) : {1}\r\n\r\nSeuls les fichiers créés par ce test sont supprimés.",
                              L"¿Seguro que desea borrar los archivos de prueba creados?\r\n\r\nArchivo(s): {1}\r\n\r\nSolo se borran los archivos creados por esta prueba."}},
    {L"box_export_failed", {L"Export konnte nicht geschrieben werden.", L"The export could not be written.", L"Impossible d'écrire l'exportation.", L"No se pudo escribir la exportación."}},
    {L"dialog_save_export", {L"Export speichern", L"Save export", L"Enregistrer l'exportation", L"Guardar exportación"}},
    {L"dialog_all_files", {L"Alle Dateien (*.*)", L"All files (*.*)", L"Tous les fichiers (*.*)", L"Todos los archivos (*.*)"}},
    {L"file_type_csv", {L"CSV-Datei", L"CSV file", L"Fichier CSV", L"Archivo CSV"}},
    {L"file_type_xls", {L"Excel-Datei", L"Excel file", L"Fichier Excel", L"Archivo de Excel"}},
    {L"file_type_text", {L"Textdatei", L"Text file", L"Fichier texte", L"Archivo de texto"}},
    {L"file_type_json", {L"JSON-Datei", L"JSON file", L"Fichier JSON", L"Archivo JSON"}},
    {L"file_type_pdf", {L"PDF-Datei", L"PDF file", L"Fichier PDF", L"Archivo PDF"}},
    {L"about_title", {L"Über Velkor", L"About Velkor", L"À propos de Velkor", L"Acerca de Velkor"}},
    {L"about_built", {L"Erstellt am {1}", L"Built on {1}", L"Compilé le {1}", L"Compilado el {1}"}},
    {L"about_purpose", {L"Prüft USB-Sticks, SD-Karten und andere Laufwerke auf echte Kapazität und Datenintegrität.",
                        L"Checks USB sticks, SD cards and other drives for their real capacity and data integrity.",
                        L"Vérifie la capacité réelle et l'intégrité des données des clés USB, cartes SD et autres lecteurs.",
                        L"Comprueba la capacidad real y la integridad de los datos de memorias USB, tarjetas SD y otras unidades."}},
    {L"about_licence", {L"Freie Software unter der MIT-Lizenz.", L"Free software under the MIT License.", L"Logiciel libre sous licence MIT.", L"Software libre con licencia MIT."}},
};

}  // namespace

TextTablePart BoxTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
