// tolvaro-cli precio: a feed's price per kilogram from a day on.
#include "cli/Comandos.h"

#include "costos/Importe.h"
#include "costos/PreciosAlimento.h"
#include "db/BaseDatos.h"

namespace {

class ComandoPrecio final : public Comando {
public:
    ComandoPrecio() : Comando("precio", "precio por kilo de un alimento desde un día") {
        uso({"ALIMENTO PRECIO --desde AAAA-MM-DD"});
        describir(
            "Guarda el precio por kilo del alimento (su número en el catálogo) desde ese día; rige hasta el\n"
            "próximo precio del mismo alimento. El precio lleva punto o coma decimal y se guarda con cuatro\n"
            "decimales. Un precio del mismo día reemplaza al anterior.\n");
        opciones({{QStringLiteral("desde"), QStringLiteral("primer día del precio"),
                   QStringLiteral("AAAA-MM-DD")}});
        OpcionesCli::declararAlimentoY(*this, QStringLiteral("PRECIO"), QStringLiteral("precio por kilo"));
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoPrecio::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    OpcionesCli::Movimiento m;
    if (const auto r = OpcionesCli::leerMovimiento(p, "precio", QStringLiteral("desde"), ctx, &m))
        return *r;
    if (const auto e = PreciosAlimento::guardar(BaseDatos::ConexionBD(), m.idAlimento, m.dia, m.cantidad)) {
        ctx.errores << "No se puede guardar el precio: " << e->descripcion << Qt::endl;
        return 1;
    }
    ctx.salida << "Precio de " << m.nombre << " desde " << m.dia.toString(QStringLiteral("dd/MM/yyyy"))
               << ": " << QString::number(Importe::porKilo(Importe::precio(m.cantidad)), 'f', 4) << " por kg"
               << Qt::endl;
    return 0;
}
} // namespace

const Comando& comandoPrecio() {
    static const ComandoPrecio c;
    return c;
}
