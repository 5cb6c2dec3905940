#pragma once

#include "costos/InventarioStock.h"

class QChart;

// The stock of one feed day by day from `desde` to `hasta` (at each day's close), with its
// counts marked.
namespace GraficoStock {
void dibujar(QChart* grafico, const InventarioStock::Alimento* alimento, QDate desde, QDate hasta);
}
