#include "common/text_tables.h"

namespace velkor {
namespace {

// The diagnosis of a run that found bad blocks: in the report box, the block map window and its
// chart. The German column is also the log's, the results file's and velkor-cli's text.
constexpr TextRow kRows[] = {
    {L"diag_heading", {L"Diagnose", L"Diagnosis", L"Diagnostic", L"Diagnóstico"}},
    {L"diag_finding", {L"Befund: ", L"Finding: ", L"Constat : ", L"Hallazgo: "}},
    {L"diag_usable", {L"Nutzbare Kapazität (geschätzt): ", L"Usable capacity (estimated): ", L"Capacité utilisable (estimée) : ", L"Capacidad utilizable (estimada): "}},
    {L"diag_partial", {L"Fehlerhafte Blöcke gefunden; der Test wurde nicht bis zum Ende gelesen, über den Rest ist nichts bekannt.", L"Bad blocks found; the test was not read to the end, so nothing is known about the rest.", L"Blocs défectueux trouvés ; le test n'a pas été relu jusqu'au bout, on ne sait rien du reste.", L"Se encontraron bloques defectuosos; la prueba no se leyó hasta el final, así que no se sabe nada del resto."}},
    {L"diag_wraps", {L"Das Medium wiederholt sich nach {1}: spätere Daten überschreiben frühere.", L"The medium repeats itself after {1}: later data overwrites earlier data.", L"Le support se répète après {1} : les données suivantes écrasent les précédentes.", L"El soporte se repite después de {1}: los datos posteriores sobrescriben los anteriores."}},
    {L"diag_empty_from", {L"Daten ab {1} kommen leer zurück.", L"Data from {1} on comes back empty.", L"Les données à partir de {1} reviennent vides.", L"Los datos a partir de {1} vuelven vacíos."}},
    {L"diag_damaged_from", {L"Daten ab {1} kommen beschädigt zurück.", L"Data from {1} on comes back damaged.", L"Les données à partir de {1} reviennent endommagées.", L"Los datos a partir de {1} vuelven dañados."}},
    {L"diag_unreadable_from", {L"Lesefehler ab {1}.", L"Read errors from {1} on.", L"Erreurs de lecture à partir de {1}.", L"Errores de lectura a partir de {1}."}},
    {L"diag_single_overwritten", {L"Einzelne Blöcke sind überschrieben.", L"Some blocks are overwritten.", L"Certains blocs sont écrasés.", L"Algunos bloques están sobrescritos."}},
    {L"diag_single_empty", {L"Einzelne Blöcke kommen leer zurück.", L"Some blocks come back empty.", L"Certains blocs reviennent vides.", L"Algunos bloques vuelven vacíos."}},
    {L"diag_single_unreadable", {L"Einzelne Blöcke sind unlesbar.", L"Some blocks are unreadable.", L"Certains blocs sont illisibles.", L"Algunos bloques son ilegibles."}},
    {L"diag_single_damaged", {L"Einzelne Blöcke sind beschädigt.", L"Some blocks are damaged.", L"Certains blocs sont endommagés.", L"Algunos bloques están dañados."}},
    {L"diag_scattered", {L"Viele Blöcke sind fehlerhaft (vor allem {1}), verteilt zwischen guten Blöcken.", L"Many blocks are bad (mostly {1}), spread among good ones.", L"De nombreux blocs sont défectueux (surtout {1}), répartis entre des blocs sains.", L"Muchos bloques son defectuosos (sobre todo {1}), repartidos entre bloques buenos."}},
    {L"diag_basis", {L"Grundlage: ", L"Basis: ", L"Base : ", L"Base: "}},
    {L"diag_order_device", {L"Lage der Testdateien auf dem Medium; Positionen und Kapazität sind Offsets auf dem Medium.", L"Where the test files lie on the medium; positions and capacity are offsets on the medium.", L"Emplacement des fichiers de test sur le support ; positions et capacité sont des décalages sur le support.", L"Ubicación de los archivos de prueba en el soporte; posiciones y capacidad son desplazamientos en el soporte."}},
    {L"diag_order_file", {L"Reihenfolge in den Testdateien; wo ihre Blöcke auf dem Medium liegen, ist nicht bekannt. Die Kapazität zählt die intakten Blöcke.", L"Order in the test files; where their blocks lie on the medium is not known. The capacity counts the intact blocks.", L"Ordre dans les fichiers de test ; on ne sait pas où leurs blocs se trouvent sur le support. La capacité compte les blocs intacts.", L"Orden en los archivos de prueba; no se sabe dónde están sus bloques en el soporte. La capacidad cuenta los bloques intactos."}},
    {L"diag_none", {L"Keine fehlerhaften Blöcke gefunden.", L"No bad blocks found.", L"Aucun bloc défectueux trouvé.", L"No se encontraron bloques defectuosos."}},
    {L"diag_counts", {L"Blöcke: {1} OK, {2} überschrieben, {3} leer, {4} beschädigt, {5} unlesbar ({6} geprüft, davon {7} Stichprobe)", L"Blocks: {1} OK, {2} overwritten, {3} empty, {4} damaged, {5} unreadable ({6} checked, {7} of them sampled)", L"Blocs : {1} OK, {2} écrasés, {3} vides, {4} endommagés, {5} illisibles ({6} vérifiés, dont {7} par échantillon)", L"Bloques: {1} OK, {2} sobrescritos, {3} vacíos, {4} dañados, {5} ilegibles ({6} verificados, {7} de ellos por muestreo)"}},
    {L"diag_warning", {L"Warnung: Die Kapazität ist vorhanden, aber einzelne Blöcke sind fehlerhaft. Diesem Medium keine wichtigen Daten anvertrauen.", L"Warning: the capacity is there, but some blocks are bad. Do not trust this medium with important data.", L"Attention : la capacité est bien là, mais certains blocs sont défectueux. Ne confiez pas de données importantes à ce support.", L"Aviso: la capacidad existe, pero algunos bloques son defectuosos. No confíe datos importantes a este soporte."}},
    {L"class_ok", {L"OK", L"OK", L"OK", L"OK"}},
    {L"class_overwritten", {L"überschrieben", L"overwritten", L"écrasé", L"sobrescrito"}},
    {L"class_empty", {L"leer", L"empty", L"vide", L"vacío"}},
    {L"class_damaged", {L"beschädigt", L"damaged", L"endommagé", L"dañado"}},
    {L"class_unreadable", {L"unlesbar", L"unreadable", L"illisible", L"ilegible"}},
    {L"class_unchecked", {L"nicht geprüft", L"not checked", L"non vérifié", L"no verificado"}},
    {L"chart_all_intact", {L"Befund: Jeder Block kam unversehrt zurück. Ohne fehlerhafte Blöcke gibt es keine Blockkarte.", L"Finding: every block came back intact. Without bad blocks there is no block map.", L"Constat : chaque bloc est revenu intact. Sans bloc défectueux, il n'y a pas de carte des blocs.", L"Resultado: todos los bloques volvieron intactos. Sin bloques defectuosos no hay mapa de bloques."}},
    {L"chart_checked_intact", {L"Befund: Jeder geprüfte Block kam unversehrt zurück. Ohne fehlerhafte Blöcke gibt es keine Blockkarte.", L"Finding: every block that was read back came back intact. Without bad blocks there is no block map.", L"Constat : chaque bloc relu est revenu intact. Sans bloc défectueux, il n'y a pas de carte des blocs.", L"Resultado: todos los bloques leídos volvieron intactos. Sin bloques defectuosos no hay mapa de bloques."}},
    {L"chart_finding_line", {L"Befund: {1}  Nutzbare Kapazität (geschätzt): {2}", L"Finding: {1}  Usable capacity (estimated): {2}", L"Constat : {1}  Capacité utilisable (estimée) : {2}", L"Hallazgo: {1}  Capacidad utilizable (estimada): {2}"}},
    {L"chart_limit", {L"Grenze der nutzbaren Kapazität (geschätzt): {1}", L"Limit of the usable capacity (estimated): {1}", L"Limite de la capacité utilisable (estimée) : {1}", L"Límite de la capacidad utilizable (estimada): {1}"}},
    {L"chart_cell_note", {L"Eine Zelle: {1}, in der Reihenfolge der Testdateien, in Zeilen von links nach rechts", L"One cell: {1}, in the order of the test files, in rows from left to right", L"Une cellule : {1}, dans l'ordre des fichiers de test, en lignes de gauche à droite", L"Una celda: {1}, en el orden de los archivos de prueba, en filas de izquierda a derecha"}},
    {L"chart_cell_note_device", {L"Eine Zelle: {1}, nach Lage auf dem Medium, in Zeilen von links nach rechts", L"One cell: {1}, by place on the medium, in rows from left to right", L"Une cellule : {1}, selon l'emplacement sur le support, en lignes de gauche à droite", L"Una celda: {1}, según la ubicación en el soporte, en filas de izquierda a derecha"}},
    {L"chart_position", {L"Position im Test (0 % = Anfang, 100 % = Ende)", L"Position in the test (0 % = start, 100 % = end)", L"Position dans le test (0 % = début, 100 % = fin)", L"Posición en la prueba (0 % = inicio, 100 % = final)"}},
    {L"chart_write", {L"Schreiben", L"Write", L"Écriture", L"Escritura"}},
    {L"chart_read", {L"Lesen", L"Read", L"Lecture", L"Lectura"}},
};

}  // namespace

TextTablePart DiagnosisTextRows() { return {kRows, sizeof(kRows) / sizeof(kRows[0])}; }

}  // namespace velkor
