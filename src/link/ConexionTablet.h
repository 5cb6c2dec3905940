#pragma once

#include "core/Mensaje.h"
#include "link/DireccionTablet.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

// One TCP connection of the program to the tablet (the program is always the client). It owns
// the socket, says goodbye with "'desconectar'", reports every arrival and the tablet's "ok"
// acknowledgement, and keeps a state that follows the socket, so a window shows the state
// instead of keeping it in a caption.
class ConexionTablet : public QObject {
    Q_OBJECT
public:
    enum class Estado {
        Desconectado, // never connected, failed to connect, closed by us or after the goodbye
        Conectando,   // host lookup or TCP handshake under way
        Conectado,
        Perdida, // was connected, the tablet or the network ended it without a goodbye
    };
    Q_ENUM(Estado)

    static const QByteArray kDesconectar; // "'desconectar'"
    static const QByteArray kAcuse;       // "ok", anywhere in what the tablet sends
    // A tablet that has not answered the handshake by then is given up.
    static constexpr int kEsperaMs = 10000;
    // What the user is told once the tablet has acknowledged an upload.
    static Mensaje mensajeAcuse();

    explicit ConexionTablet(QObject* parent = nullptr);
    ~ConexionTablet() override;

    // Closes whatever was open, without a word, and starts connecting; the outcome arrives as
    // estadoCambiado (and error when it fails).
    void conectar(const DireccionTablet& direccion);
    void conectar(const QString& direccion) { conectar(DireccionTablet::leer(direccion)); }

    // Sends "'desconectar'" when the socket is not closed (a connection still being made takes
    // it once made); the socket is left for the tablet to close. The state becomes Desconectado.
    void despedirse();

    // Writes on the socket (the tablet's messages have no framing: one write, one message).
    void enviar(const QByteArray& mensaje);

    // Ends the connection at once, without a word to the tablet.
    void cerrar();

    Estado estado() const { return estado_; }
    // Where the last connect went, as "host:port".
    QString destino() const { return destino_; }
    // The socket is connected (whatever the state says after a goodbye the tablet has not
    // answered yet).
    bool enLinea() const;
    // The socket is connected or being connected.
    bool abierta() const;

    // For the upload, which writes the programme on it.
    QTcpSocket* socket() const { return socket_; }

Q_SIGNALS:
    void estadoCambiado(ConexionTablet::Estado estado);
    // Every arrival, as received.
    void llegada(const QByteArray& datos);
    // An arrival holds "ok" (also when it comes split across two arrivals).
    void acuse();
    // A connection could not be made or was lost; the reason in Spanish.
    void error(const QString& motivo);

private:
    void socketCambio();
    void leer();
    void ponerEstado(Estado e);
    void agotado();
    QString motivo() const;

    QTcpSocket* socket_;
    QTimer espera_;
    QString destino_;
    Estado estado_ = Estado::Desconectado;
    bool cerrando_ = false; // our own abort is not a lost connection
    bool leyendo_ = false;
    char ultimo_ = 0; // the last byte received, for an "ok" split across two arrivals
};
