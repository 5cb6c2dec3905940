#pragma once

#include <QString>

// Number and description of a failed exchange with the tablet, as the error reports show them.
// The numbers are those the tablet's users know from the socket layer of the program (40006 for a
// send on a socket that is not connected, the Windows socket numbers 10053 and 10054 for a lost connection).
struct ErrorEnlace {
    QString numero;
    QString descripcion;

    bool operator==(const ErrorEnlace&) const = default;
};
