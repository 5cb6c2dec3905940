// tolvaro-cli costos: what the loads of a period cost, real against planned, grouped.
#include "cli/Comandos.h"

#include "costos/ExportacionCostos.h"
#include "costos/InformeCostos.h"
#include "costos/SalidaCostos.h"
#include "db/BaseDatos.h"

namespace {

class ComandoCostos final : public Comando {
public:
    ComandoCostos()
        : Comando("costos",
                  "costo real y planificado de las cargas, por día, receta, corral, alimento u operario") {
        uso({"--desde AAAA-MM-DD --hasta AAAA-MM-DD",
             "--por dia|receta|corral|alimento|operario [--csv ARCHIVO | --xlsx ARCHIVO]"});
        describir(
            "Valoriza las cargas guardadas entre las dos fechas al precio de cada alimento el día de la\n"
            "carga: los kilos planificados (sugeridos) y los reales, su costo y la diferencia (lo que\n"
            "costaron los desvíos de carga), una fila por grupo y el TOTAL. Por corral, cada viaje reparte\n"
            "su costo entre sus descargas según los kilos descargados. Sin --xlsx escribe CSV (en la "
            "salida,\n"
            "o en ARCHIVO) con las columnas grupo;kg_planificado;kg_real;costo_planificado;costo_real;\n"
            "diferencia. Lo que no se pudo valorizar se nombra en la salida de errores.\n");
        OpcionesCli::declararRango(*this);
        opciones({{QStringLiteral("por"), QStringLiteral("agrupación"), QStringLiteral("GRUPO")},
                  {QStringLiteral("csv"), QStringLiteral("archivo CSV"), QStringLiteral("ARCHIVO")},
                  {QStringLiteral("xlsx"), QStringLiteral("libro de hoja de cálculo"),
                   QStringLiteral("ARCHIVO")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoCostos::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    QDate desde, hasta;
    if (const auto r = OpcionesCli::leerRango(p, "costos", ctx, &desde, &hasta))
        return *r;
    const std::optional<PorCosto> por = InformeCostos::leerPor(p.value(QStringLiteral("por")));
    if (!por)
        return errorDeUso(QStringLiteral("Indique --por dia, receta, corral, alimento u operario"), "costos",
                          ctx);
    const QString csv = p.value(QStringLiteral("csv"));
    const QString xlsx = p.value(QStringLiteral("xlsx"));
    if (p.isSet(QStringLiteral("csv")) && p.isSet(QStringLiteral("xlsx")))
        return errorDeUso(QStringLiteral("Indique --csv o --xlsx, no ambos"), "costos", ctx);
    if ((p.isSet(QStringLiteral("csv")) && csv.isEmpty()) ||
        (p.isSet(QStringLiteral("xlsx")) && xlsx.isEmpty()))
        return errorDeUso(QStringLiteral("Falta el nombre del archivo"), "costos", ctx);

    InformeCostos informe;
    if (const auto e = InformeCostos::calcular(BaseDatos::ConexionBD(), *por, desde, hasta, &informe)) {
        ctx.errores << "No se puede leer el historial: " << e->descripcion << Qt::endl;
        return 1;
    }
    for (const QString& n : informe.sinAlimento)
        ctx.errores << "Aviso: ningún alimento se llama \"" << n << "\" (sus cargas valen 0)" << Qt::endl;
    for (const QString& n : informe.sinPrecio)
        ctx.errores << "Aviso: " << n << " tiene cargas antes de su primer precio (valen 0)" << Qt::endl;
    if (informe.descargasSinCarga > 0)
        ctx.errores << "Aviso: " << informe.descargasSinCarga
                    << " descargas sin una carga anterior en el período (sin costo)" << Qt::endl;
    if (!xlsx.isEmpty()) {
        ExportacionCostos exportacion(xlsx, informe);
        return escribirLibro(exportacion, xlsx, ctx) ? 0 : 1;
    }
    return escribirCsv(SalidaCostos::csvCostos(informe), csv, ctx) ? 0 : 1;
}
} // namespace

const Comando& comandoCostos() {
    static const ComandoCostos c;
    return c;
}
