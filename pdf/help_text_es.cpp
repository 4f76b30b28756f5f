#include "pdf/help_text.h"

namespace velkor {
namespace {

constexpr const wchar_t* kLines[] = {
    L"# Qué hace Velkor",
    L"Velkor comprueba si una memoria USB, una tarjeta de memoria u otra unidad guarda de verdad tanto como anuncia y si le devuelve los datos sin cambios. Para ello llena el espacio libre con archivos de prueba normales, después vuelve a leer cada bloque de la unidad y lo compara con lo que se escribió.",
    L"Al final, Velkor muestra cuánto se escribió y cuánto se releyó sin errores, cuántos errores hubo, lo fiable que es la unidad y su velocidad. Solo cuenta como verificado lo que de verdad se releyó de la unidad y se comparó.",
    L"# Lo que Velkor nunca hace",
    L"- Nunca formatea una unidad ni cambia particiones.",
    L"- Nunca escribe directamente en el dispositivo: solo crea archivos normales en el espacio libre.",
    L"- No lee ni modifica los archivos que ya hay en la unidad.",
    L"- Solo borra los archivos de prueba que creó la propia prueba, y únicamente después de preguntarle.",
    L"# Su primera prueba",
    L"1. Conecte la memoria o la tarjeta. La unidad aparece en la lista de unidades; las unidades de red y en la nube no se ofrecen.",
    L"2. Seleccione la unidad y compruebe la línea bajo la lista: letra, nombre, tamaño, espacio libre y conexión. Si tiene dudas, Archivo > Abrir en el Explorador muestra su contenido.",
    L"3. Antes, haga una copia de los datos importantes en otra unidad. Velkor no los modifica, pero una unidad falsa puede sobrescribir datos antiguos mientras se llena.",
    L"4. Elija Prueba > Iniciar prueba (F5). Con los ajustes ocultos, Velkor llena todo el espacio libre salvo una pequeña reserva y después lo verifica todo.",
    L"5. Espere al informe. La barra de estado muestra el progreso; Prueba > Detener (Esc) cancela la prueba. Las unidades grandes tardan horas.",
    L"6. Al final, Velkor pregunta si desea borrar los archivos de prueba. Responda Sí y el espacio quedará libre de nuevo.",
    L"# Cómo leer el resultado",
    L"- 0 errores y fiabilidad del 100 %: todo lo escrito volvió sin cambios. En la zona comprobada, la unidad cumple lo que promete.",
    L"- Errores encontrados: la unidad perdió o alteró datos. No le confíe ningún dato.",
    L"- Cancelado: la prueba terminó antes de tiempo porque usted la detuvo, se quitó la unidad o el sistema de archivos no admite un archivo tan grande. Esto no dice nada del resto de la unidad.",
    L"- Verificación incompleta: no se releyó todo. No es una prueba de que la unidad esté bien.",
    L"# Cómo reconocer una memoria falsa",
    L"Las memorias y tarjetas falsas indican al ordenador más capacidad de la que tienen. La escritura parece funcionar, pero todo lo que supera el límite real se pierde o sobrescribe datos anteriores. Señales típicas en el resultado:",
    L"- Los errores empiezan solo a partir de cierta cantidad, y desde ahí casi todos los bloques son incorrectos.",
    L"- Lo releído y verificado es mucho menos que lo escrito, o el número de errores es muy alto.",
    L"- La velocidad de escritura cae bruscamente al cabo de un rato, o el precio era sospechosamente bajo para esa capacidad.",
    L"Solo una prueba sobre todo el espacio libre descubre una falsificación con seguridad. Una prueba corta con un tamaño pequeño solo comprueba el principio, donde incluso una falsificación tiene memoria real.",
    L"Si la prueba encuentra bloques defectuosos, el informe incluye un diagnóstico: el hallazgo, la capacidad utilizable estimada y cuántos bloques volvieron sobrescritos, vacíos, dañados o ilegibles. Si el soporte se repite tras cierta cantidad, o los datos vuelven vacíos a partir de un punto, es la imagen típica de una falsificación; la capacidad utilizable es entonces su tamaño real. Ver > Mapa de bloques y velocidad muestra dónde están los errores en el soporte y cómo cambió la velocidad durante la prueba.",
    L"# Qué significan los ajustes",
    L"Ver > Mostrar ajustes abre los ajustes detallados. Mientras se muestran, Iniciar prueba usa exactamente los valores que hay en ellos. Si se vuelven a ocultar, Iniciar prueba verifica todo el espacio libre salvo una pequeña reserva, con el perfil Fiable y una breve prueba de método antes; Prueba, Libre y Probar zona parcial no se aplican entonces.",
    L"| Ajuste | Significado",
    L"| Prueba (MB) | Cuánto se escribe y se verifica en total. Para comprobar si una unidad es auténtica, use todo el espacio libre.",
    L"| Bloque (KB) | El tamaño de los trozos que se escriben y se leen. Los bloques grandes suelen ser más rápidos; el tamaño de bloque no cambia el veredicto.",
    L"| Workers | Cuántas operaciones de escritura y lectura se hacen a la vez. Más no siempre es más rápido; siempre queda libre un núcleo del procesador.",
    L"| Libre (MB) | Cuánto espacio libre debe quedar en la unidad.",
    L"| Puntos | En cuántos lugares mide la prueba de método. Más puntos comprueban más zonas, pero tardan más.",
    L"| Perfil | El tipo de acceso (véase Perfiles).",
    L"| Probar método antes | Mide varias combinaciones de tamaño de bloque y workers antes de la prueba propiamente dicha.",
    L"| Usar variante rápida | Usa la variante sin errores más rápida de la prueba de método en la prueba completa siguiente.",
    L"| Probar zona parcial | Comprueba solo una parte: desde Inicio (MB), la longitud indicada en Rango (MB). Útil ante una sospecha rápida, pero no sustituye a la prueba completa.",
    L"| Borrar archivos al final | Tras la prueba, pregunta si deben borrarse los archivos de prueba creados.",
    L"# Perfiles",
    L"| Perfil | Significado",
    L"| Modo Quorvel | La prueba completa: llena el espacio libre salvo una reserva y lo relee todo. La opción adecuada para comprobar si una unidad es auténtica.",
    L"| Fiable | Acceso prudente que escribe cada bloque directamente en la unidad. Más lento, pero el más revelador.",
    L"| Equilibrado | Un término medio entre velocidad y prudencia.",
    L"| Turbo (agresivo) | Una comprobación previa rápida que detecta pronto las unidades claramente defectuosas. Para un veredicto definitivo, haga después una prueba completa.",
    L"# Los menús",
    L"| Menú | Contenido",
    L"| Archivo | Abrir la unidad en el Explorador, exportar resultados, abrir la carpeta de resultados, salir",
    L"| Prueba | Iniciar prueba (F5), Detener (Esc), Solo verificar: solo leer y comparar los archivos de prueba existentes",
    L"| Ver | Mostrar u ocultar los ajustes y la prueba de método, mapa de bloques y velocidad de una prueba con bloques defectuosos",
    L"| Ayuda | Esta ayuda como página HTML o PDF, Acerca de Velkor",
    L"# Si una unidad muestra errores",
    L"1. No guarde en ella nada importante. Copie enseguida a otra unidad los datos que aún contenga.",
    L"2. Repita la prueba en otro puerto USB o con otro lector de tarjetas. Si los errores desaparecen, la culpa era del puerto o del lector.",
    L"3. Si los errores vuelven, la unidad está defectuosa o es falsa. Guarde el informe (Sí en la ventana de resultado) o exporte los resultados como prueba.",
    L"4. Devuelva una unidad nueva al vendedor y adjunte el informe. Formatear no repara una unidad falsa: la capacidad falsa sigue ahí.",
    L"# Resultados, registro y exportación",
    L"Cada prueba se guarda como archivo JSON en la carpeta de resultados (Archivo > Abrir la carpeta de resultados); la lista Guardados la vuelve a cargar en la ventana. Archivo > Exportar resultados escribe los resultados mostrados como CSV, Excel, texto, JSON o PDF. El registro de diagnóstico anota lo que ocurrió: unidad, ajustes, archivos, errores y paradas.",
};

}  // namespace

HelpText SpanishHelpText() {
  return {L"es", L"Ayuda de Velkor",
          L"Comprueba si una memoria USB, una tarjeta SD u otra unidad cumple de verdad lo que promete.", kLines,
          sizeof(kLines) / sizeof(kLines[0])};
}

}  // namespace velkor
