#pragma once

#include "costos/InventarioStock.h"

#include <QDate>
#include <QString>

#include <optional>

// The main window's warning of feeds about to run out: those whose stock lasts fewer days, at the
// use of the last 7 days, than a threshold the user chooses (3 at first, kept with the database's
// preferences).
namespace AvisoStock {

inline const QString kClave = QStringLiteral("stock_dias_aviso");
constexpr double kUmbralInicial = 3.0;
double umbral();
std::optional<ErrorBD> guardarUmbral(double dias);

// The feeds below `umbral` days on `fecha`, as the warning reads ("Stock para menos de 3 días:
// Silaje De Maíz (2,5 días)"); empty when there are none.
QString texto(const InventarioStock& inventario, QDate fecha, double umbral);
// The same from the shared connection, today; empty when the stock cannot be read.
QString textoHoy();

} // namespace AvisoStock
