// Printing: loading_sheet_300_trips_ms, the PDF of a day of 300 trips of 8 feeds and 2 pens each
// (reading the plan, laying out and drawing); accuracy_pdf_ms, the PDF of a year's accuracy report
// by day (365 groups) with its chart.
#include "Figuras.h"

#include "db/BaseDatos.h"
#include "impresion/DibujoDocumento.h"
#include "impresion/DocumentoPrecision.h"
#include "impresion/PlanillaCarga.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kViajes = 300;
constexpr int kAlimentosPorViaje = 8;

template <typename F> double mediana(F f) {
    std::vector<double> tiempos;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        if (!f())
            return -1;
        tiempos.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

double medirPlanilla() {
    QTemporaryDir dir;
    if (auto e = BaseDatos::abrir(dir.path())) {
        std::fprintf(stderr, "%s\n", qPrintable(*e));
        return -1;
    }
    QSqlDatabase db = BaseDatos::ConexionBD();
    db.transaction();
    QSqlQuery q(db);
    q.exec(QStringLiteral("insert into recetas values (1, 'Engorde', 0), (2, 'Recría', -1)"));
    q.exec(QStringLiteral("insert into operarios values (1, 'José'), (2, 'Inés')"));
    q.prepare(QStringLiteral("insert into alimentos values (?, ?)"));
    for (int a = 1; a <= kAlimentosPorViaje; ++a) {
        q.addBindValue(a);
        q.addBindValue(QStringLiteral("Alimento número %1").arg(a));
        q.exec();
    }
    q.prepare(QStringLiteral("insert into viajes values (?, '2024-05-02', ?, ?, ?, ?, ?, ?)"));
    for (int v = 1; v <= kViajes; ++v)
        for (int a = 1; a <= kAlimentosPorViaje; ++a) {
            q.addBindValue(v);
            q.addBindValue(QTime(4, 0).addSecs(v * 150).toString(QStringLiteral("HH:mm")));
            q.addBindValue(v % 2 + 1);
            q.addBindValue(v % 2 + 1);
            q.addBindValue(a);
            q.addBindValue(v % 2 ? 12.5 : 250.0 + a);
            q.addBindValue(a);
            q.exec();
        }
    q.prepare(QStringLiteral("insert into descarga values (?, ?, ?, ?)"));
    for (int v = 1; v <= kViajes; ++v)
        for (int c = 1; c <= 2; ++c) {
            q.addBindValue(v);
            q.addBindValue(QStringLiteral("Corral %1").arg(c));
            q.addBindValue(v % 2 ? 1500.0 : 50.0);
            q.addBindValue(c);
            q.exec();
        }
    if (!db.commit())
        return -1;
    const double r = mediana([] {
        const PlanillaCarga::Resultado p = PlanillaCarga::construir(QDate(2024, 5, 2));
        return !p.error && p.viajes == kViajes && !DibujoDocumento::pdf(p.documento, {}).isEmpty();
    });
    BaseDatos::cerrar();
    return r;
}

double medirPrecision() {
    InformePrecision informe;
    informe.agrupacion = Agrupacion::Dia;
    informe.desde = QDate(2024, 1, 1);
    informe.hasta = QDate(2024, 12, 31);
    for (QDate d = informe.desde; d <= informe.hasta; d = d.addDays(1)) {
        GrupoPrecision g;
        g.grupo = d.toString(QStringLiteral("yyyy-MM-dd"));
        for (int i = 0; i < 20; ++i)
            g.agregar(1000.0, 1000.0 + (d.dayOfYear() * 7 + i * 13) % 90 - 45, informe.tolerancia);
        informe.grupos << g;
    }
    return mediana(
        [&] { return !DibujoDocumento::pdf(DocumentoPrecision::construir(informe), {}).isEmpty(); });
}

const Figura kPlanilla("loading_sheet_300_trips_ms", "ms", medirPlanilla);
const Figura kPrecision("accuracy_pdf_ms", "ms", medirPrecision);

} // namespace
