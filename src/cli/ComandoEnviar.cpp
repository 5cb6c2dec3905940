#include "cli/Comandos.h"

namespace {
const char* const kAyudaEnviar =
    "Uso: tolvaro-cli [--datos CARPETA] enviar --directa [HOST[:PUERTO]]\n"
    "     tolvaro-cli [--datos CARPETA] enviar --web [--servidor S --usuario U --clave C]\n"
    "\n"
    "Envía la programación (viajes, descargas, alimentos y operarios) a la tablet por la\n"
    "conexión directa, o al servicio web. Sin HOST usa la dirección guardada.\n";
}

int comandoEnviar(const QStringList& args, ContextoCli& ctx) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        ctx.salida << kAyudaEnviar;
        return 0;
    }
    const bool directa = args.contains(QStringLiteral("--directa"));
    const bool web = args.contains(QStringLiteral("--web"));
    if (directa == web) {
        ctx.errores << "Indique --directa o --web" << Qt::endl << kAyudaEnviar;
        return 2;
    }
    return directa ? enviarDirecta(args, ctx) : enviarWeb(args, ctx);
}
