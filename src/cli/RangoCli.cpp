// The date range of the commands that take one.
#include "cli/Comandos.h"

namespace OpcionesCli {

void declararRango(Comando& c) {
    c.opciones({{QStringLiteral("desde"), QStringLiteral("primer día"), QStringLiteral("AAAA-MM-DD")},
                {QStringLiteral("hasta"), QStringLiteral("último día"), QStringLiteral("AAAA-MM-DD")}});
}

std::optional<QString> leerFechas(const QCommandLineParser& p, QDate* desde, QDate* hasta) {
    const QString d = p.value(QStringLiteral("desde"));
    const QString h = p.value(QStringLiteral("hasta"));
    if (d.isEmpty() || h.isEmpty())
        return QStringLiteral("Indique --desde y --hasta (AAAA-MM-DD)");
    *desde = QDate::fromString(d, QStringLiteral("yyyy-MM-dd"));
    *hasta = QDate::fromString(h, QStringLiteral("yyyy-MM-dd"));
    if (!desde->isValid())
        return QStringLiteral("Fecha no válida en --desde: ") + d;
    if (!hasta->isValid())
        return QStringLiteral("Fecha no válida en --hasta: ") + h;
    return std::nullopt;
}

std::optional<int> leerRango(const QCommandLineParser& p, const char* comando, ContextoCli& ctx, QDate* desde,
                             QDate* hasta) {
    if (const auto error = leerFechas(p, desde, hasta))
        return errorDeUso(*error, comando, ctx);
    if (*desde > *hasta)
        return errorDeUso(QStringLiteral("--desde es posterior a --hasta"), comando, ctx);
    if (!p.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + p.positionalArguments().first(), comando,
                          ctx);
    return std::nullopt;
}

} // namespace OpcionesCli
