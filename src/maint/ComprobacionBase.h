#pragma once

#include <QString>
#include <optional>

// Whether the file at `ruta` is a sound database of this program: SQLite's integrity check finds
// nothing wrong and every table the windows use is there. Opens its own read-only connection
// (never the shared one), so any thread may call it. The reason in Spanish when it is not.
std::optional<QString> comprobarBase(const QString& ruta);
