// The events window against the tablet simulator: its controls, the automatic connection, the
// road chosen in the main window, requests without a connection and whole downloads.
#include "BaseTemporal.h"
#include "RespuestaSucesos.h"
#include "ServidorTableta.h"
#include "Ventanas.h"

#include "app/FrmPrincipal.h"
#include "events/FrmSucesos.h"
#include "ui/Dialogos.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

namespace {
const QString kConectado = QStringLiteral("Conectado...");

// Two loads and two discharges on 15 June 2021, one load outside a June range.
QList<RespuestaSucesos::Registro> registros() {
    return {{{2021, 6, 15}, "'carga',06/15/2021,3, Receta A ,1,Maiz,1000,990,10:30,0,3,"},
            {{2021, 6, 15}, "'descarga',06/15/2021,Corral 1,500,480,11:05,"},
            {{2021, 6, 15},
             "\"'carga'\",\"06/15/2021\",\"3\",\"Receta A\",\"2\",\"Soja*\",\"200\",\"210\","
             "\"10:40:10\",\"0\",\"9\","},
            {{2021, 6, 15}, "'descarga',06/15/2021,Corral 2,700,690,11:20,"},
            {{2021, 7, 1}, "'carga',07/01/2021,3,Receta B,1,Maiz,1,1,08:00,0,3,"}};
}
const QList<QStringList> kFilasJunio = {
    {"CARGA", "15/06/2021", "10:30", "Receta A", "Maiz", "1000", "990", "Juan"},
    {"DESCARGA", "15/06/2021", "11:05", "Corral 1", "", "500", "480", "Juan"},
    {"CARGA", "15/06/2021", "10:40", "Receta A", "Soja", "200", "210", "9 inexistente"},
    {"DESCARGA", "15/06/2021", "11:20", "Corral 2", "", "700", "690", "9 inexistente"}};

QStringList textos(const QList<Mensaje>& ms) {
    QStringList r;
    for (const Mensaje& m : ms)
        r << m.texto;
    return r;
}
} // namespace

class TstFrmSucesos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Dialogos::activarModoPrueba(); }
    void init();
    void cleanup();
    void controlesYRango();
    void seConectaSolaConLaPrincipal();
    void webOcultaElMarco();
    void recibirSinConexion();
    void descarga_data();
    void descarga();
    void desconectar();
    void perdidaEnLaLineaDeEstado();
    void columnasALaVista();
    void desdeLaVentanaPrincipal();
    void cerrarDuranteLaDescarga();

private:
    QString direccion() const { return QStringLiteral("127.0.0.1:%1").arg(tableta_->puerto()); }
    // Connects the events window's own socket and waits for it.
    bool conectar(FrmSucesos& f);

    std::unique_ptr<BaseTemporal> base_;
    std::unique_ptr<ServidorTableta> tableta_;
    std::unique_ptr<RespuestaSucesos> sucesos_;
};

void TstFrmSucesos::init() {
    Dialogos::limpiar();
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ejecutar("insert into operarios values (3, 'Juan')"));
    tableta_ = std::make_unique<ServidorTableta>();
    QVERIFY(tableta_->escuchar(QHostAddress::LocalHost, 0));
    sucesos_ = std::make_unique<RespuestaSucesos>();
    sucesos_->setRegistros(registros());
    tableta_->setSucesos(sucesos_.get());
}

void TstFrmSucesos::cleanup() {
    tableta_.reset();
    sucesos_.reset();
    base_.reset();
}

bool TstFrmSucesos::conectar(FrmSucesos& f) {
    f.findChild<QLineEdit*>("TxtDir")->setText(direccion());
    auto* boton = f.findChild<QPushButton*>("CmdConectar");
    boton->click();
    return QTest::qWaitFor([boton] { return boton->text() == kConectado; }, 5000);
}

