// The main window's automatic backups driven as a user meets them: on closing after a change
// (and not without one), skipped with "Omitir", a missing second folder that never holds the
// closing back, and the health line with its button and the backup on starting.
#include "AyudaMantenimiento.h"
#include "BaseTemporal.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "db/ContadorCambios.h"
#include "maint/AjustesRespaldo.h"
#include "maint/VentanaRespaldoAutomatico.h"
#include "ui/Dialogos.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace AyudaMantenimiento;

class TstRespaldoPrincipal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Dialogos::activarModoPrueba(); }
    void init();
    void cleanup() { base_.reset(); }
    void alCerrarSoloSiHuboCambios();
    void omitirAlCerrar();
    void saludYRespaldoAlIniciar();

private:
    QStringList automaticos() const {
        return QDir(QDir(base_->carpeta()).filePath("respaldos")).entryList({"*_auto*.cab"}, QDir::Files);
    }
    std::unique_ptr<BaseTemporal> base_;
};

void TstRespaldoPrincipal::init() {
    Dialogos::limpiar();
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
}

void TstRespaldoPrincipal::alCerrarSoloSiHuboCambios() {
    {
        FrmPrincipal w;
        w.setRespaldosAutomaticos(true);
        w.show();
        QVERIFY(w.close());
    }
    QVERIFY(automaticos().isEmpty());

    // A change, and a second folder that is not there.
    AjustesRespaldo a;
    a.segunda = QDir(base_->carpeta()).filePath("pendrive");
    QVERIFY(!a.guardar());
    QVERIFY(base_->ejecutar("insert into recetas values (1, 'Engorde', 0)"));
    {
        FrmPrincipal w;
        w.setRespaldosAutomaticos(true);
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(QTest::qWaitFor([&] { return !w.isVisible(); }, 120000));
    }
    QCOMPARE(automaticos().size(), 1);
    const QString archivo =
        QDir(QDir(base_->carpeta()).filePath("respaldos")).filePath(automaticos().first());
    QCOMPARE(correr("cabextract", {"-t", archivo}), 0);
    QVERIFY(BaseDatos::abierta());
    QVERIFY(!PoliticaRespaldo::hayCambios());
    QCOMPARE(QDir::fromNativeSeparators(UltimoRespaldo::leer().ruta), archivo);
    // The closing asked nothing; the missing folder is told at the next start, once.
    QVERIFY(Dialogos::mostrados().isEmpty());
    {
        FrmPrincipal w;
        w.revisarRespaldoAlIniciar();
        QCOMPARE(Dialogos::mostrados().size(), 1);
        QVERIFY(Dialogos::mostrados().first().texto.contains(QDir::toNativeSeparators(a.segunda)));
        w.revisarRespaldoAlIniciar();
        QCOMPARE(Dialogos::mostrados().size(), 1);
        w.setRespaldosAutomaticos(true);
        QVERIFY(w.close());
    }
    QCOMPARE(automaticos().size(), 1);
}

void TstRespaldoPrincipal::omitirAlCerrar() {
    // Large enough that the backup is still running when "Omitir" is pressed.
    QVERIFY(base_->ejecutar("insert into recetas values (1, 'Engorde', 0)"));
    QVERIFY(base_->ejecutar("insert into preferencias values ('relleno', randomblob(30000000))"));
    FrmPrincipal w;
    w.setRespaldosAutomaticos(true);
    w.show();
    QVERIFY(!w.close());
    auto* v = w.findChild<VentanaRespaldoAutomatico*>();
    QVERIFY(v);
    QCOMPARE(control<QPushButton>(v, "cmdOmitir")->text(), "Omitir");
    QVERIFY(QTest::qWaitFor([&] { return v->enCurso(); }, 10000));
    control<QPushButton>(v, "cmdOmitir")->click();
    QVERIFY(QTest::qWaitFor([&] { return !w.isVisible(); }, 120000));
    QVERIFY(automaticos().isEmpty());
    const QDir respaldos(QDir(base_->carpeta()).filePath("respaldos"));
    QVERIFY(respaldos.entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(BaseDatos::abierta());
    QVERIFY(PoliticaRespaldo::hayCambios());
}

void TstRespaldoPrincipal::saludYRespaldoAlIniciar() {
    QVERIFY(base_->ejecutar("insert into recetas values (1, 'Engorde', 0)"));
    QVERIFY(!UltimoRespaldo::registrar("BD.cab", 1, ContadorCambios::leer(),
                                       QDateTime::currentDateTime().addDays(-12)));
    FrmPrincipal w;
    w.show();
    auto* linea = control<QLabel>(&w, "lblSaludRespaldo");
    auto* ahora = control<QPushButton>(&w, "cmdRespaldarAhora");
    QVERIFY(linea->isHidden());
    w.revisarRespaldoAlIniciar(); // without automatic backups: only the line
    QVERIFY(linea->isVisible());
    QCOMPARE(linea->text(), "Último respaldo: hace 12 días");
    QVERIFY(ahora->isVisible());
    ahora->click();
    QVERIFY(QTest::qWaitFor([&] { return linea->isHidden(); }, 120000));
    QCOMPARE(automaticos().size(), 1);

    // On starting, with automatic backups, an old last backup is renewed at once.
    QVERIFY(!UltimoRespaldo::registrar("BD.cab", 1, ContadorCambios::leer(),
                                       QDateTime::currentDateTime().addDays(-8)));
    w.setRespaldosAutomaticos(true);
    w.revisarRespaldoAlIniciar();
    QVERIFY(QTest::qWaitFor(
        [&] { return automaticos().size() == 2 && !w.findChild<VentanaRespaldoAutomatico*>(); }, 120000));
    QVERIFY(linea->isHidden());
    QCOMPARE(PoliticaRespaldo::textoAntiguedad(), "Último respaldo: hoy");
}

QTEST_MAIN(TstRespaldoPrincipal)
#include "tst_respaldoprincipal.moc"
