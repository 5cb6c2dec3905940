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
        OpcionesCli::declararAlimentoY(*this, QStringLiteral("KG"), QStringLiteral("kilos recibidos"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoIngreso::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    OpcionesCli::Movimiento m;
    if (const auto r = OpcionesCli::leerMovimiento(p, "ingreso", QStringLiteral("fecha"), ctx, &m))
        return *r;
    if (const auto e = MovimientosStock::ingresar(BaseDatos::ConexionBD(), m.idAlimento, m.dia, m.cantidad,
                                                  p.value(QStringLiteral("proveedor")),
                                                  p.value(QStringLiteral("nota")))) {
        ctx.errores << "No se puede guardar el ingreso: " << e->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << "Ingreso de " << Texto::numeroRegional(m.cantidad) << " kg de " << m.nombre << " el "
               << m.dia.toString(QStringLiteral("dd/MM/yyyy")) << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoIngreso() {
    static const ComandoIngreso c;
    return c;
}
