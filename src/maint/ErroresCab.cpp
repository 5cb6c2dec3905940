#include <libgcab.h>

#include "maint/ErroresCab.h"

#include <QDir>

namespace {

QString danado(const QString& archivo, const QString& por) {
    return QStringLiteral("El archivo %1 está dañado: %2.").arg(QDir::toNativeSeparators(archivo), por);
}

} // namespace

FalloCab falloDe(const GError* error, const QString& archivo) {
    if (!error)
        return {0, danado(archivo, QStringLiteral("sus datos comprimidos no se pueden expandir"))};
    const QString mensaje = QString::fromUtf8(error->message);
    const QString nombre = QDir::toNativeSeparators(archivo);
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_NOT_FOUND:
            return {error->code, QStringLiteral("No existe el archivo %1.").arg(nombre)};
        case G_IO_ERROR_PERMISSION_DENIED:
            return {error->code, QStringLiteral("No se tiene permiso para usar %1.").arg(nombre)};
        case G_IO_ERROR_NO_SPACE:
            return {error->code, QStringLiteral("No queda espacio en el disco para %1.").arg(nombre)};
        case G_IO_ERROR_IS_DIRECTORY:
            return {error->code, QStringLiteral("%1 es una carpeta, no un archivo.").arg(nombre)};
        case G_IO_ERROR_CANCELLED:
            return {error->code, QStringLiteral("Operación cancelada")};
        default:
            break;
        }
        // GIO reports a file that ends too soon as a plain failure.
        if (mensaje.contains(QStringLiteral("end-of-stream")) ||
            mensaje.contains(QStringLiteral("end of stream")))
            return {error->code, danado(archivo, QStringLiteral("está incompleto"))};
        return {error->code, QStringLiteral("Error de lectura o escritura en %1 (%2).").arg(nombre, mensaje)};
    }
    if (error->domain == GCAB_ERROR) {
        if (mensaje.contains(QStringLiteral("not of cabinet format")))
            return {error->code,
                    QStringLiteral("El archivo %1 no es un archivo de Back Up (.cab).").arg(nombre)};
        if (mensaje.contains(QStringLiteral("checksum")))
            return {error->code,
                    danado(archivo, QStringLiteral("sus datos no coinciden con su suma de control"))};
        if (mensaje.contains(QStringLiteral("Expected")))
            return {error->code, danado(archivo, QStringLiteral("está incompleto"))};
        if (mensaje.contains(QStringLiteral("unsupported compression")))
            return {
                error->code,
                QStringLiteral("El archivo %1 usa una compresión que este programa no conoce.").arg(nombre)};
        return {error->code, danado(archivo, mensaje)};
    }
    return {error->code, QStringLiteral("Error con el archivo %1 (%2).").arg(nombre, mensaje)};
}
