#include "ui/CalculoDiferido.h"

void CalculoDiferido::preparar(QObject* ventana, const std::function<void()>& calcular) {
    espera_.setSingleShot(true);
    espera_.setInterval(150);
    QObject::connect(&espera_, &QTimer::timeout, ventana, calcular);
}

quint64 CalculoDiferido::empezar() {
    espera_.stop();
    pendiente_ = true;
    return ++generacion_;
}

bool CalculoDiferido::terminar(quint64 numero) {
    if (numero != generacion_)
        return false;
    pendiente_ = false;
    return true;
}
