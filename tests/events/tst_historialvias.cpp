// The history fed by every download road that ends well (the events window and `recibir`, direct
// and web): the same range downloaded again and again keeps each event once, an event the tablet
// really recorded twice twice, and a download cut short or refused keeps nothing.
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "RespuestaSucesos.h"
#include "ServicioWebPrueba.h"
#include "ServidorTableta.h"

#include "app/FrmPrincipal.h"
#include "db/BaseDatos.h"
#include "events/FrmSucesos.h"
#include "ui/Dialogos.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
enum class Via { VentanaDirecta, VentanaWeb, CliDirecta, CliWeb };

// What the tablet holds, as each road brings it: the direct road with dates month first, the web
// service with yyyy-mm-dd, seconds and "200.0"; the discharge into Corral 1 happened twice.
const QList<RespuestaSucesos::Registro> kTableta = {
    {{2021, 6, 15}, "'carga',06/15/2021,3,Receta A,1,Maiz,1000,985,10:30,0,3,"},
    {{2021, 6, 15}, "'carga',06/15/2021,3,Receta A,2,Soja,200,210,10:40:10,0,3,"},
    {{2021, 6, 15}, "'descarga',06/15/2021,Corral 1,600,590,11:05,"},
    {{2021, 6, 15}, "'descarga',06/15/2021,Corral 1,600,590,11:05,"}};
const QString kGuardado = QStringLiteral("select tipo, fecha, hora, receta_corral, alimento, kg_sugerido, "
                                         "kg_real, operario from historial_sucesos "
                                         "order by fecha, hora, id");
const QStringList kHistorial = {
    "CARGA|2021-06-15|10:30|Receta A|Maiz|1000|985|Juan", "CARGA|2021-06-15|10:40|Receta A|Soja|200|210|Juan",
    "DESCARGA|2021-06-15|11:05|Corral 1||600|590|%1", "DESCARGA|2021-06-15|11:05|Corral 1||600|590|%1"};
} // namespace

class TstHistorialVias : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { web_.reset(); }
    void init();
    void cleanup();
    void mismoRangoTresVeces_data();
    void mismoRangoTresVeces();
    void descargasCortadasNoGuardan();

private:
    // Downloads June 2021 by one road; false when it did not end as a whole download would.
    bool descargar(Via via);
    int correrCli(const QStringList& args);
    QString direccion() const { return QStringLiteral("127.0.0.1:%1").arg(tableta_->puerto()); }
    int guardados() { return base_->valor("select count(*) from historial_sucesos").toInt(); }

    std::unique_ptr<ServicioWebPrueba> web_;
    std::unique_ptr<BaseTemporal> base_;
    std::unique_ptr<ServidorTableta> tableta_;
    std::unique_ptr<RespuestaSucesos> sucesos_;
};

void TstHistorialVias::initTestCase() {
    Dialogos::activarModoPrueba();
    web_ = std::make_unique<ServicioWebPrueba>();
    if (web_->faltaMariaDb())
        QSKIP(qPrintable(web_->error()));
    QVERIFY2(web_->ok(), qPrintable(web_->error()));
    QVERIFY(web_->ejecutar("insert into clientes values (7, 'juan', 'clave')"));
    QVERIFY(web_->agregarCargas("(7, '2021-06-15', '10:30', 'Receta A', 1, 'Maiz', '985', 3, '1000'), "
                                "(7, '2021-06-15', '10:40:10', 'Receta A', 2, 'Soja', '210', 3, '200.0')"));
    QVERIFY(web_->agregarDescargas("(7, '2021-06-15', '11:05', 'Corral 1', '600', '590'), "
                                   "(7, '2021-06-15', '11:05', 'Corral 1', '600', '590')"));
}

void TstHistorialVias::init() {
    Dialogos::limpiar();
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ejecutar("insert into operarios values (3, 'Juan')"));
    QVERIFY(web_->usarEnLaBase());
    tableta_ = std::make_unique<ServidorTableta>();
    QVERIFY(tableta_->escuchar(QHostAddress::LocalHost, 0));
    sucesos_ = std::make_unique<RespuestaSucesos>();
    sucesos_->setRegistros(kTableta);
    tableta_->setSucesos(sucesos_.get());
}

void TstHistorialVias::cleanup() {
    web_->quitarFallas();
    tableta_.reset();
    sucesos_.reset();
    base_.reset();
}

int TstHistorialVias::correrCli(const QStringList& args) {
    return ::correrCli(QStringList{"recibir"} + args +
                           QStringList{"--desde", "2021-06-01", "--hasta", "2021-06-30"},
                       CorridaCli(base_->carpeta()))
        .codigo;
}

