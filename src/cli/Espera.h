#pragma once

#include <QEventLoop>
#include <QTimer>

// The commands that talk to the tablet or the web service wait on this thread's event loop for a
// signal: the end of a download, a connection, an acknowledgement. This is that wait, with a
// deadline (a silence that renews with every arrival, or a fixed time), so each command only says
// what ends it.
class Espera {
public:
    // `plazoMs` 0: no deadline until renovar() gives one.
    explicit Espera(int plazoMs = 0);

    // The wait is over: at once if running, otherwise as soon as esperar() is called.
    void terminar();
    // Ends the wait when `senal` of `emisor` comes.
    template <typename Emisor, typename Senal> void terminarCon(const Emisor* emisor, Senal senal) {
        QObject::connect(emisor, senal, &bucle_, [this] { terminar(); });
    }
    // The deadline starts over, of the same length or of `plazoMs`.
    void renovar();
    void renovar(int plazoMs);
    // The context for the connections of one wait: they go with it.
    QObject* contexto() { return &bucle_; }
    // Whether a deadline is running.
    bool conPlazo() const { return plazo_.isActive(); }

    // Runs the event loop until terminar() or the deadline (started here when renovar() did not).
    // True when terminar() ended it, false when the time ran out. Each wait is used once.
    bool esperar();

private:
    QEventLoop bucle_;
    QTimer plazo_;
    int plazoMs_;
    bool terminada_ = false;
    bool vencida_ = false;
};
