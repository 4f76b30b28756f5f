#include "common/text_tables.h"

namespace velkor {
namespace {

// The report box and the summary field. The German column is also the results file's summary,
// the exports' and velkor-cli's report, byte for byte.
constexpr TextRow kRows[] = {
    {L"report_title", {L"Velkor Ergebnis", L"Velkor result", L"Résultat Velkor", L"Resultado de Velkor"}},
    {L"report_prompt", {L"Ja = diese Meldung als Text exportieren.\r\nNein = nur schließen.", L"Yes = export this message as text.\r\nNo = just close.", L"Oui = exporter ce message en texte.\r\nNon = fermer seulement.", L"Sí = exportar este mensaje como texto.\r\nNo = solo cerrar."}},
    {L"report_errors_found", {L"FEHLER GEFUNDEN", L"ERRORS FOUND", L"ERREURS TROUVÉES", L"ERRORES ENCONTRADOS"}},
    {L"report_errors_found_text", {L"Der Test wurde wegen Fehlern des Mediums beendet. Diesem Medium dürfen keine Daten anvertraut werden.", L"The test was ended because of errors on the medium. Do not trust this medium with any data.", L"Le test a été arrêté à cause d'erreurs du support. Ne confiez aucune donnée à ce support.", L"La prueba terminó por errores del soporte. No confíe ningún dato a este soporte."}},
    {L"report_aborted", {L"ABGEBROCHEN", L"CANCELLED", L"INTERROMPU", L"CANCELADO"}},
    {L"report_fs_limit_text", {L"Das Dateisystem nimmt keine so große Testdatei an. Das ist kein Fehler des Mediums, aber auch keine erfolgreiche Vollprüfung.", L"The file system does not accept a test file this large. That is not a fault of the medium, but it is not a successful full check either.", L"Le système de fichiers n'accepte pas un fichier de test aussi grand. Ce n'est pas un défaut du support, mais ce n'est pas non plus une vérification complète réussie.", L"El sistema de archivos no admite un archivo de prueba tan grande. No es un fallo del soporte, pero tampoco una verificación completa correcta."}},
    {L"report_file_held_text", {L"Eine Testdatei war auch nach einigen Sekunden noch von einem anderen Programm geöffnet (etwa einem Virenscanner). Das ist kein Fehler des Mediums, aber auch keine erfolgreiche Vollprüfung.", L"A test file was still open in another program after several seconds (an antivirus scanner, for example). That is not a fault of the medium, but it is not a successful full check either.", L"Un fichier de test était encore ouvert par un autre programme après plusieurs secondes (un antivirus, par exemple). Ce n'est pas un défaut du support, mais ce n'est pas non plus une vérification complète réussie.", L"Un archivo de prueba seguía abierto en otro programa tras varios segundos (por ejemplo, un antivirus). No es un fallo del soporte, pero tampoco una verificación completa correcta."}},
    {L"report_stopped_text", {L"Der Test wurde gestoppt. Das ist keine erfolgreiche Vollprüfung.", L"The test was stopped. This is not a successful full check.", L"Le test a été arrêté. Ce n'est pas une vérification complète réussie.", L"La prueba se detuvo. No es una verificación completa correcta."}},
    {L"verdict_ok", {L"IN ORDNUNG", L"OK", L"EN ORDRE", L"CORRECTO"}},
    {L"verdict_ok_text", {L"Der ganze freie Speicher wurde geschrieben und ohne Fehler zurückgelesen.", L"The whole free space was written and read back without an error.", L"Tout l'espace libre a été écrit et relu sans erreur.", L"Todo el espacio libre se escribió y se releyó sin errores."}},
    {L"verdict_ok_amount_text", {L"Die ganze Testmenge wurde geschrieben und ohne Fehler zurückgelesen.", L"The whole test amount was written and read back without an error.", L"Toute la quantité de test a été écrite et relue sans erreur.", L"Toda la cantidad de prueba se escribió y se releyó sin errores."}},
    {L"verdict_ok_verify_text", {L"Die Testdateien wurden ganz und ohne Fehler zurückgelesen.", L"The test files were read back whole and without an error.", L"Les fichiers de test ont été relus en entier et sans erreur.", L"Los archivos de prueba se releyeron enteros y sin errores."}},
    {L"verdict_partial", {L"GEPRÜFTER TEIL IN ORDNUNG", L"TESTED PART OK", L"PARTIE TESTÉE EN ORDRE", L"PARTE PROBADA CORRECTA"}},
    {L"verdict_partial_text", {L"Geprüft wurden {1} von {2} freiem Speicher ({3}), der Rest wurde nicht geprüft. Ob das Medium seine Kapazität wirklich hat, zeigt nur ein Test des ganzen freien Speichers.", L"{1} of {2} of free space were checked ({3}); the rest was not. Only a test of the whole free space shows whether the medium really has its capacity.", L"{1} sur {2} d'espace libre ont été vérifiés ({3}) ; le reste ne l'a pas été. Seul un test de tout l'espace libre montre si le support a vraiment sa capacité.", L"Se verificaron {1} de {2} de espacio libre ({3}); el resto no. Solo una prueba de todo el espacio libre muestra si el soporte tiene de verdad su capacidad."}},
    {L"verdict_failed_text", {L"Beim Zurücklesen wurden Fehler gefunden. Diesem Medium dürfen keine Daten anvertraut werden.", L"Errors were found when reading back. Do not trust this medium with any data.", L"Des erreurs ont été trouvées à la relecture. Ne confiez aucune donnée à ce support.", L"Se encontraron errores al releer. No confíe ningún dato a este soporte."}},
    {L"report_drive_gone_text", {L"Das Laufwerk war während des Tests nicht mehr erreichbar (entfernt, getrennt, oder sein Treiber antwortet nicht mehr). Das sagt nichts über das Medium, ist aber auch keine erfolgreiche Vollprüfung.", L"The drive could no longer be reached during the test (removed, disconnected, or its driver no longer answers). That says nothing about the medium, but it is not a successful full check either.", L"Le lecteur n'était plus joignable pendant le test (retiré, déconnecté, ou son pilote ne répond plus). Cela ne dit rien du support, mais ce n'est pas non plus une vérification complète réussie.", L"La unidad dejó de estar accesible durante la prueba (retirada, desconectada o su controlador ya no responde). Eso no dice nada del soporte, pero tampoco es una verificación completa correcta."}},
    {L"report_session_end_text", {L"Windows hat die Sitzung während des Tests beendet (Herunterfahren, Abmelden oder Neustart). Das ist kein Fehler des Mediums, aber auch keine erfolgreiche Vollprüfung.", L"Windows ended the session during the test (shutdown, sign-out or restart). That is not a fault of the medium, but it is not a successful full check either.", L"Windows a fermé la session pendant le test (arrêt, déconnexion ou redémarrage). Ce n'est pas un défaut du support, mais ce n'est pas non plus une vérification complète réussie.", L"Windows cerró la sesión durante la prueba (apagado, cierre de sesión o reinicio). No es un fallo del soporte, pero tampoco una verificación completa correcta."}},
    {L"report_not_ended_text", {L"Der Lauf kam nicht bis zum Ende seiner Prüfung (das Programm wurde beendet oder nicht alles zurückgelesen). Das ist keine erfolgreiche Vollprüfung.", L"The run did not reach the end of its check (the program was ended, or not everything was read back). This is not a successful full check.", L"L'exécution n'est pas allée au bout de sa vérification (le programme a été arrêté, ou tout n'a pas été relu). Ce n'est pas une vérification complète réussie.", L"La ejecución no llegó al final de su verificación (el programa se cerró o no se releyó todo). No es una verificación completa correcta."}},
    {L"evidence_drive", {L"Laufwerk: {1} (Name: {2}, Dateisystem: {3})", L"Drive: {1} (name: {2}, file system: {3})", L"Lecteur : {1} (nom : {2}, système de fichiers : {3})", L"Unidad: {1} (nombre: {2}, sistema de archivos: {3})"}},
    {L"evidence_space", {L"Kapazität: {1}, frei vor dem Test: {2}", L"Capacity: {1}, free before the test: {2}", L"Capacité : {1}, libre avant le test : {2}", L"Capacidad: {1}, libre antes de la prueba: {2}"}},
    {L"evidence_started", {L"Test begonnen: {1}", L"Test started: {1}", L"Test commencé : {1}", L"Prueba iniciada: {1}"}},
    {L"evidence_program", {L"Programm: Velkor {1}", L"Program: Velkor {1}", L"Programme : Velkor {1}", L"Programa: Velkor {1}"}},
    {L"untested_space", {L"Frei vor dem Test: {1}, getestet: {2}; nicht getestet: {3}.", L"Free before the test: {1}, tested: {2}; not tested: {3}.", L"Libre avant le test : {1}, testé : {2} ; non testé : {3}.", L"Libre antes de la prueba: {1}, probado: {2}; sin probar: {3}."}},
    {L"untested_reserve", {L"{1} Rest frei (Einstellung)", L"{1} kept free (setting)", L"{1} libre restant (réglage)", L"{1} dejados libres (ajuste «Libre»)"}},
    {L"untested_buffer", {L"{1} Sicherheitspuffer", L"{1} safety buffer", L"{1} de marge de sécurité", L"{1} de margen de seguridad"}},
    {L"untested_outside", {L"{1} außerhalb der Testmenge", L"{1} outside the test amount", L"{1} hors de la quantité testée", L"{1} fuera de la cantidad de prueba"}},
    {L"evidence_unknown", {L"unbekannt", L"unknown", L"inconnu", L"desconocido"}},
    {L"coverage_whole", {L"Test: ganzer freier Speicher", L"Test: the whole free space", L"Test : tout l'espace libre", L"Prueba: todo el espacio libre"}},
    {L"coverage_part", {L"Test: {1} von {2} freiem Speicher ({3}), der Rest nicht", L"Test: {1} of {2} of free space ({3}), not the rest", L"Test : {1} sur {2} d'espace libre ({3}), pas le reste", L"Prueba: {1} de {2} de espacio libre ({3}), el resto no"}},
    {L"report_fastest", {L"Schnellste Variante", L"Fastest variant", L"Variante la plus rapide", L"Variante más rápida"}},
    {L"report_full_block", {L"Volltest / Prüfung", L"Full test / check", L"Test complet / vérification", L"Prueba completa / verificación"}},
    {L"report_access", {L"  Art des Zugriffs: ", L"  Access type: ", L"  Type d'accès : ", L"  Tipo de acceso: "}},
    {L"report_workers", {L"  Worker: ", L"  Workers: ", L"  Tâches : ", L"  Hilos: "}},
    {L"report_block", {L"  Blockgröße: ", L"  Block size: ", L"  Taille de bloc : ", L"  Tamaño de bloque: "}},
    {L"report_errors", {L"  Fehler: ", L"  Errors: ", L"  Erreurs : ", L"  Errores: "}},
    {L"report_duration", {L"  Dauer: ", L"  Duration: ", L"  Durée : ", L"  Duración: "}},
    {L"report_speed", {L"  Geschwindigkeit: ", L"  Speed: ", L"  Vitesse : ", L"  Velocidad: "}},
    {L"report_planned", {L"  Geplante Testmenge: ", L"  Planned test amount: ", L"  Quantité de test prévue : ", L"  Cantidad de prueba prevista: "}},
    {L"report_amount", {L"  Testmenge: ", L"  Test amount: ", L"  Quantité testée : ", L"  Cantidad probada: "}},
    {L"report_amount_verify", {L"  Geprüfte Menge: ", L"  Amount verified: ", L"  Quantité vérifiée : ", L"  Cantidad verificada: "}},
    {L"report_written", {L"  Geschrieben: ", L"  Written: ", L"  Écrit : ", L"  Escrito: "}},
    {L"report_read_back", {L"  Zurück gelesen/geprüft: ", L"  Read back/verified: ", L"  Relu/vérifié : ", L"  Releído/verificado: "}},
    {L"report_status", {L"  Status: ", L"  Status: ", L"  État : ", L"  Estado: "}},
    {L"report_error_limit", {L"Fehlergrenze erreicht", L"error limit reached", L"limite d'erreurs atteinte", L"límite de errores alcanzado"}},
    {L"report_io_error", {L"Lese- oder Schreibfehler", L"read or write error", L"erreur de lecture ou d'écriture", L"error de lectura o escritura"}},
    {L"report_error_summary", {L"Zusammenfassung: Fehler gefunden. Geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}, Zuverlässigkeit {4}. Das Medium ist nicht zuverlässig.", L"Summary: errors found. Written {1}, read back/verified {2}, errors {3}, reliability {4}. The medium is not reliable.", L"Résumé : erreurs trouvées. Écrit {1}, relu/vérifié {2}, erreurs {3}, fiabilité {4}. Le support n'est pas fiable.", L"Resumen: errores encontrados. Escrito {1}, releído/verificado {2}, errores {3}, fiabilidad {4}. El soporte no es fiable."}},
    {L"report_stopped_summary", {L"Zusammenfassung: abgebrochen. Angezeigte Mengen sind geplant oder teilweise bearbeitet, nicht vollständig erfolgreich geprüft.", L"Summary: cancelled. The amounts shown are planned or partly processed, not completely and successfully verified.", L"Résumé : interrompu. Les quantités affichées sont prévues ou partiellement traitées, pas entièrement vérifiées avec succès.", L"Resumen: cancelado. Las cantidades mostradas están previstas o procesadas en parte, no verificadas por completo con éxito."}},
    {L"report_no_results", {L"Zusammenfassung: keine Ergebnisse.", L"Summary: no results.", L"Résumé : aucun résultat.", L"Resumen: no hay resultados."}},
    {L"report_summary", {L"Zusammenfassung: geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}, Zuverlässigkeit {4}, \u00D8 {5} MB/s", L"Summary: written {1}, read back/verified {2}, errors {3}, reliability {4}, \u00D8 {5} MB/s", L"Résumé : écrit {1}, relu/vérifié {2}, erreurs {3}, fiabilité {4}, moyenne {5} Mo/s", L"Resumen: escrito {1}, releído/verificado {2}, errores {3}, fiabilidad {4}, media {5} MB/s"}},
    {L"report_summary_verify", {L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft {1}, Fehler {2}, Zuverlässigkeit {3}, \u00D8 {4} MB/s", L"Summary: verified only (nothing written), read back/verified {1}, errors {2}, reliability {3}, \u00D8 {4} MB/s", L"Résumé : vérification seule (rien écrit), relu/vérifié {1}, erreurs {2}, fiabilité {3}, moyenne {4} Mo/s", L"Resumen: solo verificado (nada escrito), releído/verificado {1}, errores {2}, fiabilidad {3}, media {4} MB/s"}},
    {L"report_recommendation", {L"Empfehlung: {1}, Worker {2}, Block {3} KB", L"Recommendation: {1}, workers {2}, block {3} KB", L"Recommandation : {1}, tâches {2}, bloc {3} Ko", L"Recomendación: {1}, hilos {2}, bloque {3} KB"}},

    // The summary field under the lists.
    {L"summary_none", {L"Zusammenfassung: Noch keine Ergebnisse.", L"Summary: no results yet.", L"Résumé : aucun résultat pour l'instant.", L"Resumen: todavía no hay resultados."}},
    {L"summary_head", {L"Zusammenfassung: geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}", L"Summary: written {1}, read back/verified {2}, errors {3}", L"Résumé : écrit {1}, relu/vérifié {2}, erreurs {3}", L"Resumen: escrito {1}, releído/verificado {2}, errores {3}"}},
    {L"summary_head_verify", {L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft {1}, Fehler {2}", L"Summary: verified only (nothing written), read back/verified {1}, errors {2}", L"Résumé : vérification seule (rien écrit), relu/vérifié {1}, erreurs {2}", L"Resumen: solo verificado (nada escrito), releído/verificado {1}, errores {2}"}},
    {L"summary_reliability", {L", Zuverlässigkeit {1}", L", reliability {1}", L", fiabilité {1}", L", fiabilidad {1}"}},
    {L"summary_incomplete", {L", Prüfung unvollständig", L", check incomplete", L", vérification incomplète", L", verificación incompleta"}},
    {L"summary_speed", {L", \u00D8 {1} MB/s", L", \u00D8 {1} MB/s", L", moyenne {1} Mo/s", L", media {1} MB/s"}},
    {L"summary_recommendation", {L"\r\nEmpfehlung: {1}", L"\r\nRecommendation: {1}", L"\r\nRecommandation : {1}", L"\r\nRecomendación: {1}"}},
    {L"summary_variant", {L"{1}, Worker {2}, Block {3} KB", L"{1}, tâches {2}, block {3} KB", L"{1}, tâches {2}, bloc {3} Ko", L"{1}, hilos {2}, bloque {3} KB"}},

    // Names shown in the boxes and lists; results files and logs keep the German ones.
    {L"profile_turbo", {L"Turbo (aggressiv)", L"Turbo (aggressive)", L"Turbo (agressif)", L"Turbo (agresivo)"}},
    {L"profile_balanced", {L"Ausgeglichen", L"Balanced", L"Équilibré", L"Equilibrado"}},
    {L"profile_reliable", {L"Zuverlässig", L"Reliable", L"Fiable", L"Fiable"}},
    {L"profile_quorvel", {L"Quorvel-Modus", L"Quorvel mode", L"Mode Quorvel", L"Modo Quorvel"}},
    {L"method_full_test", {L" (Volltest)", L" (full test)", L" (test complet)", L" (prueba completa)"}},
    {L"method_verify_only", {L" (nur prüfen)", L" (verify only)", L" (vérification seule)", L" (solo verificar)"}},
    {L"format_plain_text", {L"Text pur", L"Plain text", L"Texte brut", L"Texto sin formato"}},
    {L"format_formatted_text", {L"Formatierter Text", L"Formatted text", L"Texte mis en forme", L"Texto con formato"}},
    {L"bus_removable", {L"USB/Wechselmedium", L"USB/removable", L"USB/amovible", L"USB/extraíble"}},
    {L"bus_direct", {L"IDE/Direkt", L"IDE/direct", L"IDE/direct", L"IDE/directo"}},
    {L"bus_virtual", {L"Virtuell", L"Virtual", L"Virtuel", L"Virtual"}},
};

}  // namespace

TextTablePart ReportTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
