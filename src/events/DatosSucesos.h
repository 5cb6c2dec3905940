#pragma once

#include "web/ConsultaWeb.h"

#include <QString>

// What the events window takes from the main window when it opens: the tablet's address, the
// web service settings as typed, the chosen road, and whether the main connection to the tablet
// is open (the events window then connects by itself to the same address). The default is the
// direct road, not connected.
struct DatosSucesos {
    QString direccionTablet;
    DatosWeb web;
    bool porWeb = false;
    bool principalConectada = false;
};
