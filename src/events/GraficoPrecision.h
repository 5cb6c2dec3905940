#pragma once

#include "events/InformePrecision.h"

class QChart;

// The chart under the accuracy table: one bar per group with its difference in percent (the bars
// beyond the tolerance in red), the tolerance band drawn across, and for the grouping by day a
// line that follows the days in order.
namespace GraficoPrecision {
void dibujar(QChart* grafico, const InformePrecision& informe);
}
