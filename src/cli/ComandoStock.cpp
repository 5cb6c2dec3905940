// tolvaro-cli stock: every feed's stock on a day, its daily use and the days it lasts.
#include "cli/Comandos.h"

#include "costos/InventarioStock.h"
#include "costos/SalidaCostos.h"
#include "db/BaseDatos.h"

namespace {

class ComandoStock final : public Comando {
public:
    ComandoStock() : Comando("stock", "stock de cada alimento, uso diario y días restantes") {
        uso({"[--fecha AAAA-MM-DD] [--csv ARCHIVO]"});
        describir(
            "El stock de cada alimento al cierre del día (hoy, por omisión): los ingresos y conteos\n"
            "guardados menos los kilos reales de las cargas del historial. Escribe en CSV (en la salida, o\n"
            "en ARCHIVO) las columnas alimento_id;alimento;stock_kg;uso_diario_kg;dias_restantes, con el "
            "uso\n"
            "diario de los 7 días anteriores y los días que alcanza el stock a ese uso. Los nombres del\n"
            "historial que no son de ningún alimento se nombran en la salida de errores.\n");
        opciones(
            {{QStringLiteral("fecha"), QStringLiteral("día (hoy por omisión)"), QStringLiteral("AAAA-MM-DD")},
             {QStringLiteral("csv"), QStringLiteral("archivo CSV"), QStringLiteral("ARCHIVO")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoStock::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    if (!p.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + p.positionalArguments().first(), "stock",
                          ctx);
    QDate fecha = QDate::currentDate();
    if (p.isSet(QStringLiteral("fecha")))
        if (const auto error = OpcionesCli::leerDia(p, QStringLiteral("fecha"), &fecha))
            return errorDeUso(*error, "stock", ctx);
    if (p.isSet(QStringLiteral("csv")) && p.value(QStringLiteral("csv")).isEmpty())
        return errorDeUso(QStringLiteral("Falta el nombre del archivo"), "stock", ctx);
    InventarioStock inventario;
    if (const auto e = InventarioStock::calcular(BaseDatos::ConexionBD(), fecha, &inventario)) {
        ctx.errores << "No se puede calcular el stock: " << e->descripcion << Qt::endl;
        return 1;
    }
    for (const QString& n : inventario.sinAlimento)
        ctx.errores << "Aviso: ningún alimento se llama \"" << n << "\" (sus cargas no descuentan stock)"
                    << Qt::endl;
    return escribirCsv(SalidaCostos::csvStock(inventario.filas(fecha)), p.value(QStringLiteral("csv")), ctx)
               ? 0
               : 1;
}
} // namespace

const Comando& comandoStock() {
    static const ComandoStock c;
    return c;
}
