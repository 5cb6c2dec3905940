#pragma once

#include <QString>

// The catalogue table the next catalogue editor edits ("Alimentos", "Operarios" or "Recetas"),
// set by the trip window before it opens an editor.
extern QString Tabla_ABM;
