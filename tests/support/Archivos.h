#pragma once

// Whole files read and written in one call, for tests that check what landed on disk.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace Archivos {

// The file's bytes; empty when it cannot be read.
inline QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(datos) == datos.size();
}

} // namespace Archivos
