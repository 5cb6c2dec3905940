#include "historial/GraficoPrecision.h"

#include "core/Texto.h"
#include "historial/SalidaInforme.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace GraficoPrecision {

void dibujar(QChart* grafico, const InformePrecision& informe) {
    grafico->removeAllSeries();
    for (QAbstractAxis* eje : grafico->axes()) {
        grafico->removeAxis(eje);
        delete eje;
    }
    const qsizetype n = informe.grupos.size();
    grafico->setTitle(
        n ? QStringLiteral("Diferencia neta y desvío medio %1 por %2")
                .arg(QStringLiteral("%"), InformePrecision::nombre(informe.agrupacion).toLower())
          : QStringLiteral("Sin sucesos guardados en el rango"));
    if (!n)
        return;

    auto* barras = new QBarSet(QStringLiteral("Diferencia neta %"));
    barras->setColor(QColor(70, 120, 180));
    barras->setSelectedColor(QColor(200, 40, 40));
    // Beside the net, the mean of each load's own deviation: loads over and under the plan cancel
    // out in the net, never in this one.
    auto* desvios = new QBarSet(QStringLiteral("Desvío medio %"));
    desvios->setColor(QColor(150, 150, 150));
    desvios->setSelectedColor(QColor(240, 120, 60));
    QStringList categorias;
    double alto = informe.tolerancia;
    QList<int> fuera;
    for (qsizetype i = 0; i < n; ++i) {
        const GrupoPrecision& g = informe.grupos[i];
        const std::optional<double> p = g.diferenciaPorcentaje();
        const double v = p.value_or(0);
        barras->append(v);
        const double desvio = g.desvioMedio().value_or(0);
        desvios->append(desvio);
        alto = std::max({alto, std::fabs(v), desvio});
        // Nothing planned: no percentage to draw, and a flat bar must not pass for an exact one.
        QString categoria = SalidaInforme::nombreGrupo(g, informe.agrupacion);
        if (!p)
            categoria += QStringLiteral(" (sin %)");
        else if (g.marcado())
            categoria += QStringLiteral(" (%1 fuera)").arg(g.fuera);
        categorias << categoria;
        if (g.marcado())
            fuera << static_cast<int>(i);
    }
    barras->selectBars(fuera);
    desvios->selectBars(fuera);
    auto* serie = new QBarSeries;
    serie->append(barras);
    serie->append(desvios);
    grafico->addSeries(serie);

    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(categorias);
    auto* ejeY = new QValueAxis;
    ejeY->setTitleText(QStringLiteral("%")); // the chart's title names the measure
    alto = std::max(1.0, alto * 1.2);
    ejeY->setRange(-alto, alto);
    ejeY->setLabelFormat(QStringLiteral("%.1f"));
    grafico->addAxis(ejeX, Qt::AlignBottom);
    grafico->addAxis(ejeY, Qt::AlignLeft);
    serie->attachAxis(ejeX);
    serie->attachAxis(ejeY);

    // The band and the line sit on the bars' positions: category i is at x = i.
    auto* ejePosiciones = new QValueAxis;
    ejePosiciones->setRange(-0.5, double(n) - 0.5);
    ejePosiciones->setVisible(false);
    grafico->addAxis(ejePosiciones, Qt::AlignTop);

    auto* arriba = new QLineSeries;
    auto* abajo = new QLineSeries;
    arriba->append(-0.5, informe.tolerancia);
    arriba->append(double(n) - 0.5, informe.tolerancia);
    abajo->append(-0.5, -informe.tolerancia);
    abajo->append(double(n) - 0.5, -informe.tolerancia);
    auto* banda = new QAreaSeries(arriba, abajo);
    // The band does not own its edges: they go with it when the chart clears its series.
    arriba->setParent(banda);
    abajo->setParent(banda);
    banda->setName(QStringLiteral("Tolerancia ±%1 %").arg(Texto::numeroRegional(informe.tolerancia)));
    banda->setColor(QColor(80, 170, 80, 60));
    banda->setBorderColor(QColor(80, 170, 80));
    grafico->addSeries(banda);
    banda->attachAxis(ejePosiciones);
    banda->attachAxis(ejeY);

    if (informe.agrupacion == Agrupacion::Dia) {
        auto* linea = new QLineSeries;
        linea->setName(QStringLiteral("Evolución diaria"));
        for (qsizetype i = 0; i < n; ++i)
            if (const auto v = informe.grupos[i].diferenciaPorcentaje())
                linea->append(double(i), *v);
        linea->setColor(QColor(230, 140, 20));
        grafico->addSeries(linea);
        linea->attachAxis(ejePosiciones);
        linea->attachAxis(ejeY);
    }
}

} // namespace GraficoPrecision
