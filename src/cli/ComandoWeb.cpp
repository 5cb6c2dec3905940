// The web road of the commands: the web service.
#include "cli/Comandos.h"

int enviarWeb(const QStringList&, ContextoCli& ctx) {
    ctx.errores << "enviar --web todavía no está disponible" << Qt::endl;
    return 1;
}

int recibirWeb(const QStringList&, ContextoCli& ctx) {
    ctx.errores << "recibir --web todavía no está disponible" << Qt::endl;
    return 1;
}
