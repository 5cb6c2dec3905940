#include "LectorLibro.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>

QJsonObject LectorLibro::leer(const QString& archivo, QString* error) {
    // The python3 on the PATH may be a separate build without Debian's modules.
    const QString script =
        QDir(qEnvironmentVariable("TOLVARO_SOURCE")).filePath("tests/support/leer_libro.py");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {script, archivo});
    const bool termino = p.waitForFinished(60000);
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput());
    if (!termino || p.exitCode() != 0 || !doc.isObject()) {
        if (error)
            *error = QStringLiteral("openpyxl (paquete python3-openpyxl) no pudo leer %1: %2")
                         .arg(archivo, QString::fromUtf8(p.readAllStandardError()) + p.errorString());
        return {};
    }
    return doc.object();
}
