// tolvaro-cli informe: the loading accuracy of the kept events, grouped, as aligned text, CSV or
// a workbook; or the loads behind it, one line each.
#include "cli/Comandos.h"

#include "core/Texto.h"
#include "db/BaseDatos.h"
#include "db/Preferencias.h"
#include "historial/CargasPrecision.h"
#include "historial/ExportacionInforme.h"
#include "historial/InformePrecision.h"
#include "historial/SalidaInforme.h"
#include "impresion/DocumentoPrecision.h"

namespace {

class ComandoInforme final : public Comando {
public:
    ComandoInforme()
        : Comando(
              "informe",
              "precisión de carga de los sucesos guardados, por alimento, operario, día, receta o corral") {
        uso({"--desde AAAA-MM-DD --hasta AAAA-MM-DD",
             "--por alimento|operario|dia|receta|corral [--tolerancia P]",
             "[--csv ARCHIVO | --xlsx ARCHIVO | --pdf ARCHIVO [--papel a4|carta] [--horizontal]]"});
        uso({"--desde AAAA-MM-DD --hasta AAAA-MM-DD",
             "--cargas [--tolerancia P] [--csv ARCHIVO | --pdf ARCHIVO]"});
        describir(
            "Compara los kilos sugeridos con los reales de los sucesos guardados entre las dos fechas:\n"
            "una fila por grupo con las cargas (las descargas, por corral), los kilos sugeridos y reales,\n"
            "la diferencia en kilos y en %, el desvío medio de cada suceso, cuántos quedan fuera de la\n"
            "tolerancia, qué parte queda dentro de ella, dentro del 2 % y de 5 kg y más allá de 62,5 kg\n"
            "(por operario, además los kilos de más y de menos y el desvío de cada mitad del período).\n"
            "Cada carga se juzga con la tolerancia propia de su alimento ('tolvaro-cli tolerancia') o\n"
            "con la general (P %, por omisión la guardada en el programa). Sin --csv, --xlsx ni --pdf\n"
            "lo escribe en columnas en la salida, después de la línea de resumen. --pdf lo deja listo\n"
            "para imprimir, con el gráfico de la diferencia por grupo.\n"
            "\n"
            "Con --cargas lista en cambio cada carga del período (fecha, hora, viaje, receta, alimento,\n"
            "operario, kilos planificados y reales, diferencia en kilos y en %, dentro o fuera de la\n"
            "tolerancia); con --csv, separado por ';'; con --pdf, el informe seguido de sus cargas.\n");
        OpcionesCli::declararRango(*this);
        opciones({{QStringLiteral("por"), QStringLiteral("agrupación"), QStringLiteral("GRUPO")},
                  {QStringLiteral("cargas"), QStringLiteral("lista las cargas del período")},
                  {QStringLiteral("tolerancia"), QStringLiteral("tolerancia en %"), QStringLiteral("P")},
                  {QStringLiteral("csv"), QStringLiteral("archivo CSV"), QStringLiteral("ARCHIVO")},
                  {QStringLiteral("xlsx"), QStringLiteral("libro de hoja de cálculo"),
                   QStringLiteral("ARCHIVO")}});
        OpcionesCli::declararPdf(*this);
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoInforme::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    QDate desde, hasta;
    if (const auto r = OpcionesCli::leerRango(p, "informe", ctx, &desde, &hasta))
        return *r;
    const bool cargas = p.isSet(QStringLiteral("cargas"));
    std::optional<Agrupacion> por = InformePrecision::leerAgrupacion(p.value(QStringLiteral("por")));
    if (cargas && !p.isSet(QStringLiteral("por")))
        por = Agrupacion::Alimento; // any grouping of loads lists the same loads
    if (!por)
        return errorDeUso(QStringLiteral("Indique --por alimento, operario, dia, receta o corral"), "informe",
                          ctx);
    double tolerancia = Preferencias::tolerancia();
    if (p.isSet(QStringLiteral("tolerancia")) &&
        (!Texto::leerNumeroUsuario(p.value(QStringLiteral("tolerancia")), &tolerancia) || tolerancia < 0))
        return errorDeUso(QStringLiteral("--tolerancia lleva un porcentaje (por ejemplo 3 o 2.5)"), "informe",
                          ctx);
    const QString csv = p.value(QStringLiteral("csv"));
    const QString xlsx = p.value(QStringLiteral("xlsx"));
    if (int(p.isSet(QStringLiteral("csv"))) + int(p.isSet(QStringLiteral("xlsx"))) +
            int(p.isSet(QStringLiteral("pdf"))) >
        1)
        return errorDeUso(QStringLiteral("Indique solo uno de --csv, --xlsx y --pdf"), "informe", ctx);
    if ((p.isSet(QStringLiteral("csv")) && csv.isEmpty()) ||
        (p.isSet(QStringLiteral("xlsx")) && xlsx.isEmpty()))
        return errorDeUso(QStringLiteral("Falta el nombre del archivo"), "informe", ctx);
    if (cargas && p.isSet(QStringLiteral("xlsx")))
        return errorDeUso(QStringLiteral("--cargas se escribe en la salida, con --csv o con --pdf"),
                          "informe", ctx);
    DibujoDocumento::Papel papel;
    if (const auto r = OpcionesCli::leerPdf(p, "informe", ctx, &papel))
        return *r;

    InformePrecision informe;
    if (const auto e = InformePrecision::calcularEnArchivo(BaseDatos::ConexionBD().databaseName(), *por,
                                                           desde, hasta, tolerancia, &informe)) {
        ctx.errores << "No se puede leer el historial: " << e->descripcion << Qt::endl;
        return 1;
    }
    if (cargas) {
        CargasPrecision lista;
        if (const auto e = CargasPrecision::listar(BaseDatos::ConexionBD(), informe, std::nullopt, &lista)) {
            ctx.errores << "No se puede leer el historial: " << e->descripcion << Qt::endl;
            return 1;
        }
        if (p.isSet(QStringLiteral("pdf"))) {
            // On paper the loads come after the report they stand behind.
            DocumentoImpreso::Documento d = DocumentoPrecision::construir(informe);
            DocumentoPrecision::agregarCargas(d, lista);
            return escribirPdf(d, papel, p.value(QStringLiteral("pdf")), ctx) ? 0 : 1;
        }
        if (!csv.isEmpty())
            return escribirCsv(lista.csv(), csv, ctx) ? 0 : 1;
        ctx.salida << lista.alineado(Texto::regional());
        return 0;
    }
    if (p.isSet(QStringLiteral("pdf")))
        return escribirPdf(DocumentoPrecision::construir(informe), papel, p.value(QStringLiteral("pdf")), ctx)
                   ? 0
                   : 1;
    if (!csv.isEmpty())
        return escribirCsv(SalidaInforme::csv(informe), csv, ctx) ? 0 : 1;
    if (!xlsx.isEmpty()) {
        // The same workbook as "EXPORTAR XLS" in the accuracy window.
        ExportacionInforme exportacion(xlsx, informe);
        exportacion.incluirCargas(BaseDatos::ConexionBD().databaseName());
        return escribirLibro(exportacion, xlsx, ctx) ? 0 : 1;
    }
    ctx.salida << SalidaInforme::resumen(informe) << '\n'
               << SalidaInforme::alineado(informe, Texto::regional());
    return 0;
}
} // namespace

const Comando& comandoInforme() {
    static const ComandoInforme c;
    return c;
}
