#pragma once

#include "db/BaseDatos.h"

#include <functional>
#include <optional>

// A read-only connection of a job's own to the database file, for a report computed off the
// window's thread.
class ConexionLectura {
public:
    // Runs `leer` on a read-only connection of its own to `ruta`, prepared as the shared one and
    // reading pages in place rather than copying them (a year's report walks a large index).
    static std::optional<ErrorBD> usar(const QString& ruta,
                                       const std::function<std::optional<ErrorBD>(QSqlDatabase&)>& leer);
};
