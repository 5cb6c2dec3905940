#pragma once

#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// The rows of the local programme as the value lists of the INSERT statements sent to the web
// service: "('v1','v2',...)" per row, separated by commas, the rows in the reverse of the order
// they were read. Every value stands between apostrophes, escaped for the server's MySQL.
namespace TuplasWeb {

struct Tuplas {
    QString texto; // without the final comma; empty when there are no rows
    int filas = 0;
    std::optional<ErrorBD> error; // a local query failed
};

Tuplas carga(const QString& cliente);     // Prg_Carga: kilogram recipes, then percentage recipes
Tuplas operarios(const QString& cliente); // Operarios
Tuplas alimentos(const QString& cliente); // Alimentos
Tuplas descarga(const QString& cliente);  // Prg_Descarga: per pen, share in percent

} // namespace TuplasWeb
