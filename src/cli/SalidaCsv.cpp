#include "cli/Comandos.h"
#include "core/ArchivoSeguro.h"

#include <cstdio>

bool escribirCsv(const QByteArray& csv, const QString& archivo, ContextoCli& ctx) {
    if (archivo.isEmpty()) {
        ctx.salida.flush();
        std::fwrite(csv.constData(), 1, static_cast<size_t>(csv.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QString error;
    if (!ArchivoSeguro::escribir(archivo, csv, &error)) {
        ctx.errores << error << Qt::endl;
        return false;
    }
    return true;
}
