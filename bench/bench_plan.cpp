// The plan windows on a large plan: 20,000 trip rows, 5,000 pen rows, 300 recipes, 500 feeds.
// viajes_open_ms / rodeos_open_ms: opening each window (loading, first paint);
// insertar_ms: one "INSERTAR" of the trip window (store, list line, totals);
// totales_ms: the totals queries alone.
#include "Figuras.h"

#include "db/BaseDatos.h"
#include "plan/FrmRodeos.h"
#include "plan/FrmViajes.h"
#include "plan/Totales.h"
#include "ui/Dialogos.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRecetas = 300;
constexpr int kAlimentos = 500;
constexpr int kFilasViaje = 20000;
constexpr int kAlimentosPorViaje = 8;
constexpr int kCorralesPorViaje = 2; // 2,500 trips x 2 pens = 5,000 pen rows

// A data folder with the large plan, opened as the shared connection while it lives.
class PlanGrande {
public:
    PlanGrande() {
        if (auto e = BaseDatos::abrir(dir_.path())) {
            std::fprintf(stderr, "%s\n", qPrintable(*e));
            return;
        }
        QSqlDatabase db = BaseDatos::ConexionBD();
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("insert into recetas values (?, ?, ?)"));
        for (int i = 1; i <= kRecetas; ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("Receta %1").arg(i, 3, 10, QLatin1Char('0')));
            q.addBindValue(i % 3 == 0 ? -1 : 0);
            q.exec();
        }
        q.prepare(QStringLiteral("insert into alimentos values (?, ?)"));
        for (int i = 1; i <= kAlimentos; ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("Alimento %1").arg(i, 3, 10, QLatin1Char('0')));
            q.exec();
        }
        // The operator the plan names exists: "INSERTAR" refuses a row whose operator is gone.
        q.exec(QStringLiteral("insert into operarios values (1, 'Operario 1')"));
        q.prepare(QStringLiteral("insert into viajes values (?, '2024-05-02', '08:30', ?, 1, ?, ?, ?)"));
        for (int i = 0; i < kFilasViaje; ++i) {
            const int viaje = i / kAlimentosPorViaje + 1;
            q.addBindValue(viaje);
            q.addBindValue(viaje % kRecetas + 1);
            q.addBindValue(i % kAlimentos + 1);
            q.addBindValue(100.0 + i % 7);
            q.addBindValue(i % kAlimentosPorViaje + 1);
            q.exec();
        }
        q.prepare(QStringLiteral("insert into descarga values (?, ?, ?, ?)"));
        for (int viaje = 1; viaje <= kFilasViaje / kAlimentosPorViaje; ++viaje) {
            for (int c = 1; c <= kCorralesPorViaje; ++c) {
                q.addBindValue(viaje);
                q.addBindValue(QStringLiteral("Corral %1").arg(c));
                q.addBindValue(50.0);
                q.addBindValue(c);
                q.exec();
            }
        }
        ok_ = db.commit();
        Dialogos::activarModoPrueba();
    }
    ~PlanGrande() {
        Dialogos::activarModoPrueba(false);
        BaseDatos::cerrar();
    }
    bool ok() const { return ok_; }

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

PlanGrande& plan() {
    static PlanGrande p;
    return p;
}

template <typename Ventana> double medirApertura() {
    if (!plan().ok())
        return -1;
    std::vector<double> tiempos;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        auto v = std::make_unique<Ventana>();
        v->show();
        QApplication::processEvents();
        tiempos.push_back(ms(t));
    }
    return mediana(tiempos);
}

void elegir(QComboBox* combo, const QString& texto) {
    const int i = combo->findText(texto);
    combo->setCurrentIndex(i);
    Q_EMIT combo->activated(i);
}

double medirInsertar() {
    if (!plan().ok())
        return -1;
    FrmViajes v;
    v.show();
    QApplication::processEvents();
    elegir(v.findChild<QComboBox*>(QStringLiteral("CmbNombre")), QStringLiteral("Receta 001"));
    elegir(v.findChild<QComboBox*>(QStringLiteral("CMBALIM")), QStringLiteral("Alimento 001"));
    v.findChild<QLineEdit*>(QStringLiteral("TXT_ID_VIA_FOR"))->setText(QStringLiteral("30000"));
    v.findChild<QLineEdit*>(QStringLiteral("TXTOP"))->setText(QStringLiteral("1"));
    v.findChild<QLineEdit*>(QStringLiteral("TXTKILOS"))->setText(QStringLiteral("250"));
    v.findChild<QLineEdit*>(QStringLiteral("TXT_OR_FOR"))->setText(QStringLiteral("1"));
    auto* insertar = v.findChild<QPushButton*>(QStringLiteral("CMD_INS_FOR"));
    Dialogos::limpiar();
    std::vector<double> tiempos;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        insertar->click();
        QApplication::processEvents();
        tiempos.push_back(ms(t));
    }
    QSqlQuery cuenta(QStringLiteral("select count(*) from viajes where id = 30000"), BaseDatos::ConexionBD());
    const int guardadas = cuenta.next() ? cuenta.value(0).toInt() : 0;
    QSqlQuery(QStringLiteral("delete from viajes where id = 30000"), BaseDatos::ConexionBD());
    // Something refused or a row missing: the figure would not be an insertion.
    for (const Mensaje& m : Dialogos::mostrados())
        std::fprintf(stderr, "insertar_ms: la ventana respondió \"%s\"\n", qPrintable(m.texto));
    if (!Dialogos::mostrados().isEmpty() || guardadas != static_cast<int>(tiempos.size())) {
        std::fprintf(stderr, "insertar_ms: se guardaron %d filas de %d\n", guardadas,
                     static_cast<int>(tiempos.size()));
        return -1;
    }
    return mediana(tiempos);
}

double medirTotales() {
    if (!plan().ok())
        return -1;
    std::vector<double> tiempos;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const Totales::Resultado r = Totales::comprobarTotales();
        tiempos.push_back(ms(t));
        if (r.error || r.lineas.isEmpty())
            return -1;
    }
    return mediana(tiempos);
}

const Figura kViajes("viajes_open_ms", "ms", medirApertura<FrmViajes>);
const Figura kRodeos("rodeos_open_ms", "ms", medirApertura<FrmRodeos>);
const Figura kInsertar("insertar_ms", "ms", medirInsertar);
const Figura kTotales("totales_ms", "ms", medirTotales);

} // namespace
