#include "cli/Comandos.h"

namespace {
const char* const kAyudaEnviar =
    "Uso: tolvaro-cli [--datos CARPETA] enviar --directa [HOST[:PUERTO]]\n"
    "     tolvaro-cli [--datos CARPETA] enviar --web [--servidor S --usuario U --clave C]\n"
    "\n"
    "Envía la programación (viajes, descargas, alimentos y operarios) a la tablet por la\n"
    "conexión directa, o al servicio web. Sin HOST usa la dirección guardada.\n";

int ejecutar(const QCommandLineParser& p, ContextoCli& ctx) {
    return OpcionesCli::porCamino(p, kAyudaEnviar, enviarDirecta, enviarWeb, ctx);
}
} // namespace

const Comando& comandoEnviar() {
    static const Comando c{"enviar",
                           "envía la programación a la tablet (--directa) o al servicio web (--web)",
                           kAyudaEnviar, OpcionesCli::declararCaminos, ejecutar};
    return c;
}
