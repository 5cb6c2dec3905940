#include "cli/OpcionesRango.h"

OpcionesRango::OpcionesRango(const char* ayuda) : ayuda_(ayuda) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("muestra esta ayuda")});
    parser_.addOption({QStringLiteral("desde"), QStringLiteral("primer día"), QStringLiteral("AAAA-MM-DD")});
    parser_.addOption({QStringLiteral("hasta"), QStringLiteral("último día"), QStringLiteral("AAAA-MM-DD")});
}

int OpcionesRango::errorDeUso(const QString& texto, ContextoCli& ctx) const {
    ctx.errores << texto << Qt::endl << ayuda_;
    return 2;
}

int OpcionesRango::leer(const QStringList& args, ContextoCli& ctx) {
    if (!parser_.parse(QStringList{QStringLiteral("tolvaro-cli")} + args))
        return errorDeUso(parser_.errorText(), ctx);
    if (parser_.isSet(QStringLiteral("help"))) {
        ctx.salida << ayuda_;
        return 0;
    }
    if (!parser_.positionalArguments().isEmpty())
        return errorDeUso(QStringLiteral("Argumento inesperado: ") + parser_.positionalArguments().first(),
                          ctx);
    const QString desde = parser_.value(QStringLiteral("desde"));
    const QString hasta = parser_.value(QStringLiteral("hasta"));
    if (desde.isEmpty() || hasta.isEmpty())
        return errorDeUso(QStringLiteral("Indique --desde y --hasta (AAAA-MM-DD)"), ctx);
    desde_ = QDate::fromString(desde, QStringLiteral("yyyy-MM-dd"));
    hasta_ = QDate::fromString(hasta, QStringLiteral("yyyy-MM-dd"));
    if (!desde_.isValid())
        return errorDeUso(QStringLiteral("Fecha no válida en --desde: ") + desde, ctx);
    if (!hasta_.isValid())
        return errorDeUso(QStringLiteral("Fecha no válida en --hasta: ") + hasta, ctx);
    if (desde_ > hasta_)
        return errorDeUso(QStringLiteral("--desde es posterior a --hasta"), ctx);
    return -1;
}
