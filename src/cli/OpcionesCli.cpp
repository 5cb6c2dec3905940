// The parsing shared by the commands of tolvaro-cli.
#include "cli/Comandos.h"

int errorDeUso(const QString& texto, const char* comando, ContextoCli& ctx) {
    ctx.errores << texto << Qt::endl
                << "'tolvaro-cli " << comando << " --help' describe el comando." << Qt::endl;
    return 2;
}

namespace OpcionesCli {

void declararCaminos(Comando& c) {
    c.opciones(
        {{QStringLiteral("directa"), QStringLiteral("por la conexión directa con la tablet")},
         {QStringLiteral("web"), QStringLiteral("por el servicio web")},
         {QStringLiteral("servidor"), QStringLiteral("servidor del servicio web"), QStringLiteral("S")},
         {QStringLiteral("usuario"), QStringLiteral("usuario del servicio web"), QStringLiteral("U")},
         {QStringLiteral("clave"), QStringLiteral("clave del servicio web"), QStringLiteral("C")}});
    c.posicional(QStringLiteral("HOST"), QStringLiteral("la tablet, con --directa"),
                 QStringLiteral("[HOST[:PUERTO]]"));
}

int porCamino(const QCommandLineParser& p, const QString& ayuda, Camino directa, Camino web,
              ContextoCli& ctx) {
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

std::optional<int> contarArchivosCab(const QCommandLineParser& p, const QString& ayuda, int posicionales,
                                     ContextoCli& ctx) {
    const QStringList resto = p.positionalArguments();
    if (resto.size() < posicionales) {
        ctx.errores << "Indique el archivo .cab" << Qt::endl << ayuda;
        return 2;
    }
    if (resto.size() > posicionales) {
        ctx.errores << "Sobran argumentos: " << resto.mid(posicionales).join(u' ') << Qt::endl << ayuda;
        return 2;
    }
    return std::nullopt;
}

} // namespace OpcionesCli
