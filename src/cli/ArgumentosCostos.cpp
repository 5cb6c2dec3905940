// The arguments shared by the commands on feed prices and stock.
#include "cli/Comandos.h"

#include "core/Texto.h"
#include "costos/CatalogoAlimentos.h"
#include "db/BaseDatos.h"

namespace OpcionesCli {

std::optional<QString> leerDia(const QCommandLineParser& p, const QString& opcion, QDate* dia) {
    const QString t = p.value(opcion);
    if (t.isEmpty())
        return QStringLiteral("Indique --%1 (AAAA-MM-DD)").arg(opcion);
    *dia = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!dia->isValid())
        return QStringLiteral("Fecha no válida en --%1: %2").arg(opcion, t);
    return std::nullopt;
}

namespace {

std::optional<int> leerAlimentoYNumero(const QCommandLineParser& p, const char* comando, ContextoCli& ctx,
                                       int* idAlimento, QString* nombre, double* numero) {
    const QStringList args = p.positionalArguments();
    if (args.size() != 2)
        return errorDeUso(QStringLiteral("Indique el alimento (su número) y la cantidad"), comando, ctx);
    bool ok = false;
    *idAlimento = args[0].toInt(&ok);
    if (!ok)
        return errorDeUso(QStringLiteral("El alimento se indica por su número: ") + args[0], comando, ctx);
    if (!Texto::leerNumeroUsuario(args[1], numero) || *numero < 0)
        return errorDeUso(QStringLiteral("Cantidad no válida: ") + args[1], comando, ctx);
    CatalogoAlimentos catalogo;
    if (const auto e = CatalogoAlimentos::cargar(BaseDatos::ConexionBD(), &catalogo)) {
        ctx.errores << "No se pueden leer los alimentos: " << e->descripcion << Qt::endl;
        return 1;
    }
    if (catalogo.posicion(*idAlimento) < 0) {
        ctx.errores << "No existe el alimento " << *idAlimento << Qt::endl;
        return 1;
    }
    *nombre = catalogo.nombre(*idAlimento);
    return std::nullopt;
}

} // namespace

void declararAlimentoY(Comando& c, const QString& cantidad, const QString& descripcion) {
    c.posicional(QStringLiteral("ALIMENTO"), QStringLiteral("número del alimento"));
    c.posicional(cantidad, descripcion);
}

std::optional<int> leerMovimiento(const QCommandLineParser& p, const char* comando, const QString& opcionDia,
                                  ContextoCli& ctx, Movimiento* m) {
    if (const auto r = leerAlimentoYNumero(p, comando, ctx, &m->idAlimento, &m->nombre, &m->cantidad))
        return r;
    if (const auto error = leerDia(p, opcionDia, &m->dia))
        return errorDeUso(*error, comando, ctx);
    return std::nullopt;
}

} // namespace OpcionesCli
