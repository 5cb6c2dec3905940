#include "link/ConexionTablet.h"

#include <QPointer>
#include <QTcpSocket>

const QByteArray ConexionTablet::kDesconectar = QByteArrayLiteral("'desconectar'");
const QByteArray ConexionTablet::kAcuse = QByteArrayLiteral("ok");

Mensaje ConexionTablet::mensajeAcuse() {
    return {QStringLiteral("Los datos se enviaron a Tolvaro® correctamente"), Icono::Informacion};
}

ConexionTablet::ConexionTablet(QObject* parent) : QObject(parent), socket_(new QTcpSocket(this)) {
    connect(socket_, &QAbstractSocket::stateChanged, this, &ConexionTablet::socketCambio);
    connect(socket_, &QIODevice::readyRead, this, &ConexionTablet::leer);
    espera_.setSingleShot(true);
    espera_.setInterval(kEsperaMs);
    connect(&espera_, &QTimer::timeout, this, &ConexionTablet::agotado);
}

ConexionTablet::~ConexionTablet() {
    cerrando_ = true;
    socket_->abort();
}

void ConexionTablet::conectar(const DireccionTablet& direccion) {
    cerrar();
    ultimo_ = 0;
    destino_ = direccion.texto();
    ponerEstado(Estado::Conectando);
    espera_.start();
    socket_->connectToHost(direccion.host, direccion.puerto);
}

void ConexionTablet::despedirse() {
    if (abierta()) {
        socket_->write(kDesconectar);
        socket_->flush();
    }
    ponerEstado(Estado::Desconectado);
}

void ConexionTablet::enviar(const QByteArray& mensaje) {
    socket_->write(mensaje);
}

void ConexionTablet::cerrar() {
    cerrando_ = true;
    socket_->abort();
    cerrando_ = false;
    ponerEstado(Estado::Desconectado);
}

bool ConexionTablet::enLinea() const {
    return socket_->state() == QAbstractSocket::ConnectedState;
}

bool ConexionTablet::abierta() const {
    return socket_->state() != QAbstractSocket::UnconnectedState;
}

void ConexionTablet::socketCambio() {
    if (cerrando_)
        return;
    switch (socket_->state()) {
    case QAbstractSocket::ConnectedState:
        if (estado_ == Estado::Conectando) {
            socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            ponerEstado(Estado::Conectado);
        }
        break;
    case QAbstractSocket::UnconnectedState:
        // After a goodbye the tablet is expected to close: that is no failure.
        if (estado_ == Estado::Conectando || estado_ == Estado::Conectado) {
            const QString m = motivo();
            ponerEstado(estado_ == Estado::Conectando ? Estado::Desconectado : Estado::Perdida);
            Q_EMIT error(m);
        }
        break;
    default:
        break;
    }
}

void ConexionTablet::leer() {
    // Whoever handles an arrival may show a message box; what comes in meanwhile waits in the
    // socket and is read here, in order, once the handler returns.
    if (leyendo_)
        return;
    leyendo_ = true;
    const QPointer<ConexionTablet> viva(this); // a handler may end the window that owns it
    while (socket_->bytesAvailable() > 0) {
        const QByteArray datos = socket_->readAll();
        const bool hayAcuse =
            datos.contains(kAcuse) || (ultimo_ == kAcuse.at(0) && datos.startsWith(kAcuse.at(1)));
        ultimo_ = datos.back();
        Q_EMIT llegada(datos);
        if (viva && hayAcuse)
            Q_EMIT acuse();
        if (!viva)
            return;
    }
    leyendo_ = false;
}

void ConexionTablet::agotado() {
    if (estado_ != Estado::Conectando)
        return;
    cerrar();
    Q_EMIT error(QStringLiteral("la tablet no respondió en %1 segundos").arg(espera_.interval() / 1000));
}

void ConexionTablet::ponerEstado(Estado e) {
    if (e != Estado::Conectando)
        espera_.stop();
    if (estado_ == e)
        return;
    estado_ = e;
    Q_EMIT estadoCambiado(e);
}

QString ConexionTablet::motivo() const {
    switch (socket_->error()) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("la tablet rechazó la conexión");
    case QAbstractSocket::RemoteHostClosedError:
        return QStringLiteral("la tablet cerró la conexión");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("no se encontró la dirección de la tablet");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("tiempo agotado");
    case QAbstractSocket::NetworkError:
        return QStringLiteral("la red no está disponible");
    default:
        return QStringLiteral("error de conexión (%1)").arg(socket_->errorString());
    }
}
