#include "cli/Comandos.h"

namespace {
const char* const kAyudaRecibir =
    "Uso: tolvaro-cli [--datos CARPETA] recibir --directa [HOST[:PUERTO]] --desde AAAA-MM-DD\n"
    "                 --hasta AAAA-MM-DD [--csv ARCHIVO] [--xlsx ARCHIVO]\n"
    "     tolvaro-cli [--datos CARPETA] recibir --web [--servidor S --usuario U --clave C]\n"
    "                 --desde AAAA-MM-DD --hasta AAAA-MM-DD [--csv ARCHIVO] [--xlsx ARCHIVO]\n"
    "\n"
    "Descarga los sucesos (cargas y descargas) del rango de fechas y los escribe como CSV\n"
    "(UTF-8, separado por comas, primera línea con los encabezados) en el ARCHIVO de --csv,\n"
    "y como libro de hoja de cálculo (.xlsx, hoja \"Sucesos\") en el ARCHIVO de --xlsx.\n"
    "Sin --csv ni --xlsx, el CSV va a la salida. Una descarga fallida no escribe nada;\n"
    "una que llega a su fin queda además en el historial de sucesos de la base de datos (ver\n"
    "'informe' e 'historial').\n";
}

int comandoRecibir(const QStringList& args, ContextoCli& ctx) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        ctx.salida << kAyudaRecibir;
        return 0;
    }
    const bool directa = args.contains(QStringLiteral("--directa"));
    const bool web = args.contains(QStringLiteral("--web"));
    if (directa == web) {
        ctx.errores << "Indique --directa o --web" << Qt::endl << kAyudaRecibir;
        return 2;
    }
    return directa ? recibirDirecta(args, ctx) : recibirWeb(args, ctx);
}
