#include "cli/Espera.h"

Espera::Espera(int plazoMs) : plazoMs_(plazoMs) {
    plazo_.setSingleShot(true);
    QObject::connect(&plazo_, &QTimer::timeout, &bucle_, [this] {
        vencida_ = true;
        bucle_.quit();
    });
}

void Espera::terminar() {
    terminada_ = true;
    bucle_.quit();
}

void Espera::renovar() {
    if (plazoMs_ > 0)
        plazo_.start(plazoMs_);
}

void Espera::renovar(int plazoMs) {
    plazoMs_ = plazoMs;
    renovar();
}

bool Espera::esperar() {
    if (!plazo_.isActive())
        renovar();
    // exec() only returns on quit(): a wait already over must not start the loop.
    while (!terminada_ && !vencida_)
        bucle_.exec();
    plazo_.stop();
    return terminada_;
}
