#include "ServidorTableta.h"

#include "RespuestaSucesos.h"

#include <QTcpSocket>

ServidorTableta::ServidorTableta(QObject* parent) : QObject(parent) {
    connect(&servidor_, &QTcpServer::newConnection, this, &ServidorTableta::aceptar);
}

ServidorTableta::~ServidorTableta() {
    // The sockets belong to the server member, which goes last: they must not call back into
    // the lists already destroyed by then.
    const QList<QTcpSocket*> abiertos = clientes_;
    clientes_.clear();
    for (QTcpSocket* s : abiertos) {
        s->disconnect(this);
        delete s;
    }
}

bool ServidorTableta::escuchar(const QHostAddress& direccion, quint16 puerto) {
    return servidor_.listen(direccion, puerto);
}

quint16 ServidorTableta::puerto() const {
    return servidor_.serverPort();
}
QString ServidorTableta::error() const {
    return servidor_.errorString();
}
int ServidorTableta::conexionesAbiertas() const {
    return static_cast<int>(clientes_.size());
}

void ServidorTableta::limpiar() {
    llegadas_.clear();
    aceptadas_ = 0;
    programa_.limpiar();
}

QList<QByteArray> ServidorTableta::mensajes() const {
    QList<QByteArray> r;
    for (const MensajeRecibido& m : programa_.mensajes())
        r << m.texto;
    return r;
}

void ServidorTableta::cerrarConexiones() {
    const QList<QTcpSocket*> abiertos = clientes_; // each abort removes its socket from the list
    for (QTcpSocket* s : abiertos)
        s->abort();
}

void ServidorTableta::aceptar() {
    while (QTcpSocket* s = servidor_.nextPendingConnection()) {
        ++aceptadas_;
        clientes_ << s;
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { leer(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
            clientes_.removeAll(s);
            s->deleteLater();
            Q_EMIT conexionCerrada();
        });
        Q_EMIT conexionNueva();
    }
}

void ServidorTableta::leer(QTcpSocket* s) {
    const QByteArray datos = s->readAll();
    if (datos.isEmpty())
        return;
    llegadas_ << datos;
    programa_.agregar(datos);
    Q_EMIT llegada(datos);
    if (sucesos_)
        sucesos_->atender(s, datos);
    if (responderOk_ && datos.contains("'fin'"))
        s->write("ok");
    if (datos.contains("'desconectar'"))
        s->disconnectFromHost();
}
