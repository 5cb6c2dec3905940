#pragma once

#include "historial/CargasPrecision.h"
#include "historial/InformePrecision.h"
#include "impresion/DocumentoImpreso.h"

#include <QImage>

// The accuracy report on paper: its period, grouping and tolerance rule, the table with the same
// texts as the window and the command line (the groups beyond the tolerance marked) and a chart
// of the difference per group.
namespace DocumentoPrecision {

// `grafico` may be the window's own chart; when null, the chart is drawn here.
DocumentoImpreso::Documento construir(const InformePrecision& informe, const QImage& grafico = {});

// Adds the loads behind the report after its table, those outside their tolerance marked.
void agregarCargas(DocumentoImpreso::Documento& documento, const CargasPrecision& lista);

// One bar per group with its difference in percent, red beyond the tolerance, and the tolerance
// band drawn across.
QImage grafico(const InformePrecision& informe, const QSize& tamano = QSize(1800, 700));

} // namespace DocumentoPrecision
