// Stock and costs over a large history: 1,000,000 kept events over the year 2024
// (HistorialSintetico), 25 feeds with a price change a quarter, a receipt a month and
// a count a quarter each.
// stock_today_1m_ms: every feed's stock, uses and days left on the year's last day, once the
// daily consumption is up to date with the history (as after each download);
// costs_year_1m_ms: the year's costs by pen, as the window computes them.
#include "Figuras.h"
#include "HistorialSintetico.h"

#include "costos/InventarioStock.h"
#include "costos/MovimientosStock.h"
#include "costos/PreciosAlimento.h"
#include "costos/TrabajoCostos.h"
#include "db/BaseDatos.h"

#include <QElapsedTimer>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kAlimentos = 25;

class HistorialConPrecios : public HistorialSintetico {
public:
    HistorialConPrecios() : HistorialSintetico(QStringLiteral("bench-costos")) {
        if (!ok_)
            return;
        QSqlDatabase& base = db();
        QSqlQuery q(base);
        base.transaction();
        for (int a = 0; a < kAlimentos; ++a) {
            q.exec(QStringLiteral("insert into alimentos (id, descripcion) values (%1, 'Alimento %2')")
                       .arg(a + 1)
                       .arg(a));
            for (int m = 1; m <= 12; ++m) {
                if (m % 3 == 1)
                    PreciosAlimento::guardar(base, a + 1, QDate(2024, m, 1), 0.1 + 0.01 * a + 0.001 * m);
                MovimientosStock::ingresar(base, a + 1, QDate(2024, m, 1), 2000000);
                if (m % 3 == 0)
                    MovimientosStock::contar(base, a + 1, QDate(2024, m, 28), 100000);
            }
        }
        ok_ = base.commit();
    }
};

HistorialConPrecios& historial() {
    static HistorialConPrecios h;
    return h;
}

double medirStock() {
    if (!historial().ok())
        return -1;
    InventarioStock inventario;
    QElapsedTimer primera;
    primera.start();
    // The first reading adds the whole history to the daily consumption; said, not counted.
    if (InventarioStock::calcular(historial().db(), QDate(2024, 12, 31), &inventario))
        return -1;
    std::fprintf(stderr, "stock: primera lectura (consumo diario armado desde cero) %.0f ms\n", ms(primera));
    std::vector<double> tiempos;
    for (int vez = 0; vez < 5; ++vez) {
        QElapsedTimer t;
        t.start();
        const auto e = InventarioStock::calcular(historial().db(), QDate(2024, 12, 31), &inventario);
        const QList<InventarioStock::Fila> filas = inventario.filas(QDate(2024, 12, 31));
        tiempos.push_back(ms(t));
        if (e || filas.size() != kAlimentos || filas[0].uso7 == 0)
            return -1;
    }
    return mediana(tiempos);
}

double medirCostos() {
    if (!historial().ok())
        return -1;
    std::vector<double> tiempos;
    for (int vez = 0; vez < 3; ++vez) {
        TrabajoCostos trabajo(historial().db().databaseName(), PorCosto::Corral, QDate(2024, 1, 1),
                              QDate(2024, 12, 31));
        QElapsedTimer t;
        t.start();
        const ResultadoCon<InformeCostos> r = trabajo.ejecutar();
        tiempos.push_back(ms(t));
        const InformeCostos& informe = r.valor;
        if (!r.ok || informe.grupos.size() < 8 || informe.total.costoReal() <= 0) {
            std::fprintf(stderr, "costos: %s, %d grupos\n", qPrintable(r.descripcion),
                         int(informe.grupos.size()));
            return -1;
        }
    }
    return mediana(tiempos);
}

const Figura kStock("stock_today_1m_ms", "ms", medirStock);
const Figura kCostos("costs_year_1m_ms", "ms", medirCostos);

} // namespace
