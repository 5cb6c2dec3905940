#pragma once

#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// A count of the changes made to the data, kept in the database itself (`preferencias`) by
// triggers on every table but `preferencias`: it moves with each row added, removed or really
// changed, whichever program or command made it, and reading it is one indexed row however large
// the database is. The automatic backup compares it with the count its last archive saw.
namespace ContadorCambios {

inline const QString kClave = QStringLiteral("cambios_datos");

// Creates the counter row and the triggers of the tables that lack them (a table whose columns
// changed gets its update trigger made again). Nothing is written when all are there.
std::optional<ErrorBD> instalar(QSqlDatabase& db);

// The count on `db` (the shared connection by default); -1 when it cannot be read.
qint64 leer(const QSqlDatabase& db = BaseDatos::ConexionBD());

} // namespace ContadorCambios