void TstFrmSucesos::controlesYRango() {
    FrmPrincipal principal;
    FrmSucesos f(principal.datosSucesos(), &principal);
    QCOMPARE(f.windowTitle(), QStringLiteral("Sucesos"));
    QCOMPARE(f.findChild<QGroupBox*>("Frame3")->title(), QStringLiteral("SUCESOS"));
    QCOMPARE(f.findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("Conectar con la tablet"));
    QCOMPARE(f.findChild<QLabel*>("Label3")->text(), QStringLiteral("DESDE:"));
    QCOMPARE(f.findChild<QLabel*>("Label4")->text(), QStringLiteral("HASTA:"));
    QCOMPARE(f.findChild<QPushButton*>("CMDREC")->accessibleName(), QStringLiteral("RECIBIR"));
    QCOMPARE(f.findChild<QPushButton*>("CmdExportar")->text(), QStringLiteral("EXPORTAR XLS"));
    QCOMPARE(f.findChild<QPushButton*>("CmdConectar")->text(), QStringLiteral("Conectar"));
    QCOMPARE(f.findChild<QDateEdit*>("DTDESDE")->accessibleName(), QStringLiteral("DESDE:"));
    // The default range: the 30 days up to today.
    QCOMPARE(f.desde(), QDate::currentDate().addDays(-30));
    QCOMPARE(f.hasta(), QDate::currentDate());
    // Main window not connected: the window does not connect and shows the direct-link frame.
    QVERIFY(f.findChild<QLineEdit*>("TxtDir")->text().isEmpty());
    QVERIFY(!f.findChild<QGroupBox*>("Frame1")->isHidden());

    auto* lista = f.findChild<QTableView*>("ListSuc");
    QCOMPARE(lista->model()->columnCount(), 8);
    for (int c = 0; c < 8; ++c) {
        QCOMPARE(lista->model()->headerData(c, Qt::Horizontal).toString(), FilaEvento::encabezados().at(c));
        const auto alineado =
            lista->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(bool(alineado & Qt::AlignRight), c == 5 || c == 6);
    }
    QCOMPARE(lista->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(lista->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(lista->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(lista->horizontalHeader()->sectionsMovable());

    // The list follows the window; the frame keeps its margins.
    f.show();
    f.resize(1200, 800);
    const int tw = [&f](int t) { return t * f.logicalDpiX() / 1440; }(450);
    QTRY_COMPARE(f.findChild<QGroupBox*>("Frame3")->width(), 1200 - tw);
    QVERIFY(lista->height() > 0 && lista->height() < f.findChild<QGroupBox*>("Frame3")->height());

    // Enter in the address box is "Conectar": with no address, its message.
    QTest::keyClick(f.findChild<QLineEdit*>("TxtDir"), Qt::Key_Return);
    QCOMPARE(textos(Dialogos::mostrados()), QStringList({"Ingrese el ip de la tablet para conectarse"}));
}

void TstFrmSucesos::seConectaSolaConLaPrincipal() {
    FrmPrincipal principal;
    auto* directo = principal.findChild<QGroupBox*>("FrDirecto");
    directo->findChild<QLineEdit*>("TxtDir")->setText(direccion());
    {
        // Not connected yet: the address is there to press "Conectar" on, nothing connects.
        FrmSucesos f(principal.datosSucesos(), &principal);
        QCOMPARE(f.findChild<QLineEdit*>("TxtDir")->text(), direccion());
        QCOMPARE(f.findChild<QPushButton*>("CmdConectar")->text(), QStringLiteral("Conectar"));
    }
    auto* conectar = directo->findChild<QPushButton*>("CmdConectar");
    conectar->click();
    QTRY_COMPARE(conectar->text(), kConectado);

    FrmSucesos f(principal.datosSucesos(), &principal);
    QCOMPARE(f.findChild<QLineEdit*>("TxtDir")->text(), direccion());
    auto* propio = f.findChild<QPushButton*>("CmdConectar");
    QTRY_COMPARE(propio->text(), kConectado);
    QTRY_COMPARE(tableta_->conexionesAbiertas(), 2);
    // The main window's connection is left as it was.
    QCOMPARE(principal.socket()->state(), QAbstractSocket::ConnectedState);
}

void TstFrmSucesos::webOcultaElMarco() {
    FrmPrincipal principal;
    principal.findChild<QRadioButton*>("OptWeb")->click();
    FrmSucesos f(principal.datosSucesos(), &principal);
    QVERIFY(f.findChild<QGroupBox*>("Frame1")->isHidden());
    // "RECIBIR" takes the web road: no word to the tablet, no "connect first" message.
    f.findChild<QPushButton*>("CMDREC")->click();
    QVERIFY(Dialogos::mostrados().isEmpty());
    QCOMPARE(tableta_->conexionesAceptadas(), 0);
}

void TstFrmSucesos::recibirSinConexion() {
    const QStringList aviso = {"primero debe conectarse a la tablet"};
    FrmSucesos f;
    auto* recibir = f.findChild<QPushButton*>("CMDREC");
    recibir->click(); // never connected
    QCOMPARE(textos(Dialogos::mostrados()), aviso);
    QCOMPARE(Dialogos::mostrados().first().icono, Icono::Exclamacion);

    Dialogos::limpiar();
    f.findChild<QLineEdit*>("TxtDir")->setText(direccion());
    f.findChild<QPushButton*>("CmdConectar")->click();
    recibir->click(); // still connecting
    QCOMPARE(textos(Dialogos::mostrados()), aviso);
    QTRY_COMPARE(tableta_->conexionesAceptadas(), 1);

    Dialogos::limpiar();
    quint16 puerto = 0;
    {
        QTcpServer cerrado; // nothing listens on its port once it is gone
        QVERIFY(cerrado.listen(QHostAddress::LocalHost, 0));
        puerto = cerrado.serverPort();
    }
    f.findChild<QLineEdit*>("TxtDir")->setText(QStringLiteral("127.0.0.1:%1").arg(puerto));
    f.findChild<QPushButton*>("CmdConectar")->click();
    auto* ws = f.findChild<QTcpSocket*>("WS");
    QTRY_COMPARE(ws->state(), QAbstractSocket::UnconnectedState); // failed
    recibir->click();
    QCOMPARE(textos(Dialogos::mostrados()), aviso);
    QTest::qWait(50);
    QCOMPARE(sucesos_->pedidos(), 0);
}

void TstFrmSucesos::descarga_data() {
    QTest::addColumn<int>("modo");
    QTest::addColumn<QDate>("desde");
    QTest::addColumn<int>("filas");
    QTest::newRow("una llegada por registro")
        << int(RespuestaSucesos::Modo::UnoPorLlegada) << QDate(2021, 6, 1) << 4;
    QTest::newRow("todo en una llegada")
        << int(RespuestaSucesos::Modo::TodosJuntos) << QDate(2021, 6, 1) << 4;
    QTest::newRow("registros partidos") << int(RespuestaSucesos::Modo::Partidos) << QDate(2021, 6, 1) << 4;
    QTest::newRow("sin datos") << int(RespuestaSucesos::Modo::UnoPorLlegada) << QDate(2021, 6, 16) << 0;
}

void TstFrmSucesos::descarga() {
    QFETCH(int, modo);
    QFETCH(QDate, desde);
    QFETCH(int, filas);
    sucesos_->setModo(RespuestaSucesos::Modo(modo));
    FrmSucesos f;
    QVERIFY(conectar(f));
    f.findChild<QDateEdit*>("DTDESDE")->setDate(desde);
    f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2021, 6, 30));
    f.agregarFila({"CARGA", "vieja", "", "", "", "", "", ""});
    QSignalSpy enviada(sucesos_.get(), &RespuestaSucesos::respuestaEnviada);
    // Twice: a new request starts the list over.
    for (int vez = 0; vez < 2; ++vez) {
        Dialogos::limpiar();
        f.findChild<QPushButton*>("CMDREC")->click();
        QTRY_COMPARE(Dialogos::mostrados().size(), 1);
        QCOMPARE(tableta_->llegadas().last(),
                 "Mandame los datos entre: " + desde.toString("MM/dd/yyyy").toLatin1() +
                     " y 06/30/2021 a; 0.5");
        QList<QStringList> celdas;
        for (const FilaEvento& fila : f.filas())
            celdas << fila.celdas();
        QCOMPARE(celdas, kFilasJunio.mid(0, filas));
        const QAbstractItemModel* modelo = f.findChild<QTableView*>("ListSuc")->model();
        QCOMPARE(modelo->rowCount(), filas);
        if (filas)
            QCOMPARE(modelo->index(filas - 1, 7).data().toString(), QStringLiteral("9 inexistente"));
        const Mensaje m = Dialogos::mostrados().first();
        if (filas)
            QCOMPARE(m, (Mensaje{"se descargaron todos los registros correctamente", Icono::Informacion}));
        else
            QCOMPARE(m, (Mensaje{"No existen datos en la tablet " + direccion() +
                                     " entre las fechas 16/06/2021 y 30/06/2021",
                                 Icono::Exclamacion, "Tolvaro"}));
        QTRY_COMPARE(enviada.size(), vez + 1);
    }
}

void TstFrmSucesos::desconectar() {
    FrmSucesos f;
    QVERIFY(conectar(f));
    auto* boton = f.findChild<QPushButton*>("CmdConectar");
    boton->click();
    QCOMPARE(boton->text(), QStringLiteral("Conectar"));
    QCOMPARE(boton->accessibleName(), QStringLiteral("Conectar"));
    QTRY_VERIFY(tableta_->llegadas().contains("'desconectar'"));
    // The tablet closes on it; "Conectado..." over a closed socket sends nothing and stays quiet.
    QTRY_COMPARE(tableta_->conexionesAbiertas(), 0);
    QVERIFY(conectar(f));
    f.findChild<QTcpSocket*>("WS")->abort();
    boton->click();
    QCOMPARE(boton->text(), QStringLiteral("Conectar"));
    QVERIFY(Dialogos::mostrados().isEmpty());
}

void TstFrmSucesos::perdidaEnLaLineaDeEstado() {
    FrmSucesos f;
    f.show();
    auto* estado = f.findChild<QLabel*>("LblEstadoConexion");
    QVERIFY(estado);
    QCOMPARE(estado->parentWidget(), f.findChild<QGroupBox*>("Frame1"));
    QVERIFY(conectar(f));
    auto* boton = f.findChild<QPushButton*>("CmdConectar");
    tableta_->cerrarConexiones();
    QTRY_COMPARE(boton->text(), QStringLiteral("Conectar"));
    QCOMPARE(estado->text(), "Se perdió la conexión con " + direccion() + ": la tablet cerró la conexión");

    QVERIFY(Dialogos::mostrados().isEmpty());
}

void TstFrmSucesos::columnasALaVista() {
    FrmSucesos f;
    f.show();
    // Opens within a 1366x768 screen with the eight columns of a download in view, each as wide
    // as its longest text.
    QVERIFY(f.width() <= 1366 && f.height() <= 740);
    auto* lista = f.findChild<QTableView*>("ListSuc");
    const FilaEvento fila{
        "DESCARGA", "15/06/2021", "10:30",     "Receta de terminación novillos", "Silo de maíz picado fino",
        "12000",    "11985",      "Juan Pérez"};
    f.agregarFilas({fila, fila});
    const QStringList celdas = fila.celdas();
    QTRY_VERIFY(lista->horizontalHeader()->sectionSize(3) >=
                lista->fontMetrics().horizontalAdvance(celdas[3]));
    int total = 0;
    for (int c = 0; c < 8; ++c) {
        QVERIFY2(lista->horizontalHeader()->sectionSize(c) >=
                     lista->fontMetrics().horizontalAdvance(celdas[c]),
                 qPrintable(celdas[c]));
        total += lista->horizontalHeader()->sectionSize(c);
    }
    QCOMPARE(total, lista->viewport()->width()); // the last column takes what is left

    // Never so small that the controls below the list are cut.
    f.resize(100, 100);
    for (const char* nombre : {"CMDREC", "CmdExportar", "CmdConectar", "TxtDir", "LblEstadoConexion"}) {
        auto* w = f.findChild<QWidget*>(nombre);
        const QRect enVentana(w->mapTo(&f, QPoint(0, 0)), w->size());
        QVERIFY2(f.rect().contains(enVentana) && w->height() >= w->minimumSizeHint().height(), nombre);
    }
}

void TstFrmSucesos::desdeLaVentanaPrincipal() {
    FrmPrincipal principal;
    auto* directo = principal.findChild<QGroupBox*>("FrDirecto");
    directo->findChild<QLineEdit*>("TxtDir")->setText(direccion());
    {
        // Not connected yet: the address is there to press "Conectar" on, nothing connects.
        FrmSucesos f(principal.datosSucesos(), &principal);
        QCOMPARE(f.findChild<QLineEdit*>("TxtDir")->text(), direccion());
        QCOMPARE(f.findChild<QPushButton*>("CmdConectar")->text(), QStringLiteral("Conectar"));
    }
    auto* conectar = directo->findChild<QPushButton*>("CmdConectar");
    conectar->click();
    QTRY_COMPARE(conectar->text(), kConectado);

    bool vista = false;
    bool conectadaSola = false;
    alAbrirModal(this, [&](QWidget* w) {
        auto* f = qobject_cast<FrmSucesos*>(w);
        vista = f != nullptr;
        if (!f)
            return;
        // Wait for the window's own connection, then close it.
        conectadaSola = QTest::qWaitFor(
            [f] { return f->findChild<QPushButton*>("CmdConectar")->text() == kConectado; }, 5000);
        f->close();
    });
    principal.findChild<QPushButton*>("Command3")->click();
    QVERIFY(vista);
    QVERIFY(conectadaSola);
    // Back in the main window: it connects again, a third connection to the tablet.
    QTRY_COMPARE(tableta_->conexionesAceptadas(), 3);
    QTRY_COMPARE(conectar->text(), kConectado);
}

void TstFrmSucesos::cerrarDuranteLaDescarga() {
    const Mensaje pregunta{"Se están recibiendo los sucesos. ¿Interrumpir la recepción y salir?",
                           Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    sucesos_->setPausa(400); // records come slowly
    {
        FrmSucesos f;
        f.show();
        QVERIFY(conectar(f));
        f.findChild<QDateEdit*>("DTDESDE")->setDate(QDate(2021, 6, 1));
        f.findChild<QDateEdit*>("DTHASTA")->setDate(QDate(2021, 6, 30));
        f.findChild<QPushButton*>("CMDREC")->click();
        QTRY_COMPARE(f.filas().size(), 1);
        // No: the window stays and the download goes on.
        Dialogos::encolarRespuesta(Respuesta::No);
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{pregunta});
        QVERIFY(f.isVisible());
        QTRY_COMPARE(f.filas().size(), 2);
        // Yes: closed at once, the connection with it.
        Dialogos::encolarRespuesta(Respuesta::Si);
        f.close();
        QVERIFY(!f.isVisible());
        QTRY_COMPARE(tableta_->conexionesAbiertas(), 0);
    }
    {
        // A finished download asks nothing.
        sucesos_->setPausa(10);
        Dialogos::limpiar();
        FrmSucesos f;
        f.show();
        QVERIFY(conectar(f));
        f.findChild<QPushButton*>("CMDREC")->click();
        QTRY_COMPARE(Dialogos::mostrados().size(), 1); // its end
        f.close();
        QVERIFY(!f.isVisible());
        QCOMPARE(Dialogos::mostrados().size(), 1);
    }
    {
        // The web road, with a server that never answers.
        Dialogos::limpiar();
        QTcpServer mudo;
        QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
        FrmPrincipal principal;
        principal.findChild<QRadioButton*>("OptWeb")->click();
        principal.findChild<QLineEdit*>("TxtServ")->setText(
            QStringLiteral("127.0.0.1:%1").arg(mudo.serverPort()));
        FrmSucesos f(principal.datosSucesos(), &principal);
        f.show();
        f.findChild<QPushButton*>("CMDREC")->click();
        Dialogos::encolarRespuesta(Respuesta::No);
        f.close();
        QVERIFY(f.isVisible());
        f.close(); // answered Yes by default
        QVERIFY(!f.isVisible());
        QCOMPARE(Dialogos::mostrados(), (QList<Mensaje>{pregunta, pregunta}));
    }
}

QTEST_MAIN(TstFrmSucesos)
#include "tst_frmsucesos.moc"
