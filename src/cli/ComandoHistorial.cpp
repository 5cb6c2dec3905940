// tolvaro-cli historial: the kept events of a date range as CSV; and the merge of every download
// that ended well into that history.
#include "cli/Comandos.h"

#include "core/CsvEventos.h"
#include "db/BaseDatos.h"
#include "db/Preferencias.h"
#include "events/DescargaSucesos.h"
#include "historial/HistorialSucesos.h"
#include "impresion/DocumentoImpreso.h"

namespace {

QString fechaVista(const QString& iso, const QString& formatoIso, const QString& formato) {
    const QDateTime d = QDateTime::fromString(iso, formatoIso);
    return d.isValid() ? d.toString(formato) : iso;
}
// The kept events on paper: the same columns as the CSV.
DocumentoImpreso::Documento documento(const QDate& desde, const QDate& hasta, const QStringList& encabezados,
                                      const QList<QStringList>& filas) {
    using namespace DocumentoImpreso;
    Documento d;
    d.titulo = QStringLiteral("Sucesos guardados");
    d.granja = Preferencias::granja();
    d.datos << QStringLiteral("Período: del %1 al %2").arg(fecha(desde), fecha(hasta));
    d.datos << QStringLiteral("%1 sucesos").arg(filas.size());
    QList<Columna> columnas;
    for (qsizetype i = 0; i < encabezados.size(); ++i)
        columnas << Columna{encabezados[i], 1, i == 5 || i == 6 ? Qt::AlignRight : Qt::AlignLeft};
    Seccion s = tabla(QString(), columnas, filas);
    anchosPorContenido(s);
    s.sinFilas = QStringLiteral("No hay sucesos guardados en el período.");
    d.secciones << s;
    return d;
}
} // namespace

bool guardarEnHistorial(const DescargaSucesos& descarga, ContextoCli& ctx) {
    const auto e = descarga.guardar(BaseDatos::ConexionBD());
    if (e)
        ctx.errores << "No se pudieron guardar los sucesos en el historial: " << e->descripcion << Qt::endl;
    return !e;
}

namespace {

class ComandoHistorial final : public Comando {
public:
    ComandoHistorial() : Comando("historial", "lista los sucesos guardados de un rango de fechas como CSV") {
        uso({"--desde AAAA-MM-DD --hasta AAAA-MM-DD [--csv ARCHIVO]",
             "[--pdf ARCHIVO [--papel a4|carta] [--horizontal]]"});
        describir(
            "Lista los sucesos guardados de cada descarga (de la ventana o de 'recibir') entre las dos\n"
            "fechas, como CSV (UTF-8, separado por comas, primera línea con los encabezados) en ARCHIVO o\n"
            "en la salida. SUGERIDO y REAL van como se recibieron. Con --pdf escribe la misma lista, lista\n"
            "para imprimir, en ARCHIVO (y el CSV solo si se indica --csv).\n");
        OpcionesCli::declararRango(*this);
        opciones({{QStringLiteral("csv"), QStringLiteral("archivo CSV"), QStringLiteral("ARCHIVO")}});
        OpcionesCli::declararPdf(*this);
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoHistorial::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    QDate desde, hasta;
    if (const auto r = OpcionesCli::leerRango(p, "historial", ctx, &desde, &hasta))
        return *r;
    DibujoDocumento::Papel papel;
    if (const auto r = OpcionesCli::leerPdf(p, "historial", ctx, &papel))
        return *r;
    QList<HistorialSucesos::Guardado> guardados;
    if (const auto e = HistorialSucesos::listar(BaseDatos::ConexionBD(), desde, hasta, &guardados)) {
        ctx.errores << "No se puede leer el historial: " << e->descripcion << Qt::endl;
        return 1;
    }
    const QStringList encabezados =
        FilaEvento::encabezados() + QStringList{QStringLiteral("VÍA"), QStringLiteral("RECIBIDO")};
    QList<QStringList> filas;
    for (const HistorialSucesos::Guardado& g : guardados) {
        const EventoHistorial& e = g.evento;
        filas << QStringList{e.tipo,
                             fechaVista(e.fecha, QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd/MM/yyyy")),
                             e.hora,
                             e.recetaCorral,
                             e.alimento,
                             e.textoSugerido,
                             e.textoReal,
                             e.operario,
                             g.via,
                             fechaVista(g.recibido, QStringLiteral("yyyy-MM-dd HH:mm:ss"),
                                        QStringLiteral("dd/MM/yyyy HH:mm:ss"))};
    }
    if (p.isSet(QStringLiteral("pdf"))) {
        if (!escribirPdf(documento(desde, hasta, encabezados, filas), papel, p.value(QStringLiteral("pdf")),
                         ctx))
            return 1;
        if (!p.isSet(QStringLiteral("csv")))
            return 0;
    }
    QByteArray csv = CsvEventos::linea(encabezados);
    for (const QStringList& f : filas)
        csv += CsvEventos::linea(f);
    return escribirCsv(csv, p.value(QStringLiteral("csv")), ctx) ? 0 : 1;
}

} // namespace

const Comando& comandoHistorial() {
    static const ComandoHistorial c;
    return c;
}
