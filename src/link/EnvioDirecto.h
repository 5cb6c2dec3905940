#pragma once

#include "core/Mensaje.h"
#include "link/ErrorEnlace.h"
#include "link/ProgramaDirecto.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

// Sends the programme to the tablet over a connected socket, paced as the tablet expects: each
// message is one write, followed by a pause of at least 500 ms before the next (the messages have
// no framing of their own). Everything runs from timers on the caller's thread; nothing blocks.
//
// The progress signals follow the window's bar and label step by step: each part of the programme
// sets the bar's maximum to its row count (left as it was when the part is empty), shows it at 0
// and names itself; every trip or discharge message adds one after its pause, each catalogue
// message fills the bar; the bar is hidden before "'fin'".
class EnvioDirecto : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kPausaMs = 500;

    explicit EnvioDirecto(QTcpSocket* socket, QObject* parent = nullptr);
    ~EnvioDirecto() override;

    // Starts the upload; maximoBarra is the bar's maximum before it (kept for empty parts). The
    // parts' queries run on the shared connection as each part is reached. Does nothing while an
    // upload runs.
    void iniciar(int maximoBarra = 100);
    bool enCurso() const { return enCurso_; }
    // Stops after the message in flight: its pause runs out (so whatever the caller sends next
    // stays a message of its own), then nothing more is sent, "'fin'" neither, and `interrumpido`
    // follows. An upload already past "'fin'" ends as usual with `terminado`.
    void interrumpir();

    // The error report of a failed upload.
    static Mensaje mensajeError(const ErrorEnlace& e);
    // A send on a socket that is not connected.
    static ErrorEnlace errorNoConectado();

Q_SIGNALS:
    void etiqueta(const QString& texto);
    void maximoBarra(int maximo);
    void valorBarra(int valor);
    void barraVisible(bool visible);
    void mensajeEnviado(const QByteArray& mensaje);
    // "'fin'" has been written; its pause follows.
    void finEnviado();
    // The pause after "'fin'" is over: the upload is complete.
    void terminado();
    // The upload stopped; nothing more is sent.
    void fallo(const Mensaje& mensaje);
    // Stopped on request (`interrumpir`); nothing more is sent.
    void interrumpido();

private:
    void avanzar();
    bool abrirSiguienteParte();
    void enviar(const QByteArray& mensaje);
    void pausaCumplida();
    void conexionPerdida();
    void fallar(const ErrorEnlace& e);
    void detener();
    void soltarSocket();

    QPointer<QTcpSocket> socket_;
    QTimer pausa_;
    QElapsedTimer reloj_;
    qint64 ultimoEnvioNs_ = 0;

    bool enCurso_ = false;
    bool finEscrito_ = false;
    bool interrumpir_ = false;
    int parte_ = -1; // index into ProgramaDirecto::kSecciones; past the end: "'fin'"
    QList<QByteArray> mensajes_;
    std::optional<ErrorEnlace> errorParte_; // the row of the part that stops the upload
    int siguiente_ = 0;                     // next message of the part to send
    int maximo_ = 100;
    int valor_ = 0;
    QList<QMetaObject::Connection> conexiones_;
};
