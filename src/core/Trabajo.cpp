#include "core/Trabajo.h"

#include <QThread>
#include <QThreadPool>

Trabajo::Trabajo(QObject* padre) : QObject(padre) {
    setAutoDelete(false);
    qRegisterMetaType<Resultado>();
}

Trabajo::~Trabajo() {
    detener();
}

void Trabajo::iniciar(QThreadPool* pool) {
    pool_ = pool ? pool : QThreadPool::globalInstance();
    enCurso_.store(true);
    pool_->start(this);
}

void Trabajo::detener() {
    cancelar();
    if (enCurso_.load() && pool_ && pool_->tryTake(this))
        enCurso_.store(false); // never started: nothing to wait for, and no terminado()
    esperar();
}

Resultado Trabajo::ejecutar(const std::function<void(int)>& progreso) {
    progreso_ = progreso;
    enCurso_.store(true);
    Resultado r = correr();
    enCurso_.store(false);
    progreso_ = {};
    return r;
}

void Trabajo::esperar() {
    while (enCurso_.load())
        QThread::msleep(5);
}

void Trabajo::run() {
    const Resultado r = correr();
    // Signals first, then the flag: once enCurso() is false the owner may delete the job.
    Q_EMIT terminado(r);
    enCurso_.store(false);
}

Resultado Trabajo::correr() {
    ultimo_.store(-1);
    if (cancelado())
        return Resultado::interrumpido();
    Resultado r = hacer();
    if (cancelado() && r.ok)
        r = Resultado::interrumpido();
    return r;
}

void Trabajo::informar(int porcentaje) {
    porcentaje = qBound(0, porcentaje, 100);
    if (ultimo_.exchange(porcentaje) == porcentaje)
        return;
    if (progreso_)
        progreso_(porcentaje);
    else
        Q_EMIT avance(porcentaje);
}

void Trabajo::informar(qint64 hecho, qint64 total) {
    informar(total > 0 ? int(hecho * 100 / total) : 100);
}
