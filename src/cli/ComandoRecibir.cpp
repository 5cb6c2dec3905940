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

void declarar(QCommandLineParser& p) {
    OpcionesCli::declararCaminos(p);
    OpcionesCli::declararRango(p);
    p.addOptions(
        {{QStringLiteral("csv"), QStringLiteral("archivo del CSV"), QStringLiteral("ARCHIVO")},
         {QStringLiteral("xlsx"), QStringLiteral("libro de hoja de cálculo"), QStringLiteral("ARCHIVO")},
         {QStringLiteral("espera"), QStringLiteral("silencio de la tablet que da la descarga por fallida"),
          QStringLiteral("SEGUNDOS")}});
}

int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) {
    return OpcionesCli::porCamino(p, kAyudaRecibir, recibirDirecta, recibirWeb, ctx);
}
} // namespace

const Comando& comandoRecibir() {
    static const Comando c{
        "recibir",
        "descarga los sucesos de la tablet o del servicio web (CSV, .xlsx) y los guarda en el historial",
        kAyudaRecibir, declarar, ejecutar};
    return c;
}
