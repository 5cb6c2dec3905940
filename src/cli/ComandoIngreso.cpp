// tolvaro-cli ingreso: kilograms of a feed received on a day.
#include "cli/Comandos.h"

#include "core/Texto.h"
#include "costos/MovimientosStock.h"
#include "db/BaseDatos.h"

namespace {

class ComandoIngreso final : public Comando {
public:
    ComandoIngreso() : Comando("ingreso", "kilos de un alimento recibidos un día") {
        uso({"ALIMENTO KG --fecha AAAA-MM-DD [--proveedor TEXTO]", "[--nota TEXTO]"});
        describir("Suma al stock del alimento (su número en el catálogo) los kilos recibidos ese día.\n");
        opciones({{QStringLiteral("fecha"), QStringLiteral("día del ingreso"), QStringLiteral("AAAA-MM-DD")},
                  {QStringLiteral("proveedor"), QStringLiteral("proveedor"), QStringLiteral("TEXTO")},
                  {QStringLiteral("nota"), QStringLiteral("nota"), QStringLiteral("TEXTO")}});
        posicional(QStringLiteral("ALIMENTO"), QStringLiteral("número del alimento"));
        posicional(QStringLiteral("KG"), QStringLiteral("kilos recibidos"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoIngreso::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    int id = 0;
    QString nombre;
    double kg = 0;
    if (const auto r = OpcionesCli::leerAlimentoYNumero(p, "ingreso", ctx, &id, &nombre, &kg))
        return *r;
    QDate fecha;
    if (const auto error = OpcionesCli::leerDia(p, QStringLiteral("fecha"), &fecha))
        return errorDeUso(*error, "ingreso", ctx);
    if (const auto e = MovimientosStock::ingresar(BaseDatos::ConexionBD(), id, fecha, kg,
                                                  p.value(QStringLiteral("proveedor")),
                                                  p.value(QStringLiteral("nota")))) {
        ctx.errores << "No se puede guardar el ingreso: " << e->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << "Ingreso de " << Texto::numeroRegional(kg) << " kg de " << nombre << " el "
               << fecha.toString(QStringLiteral("dd/MM/yyyy")) << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoIngreso() {
    static const ComandoIngreso c;
    return c;
}
