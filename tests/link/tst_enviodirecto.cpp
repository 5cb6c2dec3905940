// The paced upload against the tablet simulator: bytes received, progress, pauses and failures.
#include "BaseTemporal.h"
#include "PlanSubida.h"
#include "ServidorTableta.h"

#include "link/EnvioDirecto.h"
#include "link/ProgramaDirecto.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {
// The progress as a list of steps, to compare with the window's sequence.
struct Progreso {
    QStringList pasos;
    void seguir(EnvioDirecto& e) {
        QObject::connect(&e, &EnvioDirecto::maximoBarra,
                         [this](int m) { pasos << QStringLiteral("max %1").arg(m); });
        QObject::connect(&e, &EnvioDirecto::valorBarra,
                         [this](int v) { pasos << QStringLiteral("val %1").arg(v); });
        QObject::connect(&e, &EnvioDirecto::barraVisible, [this](bool v) {
            pasos << (v ? QStringLiteral("ver") : QStringLiteral("ocultar"));
        });
        QObject::connect(&e, &EnvioDirecto::etiqueta, [this](const QString& t) { pasos << t; });
    }
};

bool conectar(QTcpSocket& s, ServidorTableta& t) {
    s.connectToHost(QHostAddress::LocalHost, t.puerto());
    return s.waitForConnected(5000) && QTest::qWaitFor([&] { return t.conexionesAbiertas() == 1; }, 5000);
}
} // namespace

class TstEnvioDirecto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void planCompletoByteAByte();
    void planVacioDejaElMaximo();
    void sinConexionFallaEnElPrimerEnvio();
    void conexionPerdidaAMitad();
    void filaIlegibleTrasLasAnteriores();
    void separarLlegadasJuntas();
};

void TstEnvioDirecto::planCompletoByteAByte() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixtoSin(b, 4));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket s;
    QVERIFY(conectar(s, tableta));

    Progreso progreso;
    EnvioDirecto envio(&s);
    progreso.seguir(envio);
    QList<qint64> envios;
    QElapsedTimer reloj;
    reloj.start();
    connect(&envio, &EnvioDirecto::mensajeEnviado, this, [&] { envios << reloj.nsecsElapsed(); });
    QSignalSpy terminado(&envio, &EnvioDirecto::terminado);
    QSignalSpy fallo(&envio, &EnvioDirecto::fallo);
    envio.iniciar(100);
    QVERIFY(envio.enCurso());
    QVERIFY(terminado.wait(10000));
    QVERIFY(fallo.isEmpty());
    QVERIFY(!envio.enCurso());
    const qint64 total = reloj.nsecsElapsed();

    const QList<QByteArray> todos = PlanSubida::esperadoMixto();
    const QList<QByteArray> esperado = {todos.at(0), todos.at(1), todos.at(4), todos.at(5),
                                        todos.at(8), todos.at(9), todos.at(10)};
    QTRY_COMPARE(tableta.mensajes(), esperado);
    // Paced: one arrival per message, each send at least 500 ms after the one before.
    QCOMPARE(tableta.llegadas(), esperado);
    QCOMPARE(envios.size(), 7);
    for (int i = 1; i < envios.size(); ++i)
        QVERIFY2(envios.at(i) - envios.at(i - 1) >= 500'000'000, qPrintable(QString::number(i)));
    QVERIFY(total >= 7 * 500'000'000LL);

    QCOMPARE(progreso.pasos, QStringList({"max 2",
                                          "ver",
                                          "val 0",
                                          "Enviando Viajes",
                                          "val 1",
                                          "val 2", // trip 3's two feeds
                                          "ver",
                                          "val 0",
                                          "Enviando Viajes", // no percentage trips
                                          "max 2",
                                          "ver",
                                          "val 0",
                                          "Enviando Descarga",
                                          "val 1",
                                          "val 2",
                                          "ver",
                                          "val 0",
                                          "Enviando Descarga",
                                          "max 2",
                                          "ver",
                                          "val 0",
                                          "Enviando Alimentos",
                                          "val 2",
                                          "max 1",
                                          "ver",
                                          "val 0",
                                          "Enviando Operarios",
                                          "val 1",
                                          "ocultar"}));
    // The acknowledgement came back on the same socket.
    QTRY_VERIFY(s.bytesAvailable() > 0);
    QCOMPARE(s.readAll(), QByteArray("ok"));
}

void TstEnvioDirecto::planVacioDejaElMaximo() {
    BaseTemporal b;
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket s;
    QVERIFY(conectar(s, tableta));
    Progreso progreso;
    EnvioDirecto envio(&s);
    progreso.seguir(envio);
    QSignalSpy terminado(&envio, &EnvioDirecto::terminado);
    envio.iniciar(37);
    QVERIFY(terminado.wait(5000));
    QTRY_COMPARE(tableta.mensajes(), PlanSubida::esperadoVacio());
    const QStringList p = progreso.pasos;
    QVERIFY(!p.join(u',').contains(QStringLiteral("max")));
    // The catalogue messages fill the bar up to the maximum it already had.
    QCOMPARE(p.count(QStringLiteral("val 37")), 2);
}

