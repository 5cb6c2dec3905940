#include "cli/Comandos.h"

#include "db/BaseDatos.h"
#include "plan/RevisionEnvio.h"

namespace {
const char* const kAyudaEnviar =
    "Uso: tolvaro-cli [--datos CARPETA] enviar --directa [HOST[:PUERTO]] [--aun-asi]\n"
    "     tolvaro-cli [--datos CARPETA] enviar --web [--servidor S --usuario U --clave C] [--aun-asi]\n"
    "\n"
    "Envía la programación (viajes, descargas, alimentos y operarios) a la tablet por la\n"
    "conexión directa, o al servicio web. Sin HOST usa la dirección guardada.\n"
    "\n"
    "Si hay filas del plan cuya receta, alimento u operario ya no existe, no envía nada y\n"
    "dice cuáles son; con --aun-asi envía el resto.\n";

const QString kAunAsi = QStringLiteral("--aun-asi");

// Plan rows the upload would leave out or send incomplete: refused unless --aun-asi is given.
bool planAceptado(bool aunAsi, ContextoCli& ctx) {
    const RevisionEnvio::Revision r = RevisionEnvio::revisar(BaseDatos::ConexionBD());
    if (r.error || r.limpia()) // a plan that cannot be read is reported by the upload itself
        return true;
    ctx.errores << RevisionEnvio::aviso(r) << Qt::endl;
    if (aunAsi)
        return true;
    ctx.errores << "No se envió nada. Use --aun-asi para enviar "
                << (r.omite() ? "el resto de la programación." : "la programación igual.") << Qt::endl;
    return false;
}
} // namespace

int comandoEnviar(const QStringList& argumentos, ContextoCli& ctx) {
    if (argumentos.contains(QStringLiteral("--help")) || argumentos.contains(QStringLiteral("-h"))) {
        ctx.salida << kAyudaEnviar;
        return 0;
    }
    QStringList args = argumentos;
    const bool aunAsi = args.removeAll(kAunAsi) > 0;
    const bool directa = args.contains(QStringLiteral("--directa"));
    const bool web = args.contains(QStringLiteral("--web"));
    if (directa == web) {
        ctx.errores << "Indique --directa o --web" << Qt::endl << kAyudaEnviar;
        return 2;
    }
    if (!planAceptado(aunAsi, ctx))
        return 1;
    return directa ? enviarDirecta(args, ctx) : enviarWeb(args, ctx);
}
