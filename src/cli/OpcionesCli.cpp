// The parsing shared by the commands of tolvaro-cli.
#include "cli/Comandos.h"

std::optional<int> leerArgumentos(const Comando& c, const QStringList& args, QCommandLineParser& opciones,
                                  QTextStream& salida, QTextStream& errores) {
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("muestra esta ayuda"));
    opciones.addOption(ayuda);
    c.declarar(opciones);
    const bool leidos = opciones.parse(QStringList{QString::fromLatin1(c.nombre)} + args);
    if (opciones.isSet(ayuda)) {
        salida << c.ayuda;
        return 0;
    }
    if (leidos)
        return std::nullopt;
    // The parser stops at an unknown option or at a value option without its value (the last one).
    const QStringList desconocidas = opciones.unknownOptionNames();
    if (!desconocidas.isEmpty())
        errores << "Opción desconocida: " << (desconocidas.first().size() > 1 ? "--" : "-")
                << desconocidas.first();
    else
        errores << "Falta el valor de " << args.last();
    errores << Qt::endl << "'tolvaro-cli " << c.nombre << " --help' describe el comando." << Qt::endl;
    return 2;
}

int errorDeUso(const QString& texto, const char* comando, ContextoCli& ctx) {
    ctx.errores << texto << Qt::endl
                << "'tolvaro-cli " << comando << " --help' describe el comando." << Qt::endl;
    return 2;
}

namespace OpcionesCli {

void declararCaminos(QCommandLineParser& p) {
    p.addOptions(
        {{QStringLiteral("directa"), QStringLiteral("por la conexión directa con la tablet")},
         {QStringLiteral("web"), QStringLiteral("por el servicio web")},
         {QStringLiteral("servidor"), QStringLiteral("servidor del servicio web"), QStringLiteral("S")},
         {QStringLiteral("usuario"), QStringLiteral("usuario del servicio web"), QStringLiteral("U")},
         {QStringLiteral("clave"), QStringLiteral("clave del servicio web"), QStringLiteral("C")}});
    p.addPositionalArgument(QStringLiteral("HOST"), QStringLiteral("la tablet, con --directa"),
                            QStringLiteral("[HOST[:PUERTO]]"));
}

int porCamino(const QCommandLineParser& p, const char* ayuda, Camino directa, Camino web, ContextoCli& ctx) {
    const bool porDirecta = p.isSet(QStringLiteral("directa"));
    if (porDirecta == p.isSet(QStringLiteral("web"))) {
        ctx.errores << "Indique --directa o --web" << Qt::endl << ayuda;
        return 2;
    }
    return porDirecta ? directa(p, ctx) : web(p, ctx);
}

std::optional<QString> primeraDada(const QCommandLineParser& p, const QStringList& nombres) {
    // From what was typed: a command need not declare every option asked about.
    const QStringList dadas = p.optionNames();
    for (const QString& n : nombres)
        if (dadas.contains(n))
            return QStringLiteral("--") + n;
    return std::nullopt;
}

} // namespace OpcionesCli