void TstEnvioDirecto::sinConexionFallaEnElPrimerEnvio() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into recetas values (1, 'K', 0)"));
    QVERIFY(b.ejecutar("insert into viajes values (2, '2024-03-01', '06:00', 1, 0, 1, 5, 1)"));
    QVERIFY(b.ejecutar("insert into descarga values (2, 'X', 100, 1)"));
    QTcpSocket s; // never connected
    Progreso progreso;
    EnvioDirecto envio(&s);
    progreso.seguir(envio);
    QSignalSpy fallo(&envio, &EnvioDirecto::fallo);
    QSignalSpy enviado(&envio, &EnvioDirecto::mensajeEnviado);
    envio.iniciar(100);
    QCOMPARE(fallo.size(), 1);
    QVERIFY(!envio.enCurso());
    QVERIFY(enviado.isEmpty());
    const Mensaje m = fallo.at(0).at(0).value<Mensaje>();
    QCOMPARE(m.texto,
             QStringLiteral("Error 40006 (Protocolo o estado de conexión incorrecto para la transacción o "
                            "solicitud requerida) en procedimiento Conexion_Directa de Formulario "
                            "FrmPrincipal"));
    QCOMPARE(m.titulo, QStringLiteral("Error en FrmPrincipal"));
    QCOMPARE(m.icono, Icono::Critico);
    // The trip parts were opened (empty), then the first discharge send failed; the bar stays.
    QCOMPARE(progreso.pasos, QStringList({"ver", "val 0", "Enviando Viajes", "ver", "val 0",
                                          "Enviando Viajes", "max 1", "ver", "val 0", "Enviando Descarga"}));
}

void TstEnvioDirecto::conexionPerdidaAMitad() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket s;
    QVERIFY(conectar(s, tableta));
    // The tablet goes away after the second message.
    connect(&tableta, &ServidorTableta::llegada, this, [&] {
        if (tableta.llegadas().size() == 2)
            tableta.cerrarConexiones();
    });
    EnvioDirecto envio(&s);
    QSignalSpy fallo(&envio, &EnvioDirecto::fallo);
    QSignalSpy terminado(&envio, &EnvioDirecto::terminado);
    envio.iniciar();
    QVERIFY(fallo.wait(5000));
    QVERIFY(terminado.isEmpty());
    const Mensaje m = fallo.at(0).at(0).value<Mensaje>();
    QVERIFY2(m.texto.startsWith(QStringLiteral("Error 10054 (")) ||
                 m.texto.startsWith(QStringLiteral("Error 10053 (")),
             qPrintable(m.texto));
    QVERIFY(
        m.texto.endsWith(QStringLiteral(") en procedimiento Conexion_Directa de Formulario FrmPrincipal")));
    // Nothing more goes out; in particular no "'fin'".
    QTest::qWait(700);
    QCOMPARE(tableta.mensajes().size(), 2);
    QCOMPARE(fallo.size(), 1);
}

void TstEnvioDirecto::filaIlegibleTrasLasAnteriores() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into recetas values (1, 'K', 0)"));
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'A')"));
    QVERIFY(b.ejecutar("insert into viajes values (1, '2024-03-01', '06:00', 1, 0, 1, 5, 1), "
                       "(2, '2024-03-01', '07:00', 1, 0, 1, null, 1)"));
    ServidorTableta tableta;
    QVERIFY(tableta.escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket s;
    QVERIFY(conectar(s, tableta));
    Progreso progreso;
    EnvioDirecto envio(&s);
    progreso.seguir(envio);
    QSignalSpy fallo(&envio, &EnvioDirecto::fallo);
    envio.iniciar(100);
    QVERIFY(fallo.wait(5000));
    // The trip before the one without kilograms went out; the upload stops at the second.
    QTRY_COMPARE(tableta.mensajes(),
                 QList<QByteArray>{
                     "'te paso' 'recetas' ('0','20240301','1','1','K','1','A','5','06:00','100','1','0'),"});
    QVERIFY(fallo.at(0).at(0).value<Mensaje>().texto.startsWith(QStringLiteral("Error 94 (")));
    QCOMPARE(progreso.pasos, QStringList({"max 2", "ver", "val 0", "Enviando Viajes", "val 1"}));
    QTest::qWait(600);
    QCOMPARE(tableta.mensajes().size(), 1);
}

void TstEnvioDirecto::separarLlegadasJuntas() {
    // When timing slips, the simulator still tells the messages apart at the command words,
    // and keeps a message split by the network until its end arrives.
    ProgramaRecibido p;
    p.agregar("'te paso' 'alimentos' 'te paso' 'operarios' ('0','1','Ana',''),('0','2','Lu");
    p.agregar("is',''),'fin''desconectar'");
    QCOMPARE(p.mensajes().size(), 4);
    QCOMPARE(p.mensajes().at(0).texto, QByteArray("'te paso' 'alimentos' "));
    QCOMPARE(p.mensajes().at(1).registros,
             QList<QByteArray>({"('0','1','Ana',''),", "('0','2','Luis',''),"}));
    QCOMPARE(p.mensajes().at(2).comando, QByteArray("'fin'"));
    QCOMPARE(p.mensajes().at(3).comando, QByteArray("'desconectar'"));
}

QTEST_GUILESS_MAIN(TstEnvioDirecto)
#include "tst_enviodirecto.moc"
