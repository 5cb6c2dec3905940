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
        posicional(QStringLiteral("ALIMENTO"), QStringLiteral("número del alimento"));
        posicional(QStringLiteral("KG"), QStringLiteral("kilos contados"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoConteo::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    int id = 0;
    QString nombre;
    double kg = 0;
    if (const auto r = OpcionesCli::leerAlimentoYNumero(p, "conteo", ctx, &id, &nombre, &kg))
        return *r;
    QDate fecha;
    if (const auto error = OpcionesCli::leerDia(p, QStringLiteral("fecha"), &fecha))
        return errorDeUso(*error, "conteo", ctx);
    if (const auto e = MovimientosStock::contar(BaseDatos::ConexionBD(), id, fecha, kg,
                                                p.value(QStringLiteral("nota")))) {
        ctx.errores << "No se puede guardar el conteo: " << e->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << "Conteo de " << nombre << " el " << fecha.toString(QStringLiteral("dd/MM/yyyy")) << ": "
               << Texto::numeroRegional(kg) << " kg" << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoConteo() {
    static const ComandoConteo c;
    return c;
}
