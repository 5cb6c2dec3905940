// The event history at a large size: 1,000,000 kept events over the year 2024 (about 2,700 a day).
// history_merge_10k_ms: merging a 10,000-event download (half already kept, half new);
// report_1m_ms: the year's accuracy report by feed over the whole history, as the window runs it,
// with two feeds judged by tolerances of their own.
// loads_list_100k_ms: the loads of one feed with 100,000 loads in a year (of 150,000 kept events),
// listed and handed to the window's model, as a double click on its group does.
#include "Figuras.h"
#include "HistorialSintetico.h"

#include "db/BaseDatos.h"
#include "historial/HistorialSucesos.h"
#include "historial/InformePrecision.h"
#include "historial/ModeloCargas.h"
#include "historial/TrabajoCargas.h"
#include "historial/TrabajoInforme.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kGuardados = HistorialSintetico::kGuardados;
constexpr int kPorDia = HistorialSintetico::kPorDia;
constexpr int kDescarga = 10000;

// Event i of the history, as HistorialSintetico writes it and as the direct road would bring it.
FilaEvento suceso(int i, QDate fecha) {
    const bool descarga = i % 5 == 4;
    return {descarga ? QStringLiteral("DESCARGA") : QStringLiteral("CARGA"),
            fecha.toString(QStringLiteral("dd/MM/yyyy")),
            QStringLiteral("%1:%2")
                .arg((i / 60) % 24, 2, 10, QLatin1Char('0'))
                .arg(i % 60, 2, 10, QLatin1Char('0')),
            descarga ? QStringLiteral("Corral %1").arg(i % 40) : QStringLiteral("Receta %1").arg(i % 12),
            descarga ? QString() : QStringLiteral("Alimento %1").arg((i / 5) % 25),
            QString::number(1000 + (i % 7) * 10),
            QString::number(1000 + (i % 13) - 6),
            QStringLiteral("Operario %1").arg(i % 8)};
}

class HistorialGrande : public HistorialSintetico {
public:
    HistorialGrande() : HistorialSintetico(QStringLiteral("bench-historial")) {
        ok_ = ok_ && !ToleranciasAlimento::guardar(db(), QStringLiteral("Alimento 3"), {8.0, std::nullopt}) &&
              !ToleranciasAlimento::guardar(db(), QStringLiteral("Alimento 7"), {2.0, 0.5});
    }
};

HistorialGrande& historial() {
    static HistorialGrande h;
    return h;
}

double medirFusion() {
    if (!historial().ok())
        return -1;
    std::vector<double> tiempos;
    for (int vez = 0; vez < 3; ++vez) {
        // The last 5,000 kept events downloaded again, and 5,000 new ones of two days in 2025.
        QList<FilaEvento> descarga;
        for (int i = kGuardados - kDescarga / 2; i < kGuardados; ++i)
            descarga << suceso(i, QDate(2024, 1, 1).addDays(i / kPorDia));
        for (int i = 0; i < kDescarga / 2; ++i)
            descarga << suceso(i, QDate(2025, 1, 1).addDays(vez * 2 + i / (kDescarga / 4)));
        HistorialSucesos::Fusion f;
        QElapsedTimer t;
        t.start();
        const auto e = HistorialSucesos::fusionar(historial().db(), descarga, HistorialSucesos::kDirecta, &f);
        tiempos.push_back(ms(t));
        if (e || f.agregados != kDescarga / 2) {
            std::fprintf(stderr, "fusión: %s, %d agregados\n", e ? qPrintable(e->descripcion) : "",
                         f.agregados);
            return -1;
        } // the figure would not be a merge of half new events
    }
    return mediana(tiempos);
}

double medirInforme() {
    if (!historial().ok())
        return -1;
    // As the window computes it: a job with its own read-only connection, here run in place.
    std::vector<double> tiempos;
    for (int vez = 0; vez < 3; ++vez) {
        TrabajoInforme trabajo(historial().db().databaseName(), Agrupacion::Alimento, QDate(2024, 1, 1),
                               QDate(2024, 12, 31), 3);
        QElapsedTimer t;
        t.start();
        const ResultadoCon<InformePrecision> r = trabajo.ejecutar();
        tiempos.push_back(ms(t));
        const InformePrecision& informe = r.valor;
        if (!r.ok || informe.grupos.size() != 25) {
            std::fprintf(stderr, "informe: %s, %d grupos\n", qPrintable(r.descripcion),
                         int(informe.grupos.size()));
            return -1;
        }
    }
    return mediana(tiempos);
}

// 150,000 events of 2024, one in six a discharge; four in six are loads of "Maiz" (100,000), the
// rest of "Sales".
constexpr int kEventosLista = 150000;

double medirLista() {
    QTemporaryDir dir;
    const QString archivo = BaseDatos::archivo(dir.path());
    bool ok = false;
    BaseDatos::conConexionPropia(archivo, QString(), [&](QSqlDatabase& db) {
        if (!db.open() || !BaseDatos::prepararConexion(db) || BaseDatos::crearEsquema(db))
            return;
        QSqlQuery q(db);
        ok = q.exec(
            QStringLiteral(
                "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
                "insert into historial_sucesos (tipo, fecha, hora, receta_corral, alimento, kg_sugerido, "
                "kg_real, operario, via, recibido) "
                "select case when i % 6 = 5 then 'DESCARGA' else 'CARGA' end, "
                "date('2024-01-01', '+' || (i / 411) || ' days'), "
                "printf('%02d:%02d', (i / 60) % 24, i % 60), "
                "case when i % 6 = 5 then 'Corral ' || (i % 40) else 'Receta ' || ((i / 6) % 12) end, "
                "case when i % 6 = 5 then '' when i % 6 = 4 then 'Sales' else 'Maiz' end, "
                "1000 + (i % 7) * 10, 1000 + (i % 13) - 6, 'Operario ' || (i % 8), 'directa', "
                "'2025-01-01 00:00:00' from n")
                .arg(kEventosLista - 1));
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
    });
    if (!ok)
        return -1;
    InformePrecision informe;
    informe.agrupacion = Agrupacion::Alimento;
    informe.desde = QDate(2024, 1, 1);
    informe.hasta = QDate(2024, 12, 31);
    std::vector<double> tiempos;
    for (int vez = 0; vez < 3; ++vez) {
        ModeloCargas modelo;
        TrabajoCargas trabajo(archivo, informe, QStringLiteral("maiz"));
        QElapsedTimer t;
        t.start();
        const ResultadoCon<CargasPrecision> r = trabajo.ejecutar();
        modelo.mostrar(r.valor);
        tiempos.push_back(ms(t));
        if (!r.ok || modelo.rowCount() != 100000) {
            std::fprintf(stderr, "cargas: %s, %d filas\n", qPrintable(r.descripcion), modelo.rowCount());
            return -1;
        }
    }
    return mediana(tiempos);
}

const Figura kFusion("history_merge_10k_ms", "ms", medirFusion);
const Figura kInforme("report_1m_ms", "ms", medirInforme);
const Figura kLista("loads_list_100k_ms", "ms", medirLista);

} // namespace
