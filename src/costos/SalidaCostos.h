#pragma once

#include "costos/InformeCostos.h"
#include "costos/InventarioStock.h"

#include <QByteArray>
#include <QDate>
#include <QList>

// The costs and the stock as CSV for scripts: ";" between fields, "." as the decimal separator
// whatever the regional settings, UTF-8, one line per row ended by CRLF. Money has two decimals,
// kilograms up to three, days left one (empty when nothing was used).
namespace SalidaCostos {

// alimento_id;alimento;stock_kg;uso_diario_kg;dias_restantes (the use over the 7 days before).
QByteArray csvStock(const QList<InventarioStock::Fila>& filas);
// grupo;kg_planificado;kg_real;costo_planificado;costo_real;diferencia, then the TOTAL row.
QByteArray csvCostos(const InformeCostos& informe);
// A day (Dia) as a date; invalid otherwise.
QDate dia(const GrupoCosto& g, PorCosto por);
// Days left to a tenth, with "."; empty without use.
QString diasPunto(const InventarioStock::Fila& f);

} // namespace SalidaCostos
