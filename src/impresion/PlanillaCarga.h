#pragma once

#include "db/BaseDatos.h"
#include "impresion/DocumentoImpreso.h"

#include <QDate>
#include <optional>

// The loading sheet of a day: per trip, in time order, its number, time, recipe and operator, the
// feeds in loading order with the kilograms the tablet receives for them (a recipe planned in
// percentages converted as the upload converts it), the trip's total, a blank column for what was
// really loaded, and the pens with their share in discharge order.
namespace PlanillaCarga {

struct Resultado {
    DocumentoImpreso::Documento documento;
    int viajes = 0;
    std::optional<ErrorBD> error;
};
Resultado construir(const QDate& dia);

} // namespace PlanillaCarga
