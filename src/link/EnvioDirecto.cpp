#include "link/EnvioDirecto.h"

#include "db/BaseDatos.h"

#include <iterator>

namespace {
constexpr int kPartes = static_cast<int>(std::size(ProgramaDirecto::kSecciones));
constexpr qint64 kPausaNs = EnvioDirecto::kPausaMs * 1000 * 1000;

ErrorEnlace errorSocket(const QString& motivo) {
    return {QStringLiteral("10053"), QStringLiteral("Se perdió la conexión con la tablet: ") + motivo};
}
} // namespace

EnvioDirecto::EnvioDirecto(QTcpSocket* socket, QObject* parent) : QObject(parent), socket_(socket) {
    pausa_.setSingleShot(true);
    // A coarse timer may fire a few milliseconds early or late; the pause is measured anyway.
    pausa_.setTimerType(Qt::PreciseTimer);
    connect(&pausa_, &QTimer::timeout, this, &EnvioDirecto::pausaCumplida);
}

EnvioDirecto::~EnvioDirecto() {
    soltarSocket();
}

Mensaje EnvioDirecto::mensajeError(const ErrorEnlace& e) {
    return errorProcedimiento(e.numero, e.descripcion, QStringLiteral("Conexion_Directa"),
                              QStringLiteral("FrmPrincipal"));
}

ErrorEnlace EnvioDirecto::errorNoConectado() {
    return {QStringLiteral("40006"),
            QStringLiteral(
                "Protocolo o estado de conexión incorrecto para la transacción o solicitud requerida")};
}

void EnvioDirecto::iniciar(int maximoBarra) {
    if (enCurso_)
        return;
    enCurso_ = true;
    finEscrito_ = false;
    interrumpir_ = false;
    parte_ = -1;
    mensajes_.clear();
    errorParte_.reset();
    siguiente_ = 0;
    maximo_ = maximoBarra;
    valor_ = 0;
    reloj_.start();
    if (socket_) {
        // Queued: a socket destroyed with its window (this object goes with it) must not call back
        // into a window half torn down.
        conexiones_ << connect(
            socket_, &QAbstractSocket::disconnected, this, [this] { conexionPerdida(); },
            Qt::QueuedConnection);
        conexiones_ << connect(
            socket_, &QAbstractSocket::errorOccurred, this, [this] { conexionPerdida(); },
            Qt::QueuedConnection);
        if (socket_->state() == QAbstractSocket::ConnectedState)
            socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    avanzar();
}

void EnvioDirecto::avanzar() {
    while (siguiente_ >= mensajes_.size()) {
        if (errorParte_) {
            fallar(*errorParte_);
            return;
        }
        if (parte_ + 1 >= kPartes) {
            Q_EMIT barraVisible(false);
            finEscrito_ = true; // set first: a close noticed while writing it no longer matters
            enviar(ProgramaDirecto::aCable(ProgramaDirecto::kFin, QString()));
            if (enCurso_)
                Q_EMIT finEnviado();
            else
                finEscrito_ = false;
            return;
        }
        if (!abrirSiguienteParte())
            return;
    }
    enviar(mensajes_.at(siguiente_));
}

bool EnvioDirecto::abrirSiguienteParte() {
    ++parte_;
    const ProgramaDirecto::Seccion s = ProgramaDirecto::kSecciones[parte_];
    ProgramaDirecto::Parte p = ProgramaDirecto::construir(s, BaseDatos::ConexionBD());
    if (p.error && p.filas == 0) { // the query itself failed
        fallar(*p.error);
        return false;
    }
    // A row that cannot be sent stops the upload there: the rows before it go out first.
    errorParte_ = p.error;
    if (p.filas > 0) {
        maximo_ = p.filas;
        Q_EMIT maximoBarra(maximo_);
    }
    Q_EMIT barraVisible(true);
    valor_ = 0;
    Q_EMIT valorBarra(valor_);
    Q_EMIT etiqueta(ProgramaDirecto::etiqueta(s));
    mensajes_ = std::move(p.mensajes);
    siguiente_ = 0;
    return true;
}

void EnvioDirecto::enviar(const QByteArray& mensaje) {
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState) {
        fallar(errorNoConectado());
        return;
    }
    // One write per message; flushing hands it to the system now instead of at the next event.
    if (socket_->write(mensaje) != mensaje.size()) {
        fallar(errorSocket(socket_->errorString()));
        return;
    }
    socket_->flush();
    ultimoEnvioNs_ = reloj_.nsecsElapsed();
    Q_EMIT mensajeEnviado(mensaje);
    // Measured from this send, so a late timer never adds up over the messages.
    pausa_.start(static_cast<int>(kPausaMs));
}

void EnvioDirecto::pausaCumplida() {
    if (!enCurso_)
        return;
    const qint64 falta = kPausaNs - (reloj_.nsecsElapsed() - ultimoEnvioNs_);
    if (falta > 0) {
        pausa_.start(static_cast<int>((falta + 999999) / 1000000));
        return;
    }
    if (finEscrito_) {
        enCurso_ = false;
        soltarSocket();
        Q_EMIT terminado();
        return;
    }
    if (interrumpir_) {
        detener();
        return;
    }
    const ProgramaDirecto::Seccion s = ProgramaDirecto::kSecciones[parte_];
    valor_ = ProgramaDirecto::unMensajePorFila(s) ? valor_ + 1 : maximo_;
    Q_EMIT valorBarra(valor_);
    ++siguiente_;
    avanzar();
}

void EnvioDirecto::interrumpir() {
    if (!enCurso_)
        return;
    interrumpir_ = true;
    if (!pausa_.isActive() && !finEscrito_)
        detener(); // no message in flight
}

void EnvioDirecto::detener() {
    enCurso_ = false;
    pausa_.stop();
    soltarSocket();
    Q_EMIT interrumpido();
}

void EnvioDirecto::conexionPerdida() {
    if (!enCurso_ || finEscrito_ || !socket_ || socket_->state() == QAbstractSocket::ConnectedState)
        return;
    ErrorEnlace e;
    switch (socket_->error()) {
    case QAbstractSocket::RemoteHostClosedError:
        e = {QStringLiteral("10054"), QStringLiteral("La tablet cerró la conexión")};
        break;
    case QAbstractSocket::UnknownSocketError:
        e = errorNoConectado();
        break;
    default:
        e = errorSocket(socket_->errorString());
        break;
    }
    fallar(e);
}

void EnvioDirecto::fallar(const ErrorEnlace& e) {
    if (!enCurso_)
        return;
    enCurso_ = false;
    pausa_.stop();
    soltarSocket();
    Q_EMIT fallo(mensajeError(e));
}

void EnvioDirecto::soltarSocket() {
    for (const auto& c : std::as_const(conexiones_))
        disconnect(c);
    conexiones_.clear();
}
