#include "core/Trabajo.h"

#include <QMutexLocker>
#include <QThreadPool>

Trabajo::Trabajo(QObject* padre) : QObject(padre) {
    setAutoDelete(false);
    qRegisterMetaType<Resultado>();
}

Trabajo::~Trabajo() {
    detener();
}

void Trabajo::Detener::operator()(Trabajo* t) const {
    if (!t)
        return;
    t->detener();
    delete t;
}

void Trabajo::iniciar(QThreadPool* pool) {
    pool_ = pool ? pool : QThreadPool::globalInstance();
    marcarEnCurso(true);
    pool_->start(this);
}

void Trabajo::detener() {
    cancelar();
    if (enCurso_.load() && pool_ && pool_->tryTake(this))
        marcarEnCurso(false); // never started: nothing to wait for, and no terminado()
    esperar();
}

Resultado Trabajo::ejecutar(const std::function<void(int)>& progreso) {
    progreso_ = progreso;
    marcarEnCurso(true);
    Resultado r = correr();
    marcarEnCurso(false);
    progreso_ = {};
    return r;
}

void Trabajo::esperar() {
    QMutexLocker cerrojo(&mutex_);
    while (enCurso_.load())
        fin_.wait(&mutex_);
}

void Trabajo::marcarEnCurso(bool enCurso) {
    QMutexLocker cerrojo(&mutex_);
    enCurso_.store(enCurso);
    if (!enCurso)
        fin_.wakeAll();
}

void Trabajo::run() {
    const Resultado r = correr();
    // Signals first, then the flag: once enCurso() is false the owner may delete the job.
    Q_EMIT terminado(r);
    marcarEnCurso(false);
}

Resultado Trabajo::correr() {
    ultimo_.store(-1);
    if (cancelado())
        return Resultado::interrumpido();
    Resultado r = hacer();
    // Once asked to stop, the job ends as stopped however its last step ended: a library that
    // watches the flag reports the stop as an error of its own (the cabinet writer's "19").
    if (cancelado() && !r.cancelado)
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