bool TstHistorialVias::descargar(Via via) {
    switch (via) {
    case Via::CliDirecta:
        return correrCli({"--directa", direccion()}) == 0;
    case Via::CliWeb:
        return correrCli(
                   {"--web", "--servidor", web_->servidor(), "--usuario", "juan", "--clave", "clave"}) == 0;
    case Via::VentanaDirecta:
    case Via::VentanaWeb:
        break;
    }
    Dialogos::limpiar();
    FrmPrincipal principal;
    if (via == Via::VentanaWeb)
        principal.findChild<QRadioButton*>("OptWeb")->click();
    FrmSucesos f(principal.datosSucesos(), &principal);
    f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate(2021, 6, 1));
    f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2021, 6, 30));
    auto* recibir = f.findChild<QPushButton*>("CMDREC");
    if (via == Via::VentanaWeb) {
        recibir->click();
        return QTest::qWaitFor([recibir] { return recibir->isEnabled(); }, 20000) && f.filas().size() == 4 &&
               Dialogos::mostrados().isEmpty();
    }
    f.findChild<QLineEdit*>("TxtDir")->setText(direccion());
    auto* conectar = f.findChild<QPushButton*>("CmdConectar");
    conectar->click();
    if (!QTest::qWaitFor([conectar] { return conectar->text() == QStringLiteral("Conectado..."); }, 5000))
        return false;
    recibir->click();
    return QTest::qWaitFor([] { return !Dialogos::mostrados().isEmpty(); }, 10000) && f.filas().size() == 4 &&
           Dialogos::mostrados().size() == 1 &&
           Dialogos::mostrados().first().texto ==
               QStringLiteral("se descargaron todos los registros correctamente");
}

void TstHistorialVias::mismoRangoTresVeces_data() {
    QTest::addColumn<QList<int>>("vias");
    QTest::addColumn<QString>("operarioDescarga"); // the first road's: the direct one shows the latest load's
    QTest::newRow("ventana, primero directa")
        << QList<int>{int(Via::VentanaDirecta), int(Via::VentanaWeb), int(Via::VentanaDirecta)} << "Juan";
    QTest::newRow("ventana, primero web")
        << QList<int>{int(Via::VentanaWeb), int(Via::VentanaDirecta), int(Via::VentanaWeb)} << "";
    QTest::newRow("recibir, primero directa")
        << QList<int>{int(Via::CliDirecta), int(Via::CliWeb), int(Via::CliDirecta)} << "Juan";
    QTest::newRow("recibir, primero web")
        << QList<int>{int(Via::CliWeb), int(Via::CliDirecta), int(Via::CliWeb)} << "";
}

void TstHistorialVias::mismoRangoTresVeces() {
    QFETCH(QList<int>, vias);
    QFETCH(QString, operarioDescarga);
    for (int via : vias) {
        QVERIFY(descargar(Via(via)));
        QCOMPARE(base_->filas(kGuardado), kHistorial.join(u'\n').arg(operarioDescarga).split(u'\n'));
    }
    QCOMPARE(base_->valor("select count(distinct via) from historial_sucesos").toInt(), 1);
}

void TstHistorialVias::descargasCortadasNoGuardan() {
    // The window, direct: the tablet goes silent after the first records and the window closes.
    sucesos_->setPausa(400);
    {
        FrmSucesos f;
        f.findChild<QLineEdit*>("TxtDir")->setText(direccion());
        auto* conectar = f.findChild<QPushButton*>("CmdConectar");
        conectar->click();
        QTRY_COMPARE(conectar->text(), QStringLiteral("Conectado..."));
        f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate(2021, 6, 1));
        f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2021, 6, 30));
        f.findChild<QPushButton*>("CMDREC")->click();
        QTRY_VERIFY(!f.filas().isEmpty());
        tableta_->cerrarConexiones();
        f.close();
    }
    QTest::qWait(1000); // what the tablet had left to send goes nowhere
    QCOMPARE(guardados(), 0);

    // `recibir --directa`: the tablet stops answering in the middle.
    sucesos_->setPausa(4000);
    QCOMPARE(correrCli({"--directa", direccion(), "--espera", "1"}), 1);
    QCOMPARE(guardados(), 0);

    // The web road, window and command: the server refuses the loads.
    QVERIFY(web_->fallarCuandoContenga("lectura_carga_tracker", 500, "Table is marked as crashed"));
    QVERIFY(!descargar(Via::VentanaWeb));
    QCOMPARE(guardados(), 0);
    QCOMPARE(correrCli({"--web", "--servidor", web_->servidor(), "--usuario", "juan", "--clave", "clave"}),
             1);
    QCOMPARE(guardados(), 0);

    // A download that ran to its end with a row it could not read keeps what it could read: a bad
    // record on the tablet must not keep its whole range out of the history for ever.
    QVERIFY(web_->quitarFallas());
    QVERIFY(web_->fallarCuandoContenga(
        "lectura_descarga_tracker", 200,
        R"([{"fecha":null,"hora":"11:05","corral":"Corral 1","kg_sug":"600","kg_real":"590"}])"));
    QVERIFY(!descargar(Via::VentanaWeb));
    QCOMPARE(base_->filas(kGuardado), kHistorial.mid(0, 2));
}

QTEST_MAIN(TstHistorialVias)
#include "tst_historialvias.moc"
