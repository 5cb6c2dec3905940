// The connection to the tablet: its states as the socket goes, its goodbye, its errors and the
// acknowledgement, against a bare server.
#include "link/ConexionTablet.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using Estado = ConexionTablet::Estado;

class TstConexionTablet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conectarDespedirseYPerder();
    void conexionRechazada();
    void acuseAunqueLleguePartido();
};

void TstConexionTablet::conectarDespedirseYPerder() {
    QTcpServer servidor;
    QVERIFY(servidor.listen(QHostAddress::LocalHost, 0));
    ConexionTablet c;
    QSignalSpy estados(&c, &ConexionTablet::estadoCambiado);
    QSignalSpy errores(&c, &ConexionTablet::error);
    const QString direccion = QStringLiteral("127.0.0.1:%1").arg(servidor.serverPort());
    c.conectar(direccion);
    QCOMPARE(c.estado(), Estado::Conectando);
    QTRY_COMPARE(c.estado(), Estado::Conectado);
    QTRY_VERIFY(servidor.hasPendingConnections());
    QTcpSocket* tablet = servidor.nextPendingConnection();

    // The goodbye goes out; the tablet closing afterwards is no failure.
    c.despedirse();
    QCOMPARE(c.estado(), Estado::Desconectado);
    QTRY_COMPARE(tablet->bytesAvailable(), ConexionTablet::kDesconectar.size());
    QCOMPARE(tablet->readAll(), ConexionTablet::kDesconectar);
    tablet->close();
    QTRY_VERIFY(!c.abierta());
    QCOMPARE(c.estado(), Estado::Desconectado);
    QCOMPARE(errores.size(), 0);

    // Connected again, then the tablet goes away: the state says so, with the reason.
    c.conectar(direccion);
    QTRY_COMPARE(c.estado(), Estado::Conectado);
    QTRY_VERIFY(servidor.hasPendingConnections());
    delete servidor.nextPendingConnection();
    QTRY_COMPARE(c.estado(), Estado::Perdida);
    QCOMPARE(errores.size(), 1);
    QCOMPARE(errores.first().first().toString(), QStringLiteral("la tablet cerró la conexión"));
    c.despedirse(); // nothing to send on a closed socket
    QCOMPARE(c.estado(), Estado::Desconectado);

    QList<Estado> vistos;
    for (const QList<QVariant>& e : std::as_const(estados))
        vistos << e.first().value<Estado>();
    QCOMPARE(vistos,
             QList<Estado>({Estado::Conectando, Estado::Conectado, Estado::Desconectado, Estado::Conectando,
                            Estado::Conectado, Estado::Perdida, Estado::Desconectado}));
}

void TstConexionTablet::conexionRechazada() {
    quint16 libre = 0;
    {
        QTcpServer s;
        QVERIFY(s.listen(QHostAddress::LocalHost, 0));
        libre = s.serverPort();
    }
    ConexionTablet c;
    QSignalSpy errores(&c, &ConexionTablet::error);
    c.conectar(QStringLiteral("127.0.0.1:%1").arg(libre));
    QTRY_COMPARE(errores.size(), 1);
    QCOMPARE(errores.first().first().toString(), QStringLiteral("la tablet rechazó la conexión"));
    QCOMPARE(c.estado(), Estado::Desconectado);
    // Our own close of a connection being made is not reported (under Wine the refusal of a loopback
    // connection is known before conectar() returns, so there is no connection being made to close).
#ifndef Q_OS_WIN
    c.conectar(QStringLiteral("127.0.0.1:%1").arg(libre));
    c.cerrar();
    QTest::qWait(50);
    QCOMPARE(errores.size(), 1);
#endif
}

void TstConexionTablet::acuseAunqueLleguePartido() {
    QTcpServer servidor;
    QVERIFY(servidor.listen(QHostAddress::LocalHost, 0));
    ConexionTablet c;
    QSignalSpy llegadas(&c, &ConexionTablet::llegada);
    QSignalSpy acuses(&c, &ConexionTablet::acuse);
    c.conectar(QStringLiteral("127.0.0.1:%1").arg(servidor.serverPort()));
    QTRY_VERIFY(servidor.hasPendingConnections());
    QTcpSocket* tablet = servidor.nextPendingConnection();
    QTRY_COMPARE(c.estado(), Estado::Conectado);
    for (const QByteArray& parte : {QByteArray("nada, o"), QByteArray("k"), QByteArray("recibido ok")}) {
        const qsizetype antes = llegadas.size();
        tablet->write(parte);
        tablet->flush();
        QTRY_VERIFY(llegadas.size() > antes);
    }
    QCOMPARE(acuses.size(), 2);
}

QTEST_GUILESS_MAIN(TstConexionTablet)
#include "tst_conexiontablet.moc"
