#pragma once

#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// Operator number to the text the events list shows: the operator's name, or the number followed
// by " inexistente". The number is bound, so a text that is not a number simply finds no one.
struct ResultadoOperario {
    QString texto;
    std::optional<ErrorBD> error; // the lookup failed on the database
};
ResultadoOperario buscarOperario(const QString& id);
