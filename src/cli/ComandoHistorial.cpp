// tolvaro-cli historial: the kept events of a date range as CSV; and the merge of every download
// that ended well into that history.
#include "cli/Comandos.h"

#include "db/BaseDatos.h"
#include "events/CsvEventos.h"
#include "events/HistorialSucesos.h"

namespace {
const char* const kAyudaHistorial =
    "Uso: tolvaro-cli [--datos CARPETA] historial --desde AAAA-MM-DD --hasta AAAA-MM-DD [--csv ARCHIVO]\n"
    "\n"
    "Lista los sucesos guardados de cada descarga (de la ventana o de 'recibir') entre las dos\n"
    "fechas, como CSV (UTF-8, separado por comas, primera línea con los encabezados) en ARCHIVO o\n"
    "en la salida. SUGERIDO y REAL van como se recibieron.\n";

QString fechaVista(const QString& iso, const QString& formatoIso, const QString& formato) {
    const QDateTime d = QDateTime::fromString(iso, formatoIso);
    return d.isValid() ? d.toString(formato) : iso;
}
} // namespace

bool guardarEnHistorial(const QList<FilaEvento>& filas, const QString& via, ContextoCli& ctx) {
    const auto e = HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, via);
    if (e)
        ctx.errores << "No se pudieron guardar los sucesos en el historial: " << e->descripcion << Qt::endl;
    return !e;
}

namespace {

void declarar(QCommandLineParser& p) {
    OpcionesCli::declararRango(p);
    p.addOption({QStringLiteral("csv"), QStringLiteral("archivo CSV"), QStringLiteral("ARCHIVO")});
}

int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) {
    QDate desde, hasta;
    if (const auto r = OpcionesCli::leerRango(p, "historial", ctx, &desde, &hasta))
        return *r;
    QList<HistorialSucesos::Guardado> guardados;
    if (const auto e = HistorialSucesos::listar(BaseDatos::ConexionBD(), desde, hasta, &guardados)) {
        ctx.errores << "No se puede leer el historial: " << e->descripcion << Qt::endl;
        return 1;
    }
    QByteArray csv = CsvEventos::linea(FilaEvento::encabezados() +
                                       QStringList{QStringLiteral("VÍA"), QStringLiteral("RECIBIDO")});
    for (const HistorialSucesos::Guardado& g : guardados) {
        const EventoHistorial& e = g.evento;
        csv += CsvEventos::linea(
            {e.tipo, fechaVista(e.fecha, QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd/MM/yyyy")), e.hora,
             e.recetaCorral, e.alimento, e.textoSugerido, e.textoReal, e.operario, g.via,
             fechaVista(g.recibido, QStringLiteral("yyyy-MM-dd HH:mm:ss"),
                        QStringLiteral("dd/MM/yyyy HH:mm:ss"))});
    }
    return escribirCsv(csv, p.value(QStringLiteral("csv")), ctx) ? 0 : 1;
}

} // namespace

const Comando& comandoHistorial() {
    static const Comando c{"historial", "lista los sucesos guardados de un rango de fechas como CSV",
                           kAyudaHistorial, declarar, ejecutar};
    return c;
}
