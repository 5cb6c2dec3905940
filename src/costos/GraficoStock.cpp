#include "costos/GraficoStock.h"

#include "costos/Importe.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace GraficoStock {

void dibujar(QChart* grafico, const InventarioStock::Alimento* alimento, QDate desde, QDate hasta) {
    grafico->removeAllSeries();
    for (QAbstractAxis* eje : grafico->axes()) {
        grafico->removeAxis(eje);
        delete eje;
    }
    if (!alimento || desde > hasta) {
        grafico->setTitle(QStringLiteral("Sin alimento elegido"));
        return;
    }
    grafico->setTitle(QStringLiteral("Stock de %1 (kg)").arg(alimento->nombre));
    auto* linea = new QLineSeries;
    linea->setName(QStringLiteral("Stock kg"));
    auto* conteos = new QScatterSeries;
    conteos->setName(QStringLiteral("Conteos"));
    conteos->setMarkerSize(9);
    double menor = 0, mayor = 1;
    for (QDate d = desde; d <= hasta; d = d.addDays(1)) {
        const double kg = Importe::kilos(alimento->stockAl(d));
        const double x = static_cast<double>(QDateTime(d, QTime(12, 0)).toMSecsSinceEpoch());
        linea->append(x, kg);
        menor = std::min(menor, kg);
        mayor = std::max(mayor, kg);
    }
    for (const InventarioStock::Dia& dia : alimento->dias)
        if (dia.contado && dia.fecha >= desde && dia.fecha <= hasta)
            conteos->append(static_cast<double>(QDateTime(dia.fecha, QTime(12, 0)).toMSecsSinceEpoch()),
                            Importe::kilos(*dia.contado));
    grafico->addSeries(linea);
    grafico->addSeries(conteos);
    auto* ejeX = new QDateTimeAxis;
    ejeX->setFormat(QStringLiteral("dd/MM"));
    ejeX->setRange(QDateTime(desde, QTime(0, 0)), QDateTime(hasta, QTime(23, 59)));
    auto* ejeY = new QValueAxis;
    ejeY->setRange(menor, mayor * 1.1);
    ejeY->setTitleText(QStringLiteral("kg"));
    grafico->addAxis(ejeX, Qt::AlignBottom);
    grafico->addAxis(ejeY, Qt::AlignLeft);
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(linea), static_cast<QAbstractSeries*>(conteos)}) {
        s->attachAxis(ejeX);
        s->attachAxis(ejeY);
    }
}

} // namespace GraficoStock
