// The direct road of the commands: the tablet over TCP.
#include "cli/Comandos.h"

int enviarDirecta(const QStringList&, ContextoCli& ctx) {
    ctx.errores << "enviar --directa todavía no está disponible" << Qt::endl;
    return 1;
}

int recibirDirecta(const QStringList&, ContextoCli& ctx) {
    ctx.errores << "recibir --directa todavía no está disponible" << Qt::endl;
    return 1;
}
