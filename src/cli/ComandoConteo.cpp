// tolvaro-cli conteo: the kilograms of a feed found on hand on a day.
#include "cli/Comandos.h"

#include "core/Texto.h"
#include "costos/MovimientosStock.h"
#include "db/BaseDatos.h"

namespace {

class ComandoConteo final : public Comando {
public:
    ComandoConteo() : Comando("conteo", "conteo físico del stock de un alimento") {
        uso({"ALIMENTO KG --fecha AAAA-MM-DD [--nota TEXTO]"});
        describir(
            "Guarda un conteo físico: el stock del alimento (su número en el catálogo) al cierre de ese día\n"
            "pasa a ser KG. La diferencia con el stock calculado es la merma.\n");
        opciones({{QStringLiteral("fecha"), QStringLiteral("día del conteo"), QStringLiteral("AAAA-MM-DD")},
                  {QStringLiteral("nota"), QStringLiteral("nota"), QStringLiteral("TEXTO")}});
        OpcionesCli::declararAlimentoY(*this, QStringLiteral("KG"), QStringLiteral("kilos contados"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoConteo::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    OpcionesCli::Movimiento m;
    if (const auto r = OpcionesCli::leerMovimiento(p, "conteo", QStringLiteral("fecha"), ctx, &m))
        return *r;
    if (const auto e = MovimientosStock::contar(BaseDatos::ConexionBD(), m.idAlimento, m.dia, m.cantidad,
                                                p.value(QStringLiteral("nota")))) {
        ctx.errores << "No se puede guardar el conteo: " << e->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << "Conteo de " << m.nombre << " el " << m.dia.toString(QStringLiteral("dd/MM/yyyy")) << ": "
               << Texto::numeroRegional(m.cantidad) << " kg" << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoConteo() {
    static const ComandoConteo c;
    return c;
}
