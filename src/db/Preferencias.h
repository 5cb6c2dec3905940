#pragma once

#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// The user's preferences kept in the local database (table `preferencias`, one text per key),
// so they follow the database file rather than the machine.
namespace Preferencias {

// The stored text of `clave`, or nothing when it was never saved (or cannot be read).
std::optional<QString> leer(const QString& clave);
// Stores `valor` under `clave`, replacing what was there.
std::optional<ErrorBD> guardar(const QString& clave, const QString& valor);

// The accuracy report's tolerance in percent: 3 until the user changes it.
inline const QString kTolerancia = QStringLiteral("precision_tolerancia");
constexpr double kToleranciaInicial = 3.0;
double tolerancia();
std::optional<ErrorBD> guardarTolerancia(double porcentaje);

// The farm's name, at the head of every printed page; empty until the user gives it.
inline const QString kGranja = QStringLiteral("granja");
QString granja();
std::optional<ErrorBD> guardarGranja(const QString& nombre);

} // namespace Preferencias
