#pragma once

#include "historial/InformePrecision.h"

class QChart;

// The chart under the accuracy table: per group, its net difference in percent beside the mean of
// its loads' own deviations (the groups holding a load beyond the tolerance in red, with how many),
// the tolerance band drawn across, and for the grouping by day a line that follows the days.
namespace GraficoPrecision {
void dibujar(QChart* grafico, const InformePrecision& informe);
}
