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
    {L"report_fastest", {L"Schnellste Variante", L"Fastest variant", L"Variante la plus rapide", L"Variante más rápida"}},
    {L"report_full_block", {L"Volltest / Prüfung", L"Full test / check", L"Test complet / vérification", L"Prueba completa / verificación"}},
    {L"report_access", {L"  Art des Zugriffs: ", L"  Access type: ", L"  Type d'accès : ", L"  Tipo de acceso: "}},
    {L"report_workers", {L"  Worker: ", L"  Workers: ", L"  Workers : ", L"  Workers: "}},
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
    {L"report_error_summary", {L"Zusammenfassung: Fehler gefunden. Geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}. Das Medium ist nicht zuverlässig.", L"Summary: errors found. Written {1}, read back/verified {2}, errors {3}. The medium is not reliable.", L"Résumé : erreurs trouvées. Écrit {1}, relu/vérifié {2}, erreurs {3}. Le support n'est pas fiable.", L"Resumen: errores encontrados. Escrito {1}, releído/verificado {2}, errores {3}. El soporte no es fiable."}},
    {L"report_stopped_summary", {L"Zusammenfassung: abgebrochen. Angezeigte Mengen sind geplant oder teilweise bearbeitet, nicht vollständig erfolgreich geprüft.", L"Summary: cancelled. The amounts shown are planned or partly processed, not completely and successfully verified.", L"Résumé : interrompu. Les quantités affichées sont prévues ou partiellement traitées, pas entièrement vérifiées avec succès.", L"Resumen: cancelado. Las cantidades mostradas están previstas o procesadas en parte, no verificadas por completo con éxito."}},
    {L"report_no_results", {L"Zusammenfassung: keine Ergebnisse.", L"Summary: no results.", L"Résumé : aucun résultat.", L"Resumen: no hay resultados."}},
    {L"report_summary", {L"Zusammenfassung: geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}, Zuverlässigkeit {4}, \u00D8 {5} MB/s", L"Summary: written {1}, read back/verified {2}, errors {3}, reliability {4}, \u00D8 {5} MB/s", L"Résumé : écrit {1}, relu/vérifié {2}, erreurs {3}, fiabilité {4}, moyenne {5} Mo/s", L"Resumen: escrito {1}, releído/verificado {2}, errores {3}, fiabilidad {4}, media {5} MB/s"}},
    {L"report_summary_verify", {L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft {1}, Fehler {2}, Zuverlässigkeit {3}, \u00D8 {4} MB/s", L"Summary: verified only (nothing written), read back/verified {1}, errors {2}, reliability {3}, \u00D8 {4} MB/s", L"Résumé : vérification seule (rien écrit), relu/vérifié {1}, erreurs {2}, fiabilité {3}, moyenne {4} Mo/s", L"Resumen: solo verificado (nada escrito), releído/verificado {1}, errores {2}, fiabilidad {3}, media {4} MB/s"}},
    {L"report_recommendation", {L"Empfehlung: {1}, Worker {2}, Block {3} KB", L"Recommendation: {1}, workers {2}, block {3} KB", L"Recommandation : {1}, workers {2}, bloc {3} Ko", L"Recomendación: {1}, workers {2}, bloque {3} KB"}},

    // The summary field under the lists.
    {L"summary_none", {L"Zusammenfassung: Noch keine Ergebnisse.", L"Summary: no results yet.", L"Résumé : aucun résultat pour l'instant.", L"Resumen: todavía no hay resultados."}},
    {L"summary_head", {L"Zusammenfassung: geschrieben {1}, zurück gelesen/geprüft {2}, Fehler {3}", L"Summary: written {1}, read back/verified {2}, errors {3}", L"Résumé : écrit {1}, relu/vérifié {2}, erreurs {3}", L"Resumen: escrito {1}, releído/verificado {2}, errores {3}"}},
    {L"summary_head_verify", {L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft {1}, Fehler {2}", L"Summary: verified only (nothing written), read back/verified {1}, errors {2}", L"Résumé : vérification seule (rien écrit), relu/vérifié {1}, erreurs {2}", L"Resumen: solo verificado (nada escrito), releído/verificado {1}, errores {2}"}},
    {L"summary_reliability", {L", Zuverlässigkeit {1}", L", reliability {1}", L", fiabilité {1}", L", fiabilidad {1}"}},
    {L"summary_incomplete", {L", Prüfung unvollständig", L", check incomplete", L", vérification incomplète", L", verificación incompleta"}},
    {L"summary_speed", {L", \u00D8 {1} MB/s", L", \u00D8 {1} MB/s", L", moyenne {1} Mo/s", L", media {1} MB/s"}},
    {L"summary_recommendation", {L"\r\nEmpfehlung: {1}", L"\r\nRecommendation: {1}", L"\r\nRecommandation : {1}", L"\r\nRecomendación: {1}"}},
    {L"summary_variant", {L"{1}, Worker {2}, Block {3} KB", L"{1}, workers {2}, block {3} KB", L"{1}, workers {2}, bloc {3} Ko", L"{1}, workers {2}, bloque {3} KB"}},

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
