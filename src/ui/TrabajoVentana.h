#pragma once

#include "core/Trabajo.h"

#include <QObject>

#include <functional>

namespace detalleTrabajoVentana {
// What the window receives at the end: the result with the value for a TrabajoCon, else Resultado.
template <class T> struct Fin {
    using Tipo = Resultado;
    static Tipo de(const T&, const Resultado& r) { return r; }
};
template <class T>
requires requires {
    typename T::Valor;
}
struct Fin<T> {
    using Tipo = ResultadoCon<typename T::Valor>;
    static Tipo de(const T& t, const Resultado& r) { return t.conValor(r); }
};
} // namespace detalleTrabajoVentana

// The one way a window owns a long job (a member, one per kind of job): iniciar() starts it and
// passes its progress and its end on to the window's thread; a new start stops and waits for the
// one before, whose end is then never reported; cancelar() asks it to stop (a closing window);
// and the holder going with its window stops the job and waits for it before it is destroyed.
// After the end the job stays readable through trabajo() until the next start.
template <class T> class TrabajoVentana {
public:
    using Fin = typename detalleTrabajoVentana::Fin<T>::Tipo;

    TrabajoVentana() = default;
    TrabajoVentana(const TrabajoVentana&) = delete;
    TrabajoVentana& operator=(const TrabajoVentana&) = delete;

    // Takes `trabajo` and starts it. `alTerminar` and `alAvanzar` run on `ventana`'s thread, and
    // not at all once `ventana` is gone.
    T* iniciar(QObject* ventana, T* trabajo, std::function<void(const Fin&)> alTerminar,
               std::function<void(int)> alAvanzar = {}) {
        trabajo_.reset(trabajo);
        const quint64 generacion = ++generacion_;
        activo_ = true;
        if (alAvanzar)
            QObject::connect(trabajo, &Trabajo::avance, ventana, [this, generacion, alAvanzar](int p) {
                if (generacion == generacion_ && activo_)
                    alAvanzar(p);
            });
        QObject::connect(trabajo, &Trabajo::terminado, ventana,
                         [this, generacion, alTerminar](const Resultado& r) {
                             if (generacion != generacion_ || !activo_)
                                 return;
                             activo_ = false;
                             alTerminar(detalleTrabajoVentana::Fin<T>::de(*trabajo_, r));
                         });
        trabajo->iniciar();
        return trabajo;
    }

    // Asks the running job to stop; its end still arrives, as cancelled.
    void cancelar() {
        if (activo_)
            trabajo_->cancelar();
    }
    // Stops the running job and waits for it; its end is not reported.
    void detener() {
        ++generacion_;
        activo_ = false;
        if (trabajo_)
            trabajo_->detener();
    }
    // Stops the job, if any, and lets it go.
    void soltar() {
        detener();
        trabajo_.reset();
    }

    // Started and its end not delivered yet.
    bool enCurso() const { return activo_; }
    T* trabajo() const { return trabajo_.get(); }
    T* operator->() const { return trabajo_.get(); }

private:
    TrabajoPropio<T> trabajo_;
    quint64 generacion_ = 0;
    bool activo_ = false;
};
