#pragma once

#include <QTimer>

#include <functional>

// A window's report computed again shortly after the last change (typing a date or a number asks
// once, not per keystroke), off the window's thread; only the answer of the latest computation
// asked for is taken.
class CalculoDiferido {
public:
    // `calcular` runs in `ventana`'s thread 150 ms after the last programar().
    void preparar(QObject* ventana, const std::function<void()>& calcular);
    void programar() { espera_.start(); }
    // A computation begins now; its number, to hand to terminar() with its answer.
    quint64 empezar();
    // The answer of computation `numero` came: false when a newer one was asked for since.
    bool terminar(quint64 numero);
    // Whether a computation is scheduled or under way.
    bool calculando() const { return espera_.isActive() || pendiente_; }

private:
    QTimer espera_;
    quint64 generacion_ = 0;
    bool pendiente_ = false; // the latest computation asked for has not come back yet
};
