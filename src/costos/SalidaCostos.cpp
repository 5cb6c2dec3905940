#include "costos/SalidaCostos.h"

namespace SalidaCostos {

namespace {
QString campo(QString t) {
    // A name with the separator, a quote or a line break is quoted, its quotes doubled.
    if (t.contains(u';') || t.contains(u'"') || t.contains(u'\n') || t.contains(u'\r'))
        t = u'"' + t.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return t;
}
} // namespace

QString diasPunto(const InventarioStock::Fila& f) {
    const std::optional<double> d = f.diasRestantes();
    return d ? QString::number(*d, 'f', 1) : QString();
}

QByteArray csvStock(const QList<InventarioStock::Fila>& filas) {
    QString t = QStringLiteral("alimento_id;alimento;stock_kg;uso_diario_kg;dias_restantes\r\n");
    for (const InventarioStock::Fila& f : filas)
        t += QStringLiteral("%1;%2;%3;%4;%5\r\n")
                 .arg(f.id)
                 .arg(campo(f.nombre), Importe::kilosPunto(f.stock),
                      // grams a day to the gram, half up (the use is never negative)
                      Importe::kilosPunto((f.uso7 * 2 + 7) / 14), diasPunto(f));
    return t.toUtf8();
}

QByteArray csvCostos(const InformeCostos& informe) {
    QString t = QStringLiteral("grupo;kg_planificado;kg_real;costo_planificado;costo_real;diferencia\r\n");
    QList<GrupoCosto> filas = informe.grupos;
    filas << informe.total;
    for (const GrupoCosto& g : filas)
        t += QStringLiteral("%1;%2;%3;%4;%5;%6\r\n")
                 .arg(campo(g.grupo), Importe::kilosPunto(g.gramosPlanificados),
                      Importe::kilosPunto(g.gramosReales), Importe::textoPunto(g.costoPlanificado()),
                      Importe::textoPunto(g.costoReal()), Importe::textoPunto(g.diferencia()));
    return t.toUtf8();
}

QDate dia(const GrupoCosto& g, PorCosto por) {
    return por == PorCosto::Dia ? QDate::fromString(g.grupo, QStringLiteral("yyyy-MM-dd")) : QDate();
}

} // namespace SalidaCostos
