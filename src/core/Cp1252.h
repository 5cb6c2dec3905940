#pragma once

#include <QByteArray>
#include <QString>

// The tablet speaks single-byte Windows-1252. Characters outside it travel as "?".
namespace Cp1252 {
QByteArray codificar(const QString& texto);
QString decodificar(const QByteArray& bytes);
} // namespace Cp1252
