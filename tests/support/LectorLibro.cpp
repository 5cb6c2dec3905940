#include "LectorLibro.h"

#include "ProgramaLinux.h"

#include <QDir>
#include <QJsonDocument>

QJsonObject LectorLibro::leer(const QString& archivo, QString* error) {
    // The python3 on the PATH may be a separate build without Debian's modules.
    const QString script =
        QDir(qEnvironmentVariable("TOLVARO_SOURCE")).filePath("tests/support/leer_libro.py");
    const ProgramaLinux::Resultado p = ProgramaLinux::correr(
        QStringLiteral("/usr/bin/python3"), {ProgramaLinux::ruta(script), ProgramaLinux::ruta(archivo)});
    const QJsonDocument doc = QJsonDocument::fromJson(p.salida);
    if (p.codigo != 0 || !doc.isObject()) {
        if (error)
            *error = QStringLiteral("openpyxl (paquete python3-openpyxl) no pudo leer %1: %2")
                         .arg(archivo, QString::fromUtf8(p.errores) + p.falla);
        return {};
    }
    return doc.object();
}
