// The events window on the web road: "RECIBIR" lists the stand-in's loads and discharges while the
// window stays usable, and reports an empty range.
#include "BaseTemporal.h"
#include "ServicioWebPrueba.h"

#include "app/FrmPrincipal.h"
#include "events/FrmSucesos.h"
#include "ui/Dialogos.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
// "RECIBIR" for the range, until the window is free again.
bool recibir(FrmSucesos& f, QDate desde, QDate hasta) {
    f.findChild<QDateEdit*>("DTDESDE")->setDate(desde);
    f.findChild<QDateEdit*>("DTHASTA")->setDate(hasta);
    auto* boton = f.findChild<QPushButton*>("CMDREC");
    QTest::mouseClick(boton, Qt::LeftButton);
    return QTest::qWaitFor([boton] { return boton->isEnabled(); }, 20000);
}
} // namespace

class TstSucesosWeb : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { web_.reset(); }
    void recibirPorElServicioWeb();
    void filasIlegibles();
    void descargasRechazadas();

private:
    std::unique_ptr<ServicioWebPrueba> web_;
};

void TstSucesosWeb::initTestCase() {
    Dialogos::activarModoPrueba();
    web_ = std::make_unique<ServicioWebPrueba>();
    if (web_->faltaMariaDb())
        QSKIP(qPrintable(web_->error()));
    QVERIFY2(web_->ok(), qPrintable(web_->error()));
    QVERIFY(web_->ejecutar("insert into clientes values (7, 'juan', 'clave')"));
    QVERIFY(web_->agregarCargas("(7, '2024-01-15', '08:00', 'Engorde', 5, 'Maiz', '100', 4, '110'), "
                                "(7, '2024-01-16', '07:00', 'Recria', 5, 'Maiz', '20', 9, '20')"));
    QVERIFY(web_->agregarDescargas("(7, '2024-01-15', '10:00', 'C1', '150', '149')"));
}

void TstSucesosWeb::recibirPorElServicioWeb() {
    BaseTemporal base;
    QVERIFY(base.ejecutar("insert into operarios values (4, 'Juan')"));
    QVERIFY(web_->usarEnLaBase());
    FrmPrincipal principal;
    principal.findChild<QRadioButton*>("OptWeb")->click();
    FrmSucesos f(principal.datosSucesos(), &principal);
    f.show();
    QVERIFY(f.findChild<QGroupBox*>("Frame1")->isHidden());
    auto* recibir = f.findChild<QPushButton*>("CMDREC");

    Dialogos::limpiar();
    f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate(2024, 1, 1));
    f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2024, 1, 31));
    QTest::mouseClick(recibir, Qt::LeftButton);
    QVERIFY(!recibir->isEnabled()); // busy until the server has answered everything
    QTRY_VERIFY_WITH_TIMEOUT(recibir->isEnabled(), 20000);
    QList<QStringList> celdas;
    for (const FilaEvento& fila : f.filas())
        celdas << fila.celdas();
    QCOMPARE(celdas, (QList<QStringList>{
                         {"CARGA", "2024-01-15", "08:00", "Engorde", "Maiz", "110", "100", "Juan"},
                         {"DESCARGA", "2024-01-15", "10:00", "C1", "", "150", "149", ""},
                         {"CARGA", "2024-01-16", "07:00", "Recria", "Maiz", "20", "20", "9 inexistente"},
                     }));
    QCOMPARE(f.operarioActual(), QString("9 inexistente"));
    QVERIFY(Dialogos::mostrados().isEmpty());

    // A range without loads: the list is emptied and the message says so.
    f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate(2025, 1, 1));
    f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2025, 1, 31));
    QTest::mouseClick(recibir, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(recibir->isEnabled(), 20000);
    QVERIFY(f.filas().isEmpty());
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({{"No existen datos a mostrar", Icono::Exclamacion}}));
}

void TstSucesosWeb::filasIlegibles() {
    // In March a load without its real kilograms: its error, the rest listed, and the end says so.
    QVERIFY(web_->agregarCargas("(7, '2024-03-01', '08:00', 'Engorde', 5, 'Maiz', null, 4, '110'), "
                                "(7, '2024-03-01', '09:00', 'Engorde', 5, 'Maiz', '90', 4, '90')"));
    BaseTemporal base;
    QVERIFY(web_->usarEnLaBase());
    FrmPrincipal principal;
    principal.findChild<QRadioButton*>("OptWeb")->click();
    FrmSucesos f(principal.datosSucesos(), &principal);
    f.show();
    Dialogos::limpiar();
    QVERIFY(recibir(f, QDate(2024, 3, 1), QDate(2024, 3, 31)));
    QCOMPARE(f.filas().size(), 1);
    QCOMPARE(f.filas().first().hora, QStringLiteral("09:00"));
    QCOMPARE(Dialogos::mostrados(),
             QList<Mensaje>({errorProcedimiento("94", "Uso no válido de Null", "Recibir_web", "Form1"),
                             {"Se listó 1 fila; 1 registro no se pudo leer", Icono::Exclamacion}}));
}

void TstSucesosWeb::descargasRechazadas() {
    // The server refuses the discharges of a day: the loads stay listed, the refusal is told with
    // the server's reason, and the end does not claim every record.
    QVERIFY(web_->fallarCuandoContenga("lectura_descarga_tracker", 500, "tabla bloqueada"));
    BaseTemporal base;
    QVERIFY(web_->usarEnLaBase());
    FrmPrincipal principal;
    principal.findChild<QRadioButton*>("OptWeb")->click();
    FrmSucesos f(principal.datosSucesos(), &principal);
    f.show();
    Dialogos::limpiar();
    QVERIFY(recibir(f, QDate(2024, 1, 15), QDate(2024, 1, 15)));
    QVERIFY(web_->quitarFallas());
    QCOMPARE(f.filas().size(), 1);
    QCOMPARE(f.filas().first().tipo, QStringLiteral("CARGA"));
    const QList<Mensaje> m = Dialogos::mostrados();
    QCOMPARE(m.size(), 2);
    QVERIFY2(m[0].texto.startsWith("No se pudieron leer las descargas del 15/01/2024.\n") &&
                 m[0].texto.contains("500") && m[0].texto.contains("tabla bloqueada"),
             qPrintable(m[0].texto));
    QCOMPARE(m[1], (Mensaje{"Se listó 1 fila; 1 registro no se pudo leer", Icono::Exclamacion}));
}

QTEST_MAIN(TstSucesosWeb)
#include "tst_sucesosweb.moc"
