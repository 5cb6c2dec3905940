// The one way a window owns a long job: a new start drops the one before, the end arrives typed on
// the window's thread, and the holder going stops the job before it is destroyed.
#include "ui/TrabajoVentana.h"

#include <QSemaphore>
#include <QTest>

namespace {

// Waits for the test at each step when `retener`, then ends with its own name.
class Paso : public TrabajoCon<QString> {
public:
    Paso(const QString& nombre, bool retener) : nombre_(nombre), retener_(retener) {}
    QSemaphore paso;
    std::atomic_bool empezado{false};

protected:
    Resultado hacer() override {
        empezado.store(true);
        for (int i = 0; i < 5; ++i) {
            while (retener_ && !paso.tryAcquire(1, 5))
                if (cancelado())
                    return Resultado::interrumpido();
            informar(i + 1, 5);
        }
        return exito(nombre_);
    }

private:
    const QString nombre_; // a member the job reads to the end: gone too soon, ASan would say so
    const bool retener_;
};

} // namespace

class TstTrabajoVentana : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unInicioNuevoDejaElAnterior();
    void elTenedorDetieneAlIrse();
};

void TstTrabajoVentana::unInicioNuevoDejaElAnterior() {
    QObject ventana;
    TrabajoVentana<Paso> t;
    QStringList fines;
    QList<int> avance;
    auto* primero = t.iniciar(&ventana, new Paso("primero", true),
                              [&](const ResultadoCon<QString>& r) { fines << r.valor; });
    QTRY_VERIFY(primero->empezado.load());
    QVERIFY(t.enCurso());
    t.iniciar(
        &ventana, new Paso("segundo", false),
        [&](const ResultadoCon<QString>& r) {
            QVERIFY(r.ok);
            fines << r.valor;
        },
        [&](int p) { avance << p; });
    QTRY_VERIFY(!t.enCurso());
    QTest::qWait(20); // anything the first one had queued would arrive now
    QCOMPARE(fines, QStringList({"segundo"}));
    QCOMPARE(avance.last(), 100);
    QCOMPARE(t->valor(), QStringLiteral("segundo"));
}

void TstTrabajoVentana::elTenedorDetieneAlIrse() {
    QObject ventana;
    bool terminado = false;
    Paso* paso = nullptr;
    {
        TrabajoVentana<Paso> t;
        paso = t.iniciar(&ventana, new Paso("retenido", true),
                         [&](const ResultadoCon<QString>&) { terminado = true; });
        paso->paso.release();
        QTRY_VERIFY(paso->empezado.load());
    }
    QTest::qWait(20);
    QVERIFY(!terminado);
}

QTEST_GUILESS_MAIN(TstTrabajoVentana)
#include "tst_trabajoventana.moc"
