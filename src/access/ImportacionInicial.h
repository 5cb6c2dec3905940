#pragma once

#include <QString>
#include <optional>

// The first start of a farm that comes from the Access program: its data folder holds `base.mdb`
// (any case) and no `base.db` yet. Wherever the database is first opened (the program, every
// command of tolvaro-cli) this runs before, so the farm's data is there from the first moment.
// The Access file stays untouched beside the new database.
namespace ImportacionInicial {

// The Access file waiting to be imported in `carpeta`; empty when there is none or base.db exists.
QString pendiente(const QString& carpeta);

struct Aviso {
    bool ok = false;
    QString texto; // the summary of what came in, or why nothing did
};

// Imports the pending file, if any. nullopt when there was nothing to do. On failure nothing is
// written, and the caller should stop: starting on an empty database would leave the farm's data
// behind without a word.
std::optional<Aviso> importarSiHaceFalta(const QString& carpeta);

} // namespace ImportacionInicial
