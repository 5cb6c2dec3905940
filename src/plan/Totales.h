#pragma once

#include "db/BaseDatos.h"

#include <QList>
#include <QString>
#include <optional>

// The totals per recipe shown by both plan windows (`comprobarTotales`): first one line per
// recipe loaded by kilograms with the kilograms of all its rows, then one line per trip of a
// recipe loaded by percentage with the total of its pen quantities (kilograms for such recipes).
namespace Totales {

struct Linea {
    QString receta;
    QString cantidad; // empty for a percentage trip without pen rows
};

struct Resultado {
    QList<Linea> lineas;          // the lines read before any failure
    std::optional<ErrorBD> error; // the failure that ended the reading
};

extern const QString kConsultaKilos;
extern const QString kConsultaPorcentaje;

Resultado comprobarTotales();

} // namespace Totales
