// tolvaro-cli tolerancia: a feed's own loading tolerance for the accuracy report.
#include "cli/Comandos.h"

#include "core/Texto.h"
#include "db/BaseDatos.h"
#include "db/Preferencias.h"
#include "historial/ToleranciasAlimento.h"

namespace {

// The bound given with `opcion`: none when not given; false when it is not a number of 0 or more.
bool leerCota(const QCommandLineParser& p, const QString& opcion, std::optional<double>* cota) {
    if (!p.isSet(opcion))
        return true;
    double v = 0;
    if (!Texto::leerNumeroUsuario(p.value(opcion), &v) || v < 0)
        return false;
    *cota = v;
    return true;
}

class ComandoTolerancia final : public Comando {
public:
    ComandoTolerancia()
        : Comando("tolerancia", "tolerancia propia de un alimento para el informe de precisión") {
        uso({"[ALIMENTO [--kg K] [--porcentaje P]]"});
        describir(
            "Fija la tolerancia propia de un alimento para el informe de precisión: una carga está dentro\n"
            "si se aparta del plan a lo sumo K kilos o P % (cualquiera de los dos que tenga el alimento).\n"
            "Sin --kg ni --porcentaje, el alimento vuelve a la tolerancia general. Sin ALIMENTO, lista las\n"
            "tolerancias propias guardadas.\n");
        posicional(QStringLiteral("ALIMENTO"), QStringLiteral("el alimento, como se llama"));
        opciones({{QStringLiteral("kg"), QStringLiteral("tolerancia en kilos"), QStringLiteral("K")},
                  {QStringLiteral("porcentaje"), QStringLiteral("tolerancia en %"), QStringLiteral("P")}});
    }
    int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const override;
};

int ComandoTolerancia::ejecutar(const QCommandLineParser& p, ContextoCli& ctx) const {
    const QStringList args = p.positionalArguments();
    if (args.size() > 1)
        return errorDeUso(QStringLiteral("Indique un solo alimento (entre comillas si tiene espacios)"),
                          "tolerancia", ctx);
    const QLocale local = Texto::regional();
    if (args.isEmpty()) {
        if (p.isSet(QStringLiteral("kg")) || p.isSet(QStringLiteral("porcentaje")))
            return errorDeUso(QStringLiteral("Falta el alimento"), "tolerancia", ctx);
        QList<ToleranciaAlimento> lista;
        if (const auto e = ToleranciasAlimento::leer(BaseDatos::ConexionBD(), &lista)) {
            ctx.errores << "No se pueden leer las tolerancias: " << e->descripcion << Qt::endl;
            return 1;
        }
        ctx.salida << "General: " << local.toString(Preferencias::tolerancia(), 'g', 15) << " %\n";
        for (const ToleranciaAlimento& t : lista)
            ctx.salida << t.alimento << ": " << t.tolerancia.texto(local) << '\n';
        return 0;
    }
    const QString alimento = args.first().trimmed();
    if (alimento.isEmpty())
        return errorDeUso(QStringLiteral("Falta el alimento"), "tolerancia", ctx);
    ToleranciaCarga t;
    if (!leerCota(p, QStringLiteral("kg"), &t.kg))
        return errorDeUso(QStringLiteral("--kg lleva kilos (por ejemplo 2 o 0.5)"), "tolerancia", ctx);
    if (!leerCota(p, QStringLiteral("porcentaje"), &t.porcentaje))
        return errorDeUso(QStringLiteral("--porcentaje lleva un porcentaje (por ejemplo 3 o 2.5)"),
                          "tolerancia", ctx);
    if (const auto e = ToleranciasAlimento::guardar(BaseDatos::ConexionBD(), alimento, t)) {
        ctx.errores << "No se pudo guardar la tolerancia: " << e->descripcion << Qt::endl;
        return 1;
    }
    if (t.kg || t.porcentaje)
        ctx.salida << alimento << ": " << t.texto(local) << '\n';
    else
        ctx.salida << alimento << ": la tolerancia general ("
                   << local.toString(Preferencias::tolerancia(), 'g', 15) << " %)\n";
    return 0;
}
} // namespace

const Comando& comandoTolerancia() {
    static const ComandoTolerancia c;
    return c;
}
