#pragma once

#include "core/Trabajo.h"

#include <QObject>

#include <functional>
#include <memory>

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
    // not at all once `ventana` or this holder is gone.
    T* iniciar(QObject* ventana, T* trabajo, std::function<void(const Fin&)> alTerminar,
               std::function<void(int)> alAvanzar = {}) {
        trabajo_.reset(trabajo);
        const quint64 generacion = ++estado_->generacion;
        estado_->activo = true;
        estado_->trabajo = trabajo;
        // What the job posted is delivered later: the state says whether it is still wanted.
        const std::weak_ptr<Estado> estado = estado_;
        if (alAvanzar)
            QObject::connect(trabajo, &Trabajo::avance, ventana, [estado, generacion, alAvanzar](int p) {
                if (const auto e = estado.lock(); e && e->generacion == generacion && e->activo)
                    alAvanzar(p);
            });
        QObject::connect(trabajo, &Trabajo::terminado, ventana,
                         [estado, generacion, alTerminar](const Resultado& r) {
                             const auto e = estado.lock();
                             if (!e || e->generacion != generacion || !e->activo)
                                 return;
                             e->activo = false;
                             alTerminar(detalleTrabajoVentana::Fin<T>::de(*e->trabajo, r));
                         });
        trabajo->iniciar();
        return trabajo;
    }

    // Asks the running job to stop; its end still arrives, as cancelled.
    void cancelar() {
        if (estado_->activo)
            trabajo_->cancelar();
    }
    // Stops the running job and waits for it; its end is not reported.
    void detener() {
        ++estado_->generacion;
        estado_->activo = false;
        if (trabajo_)
            trabajo_->detener();
    }
    // Stops the job, if any, and lets it go.
    void soltar() {
        detener();
        estado_->trabajo = nullptr;
        trabajo_.reset();
    }

    // Started and its end not delivered yet.
    bool enCurso() const { return estado_->activo; }
    T* trabajo() const { return trabajo_.get(); }
    T* operator->() const { return trabajo_.get(); }

private:
    struct Estado {
        quint64 generacion = 0;
        bool activo = false;
        T* trabajo = nullptr;
    };
    TrabajoPropio<T> trabajo_;
    const std::shared_ptr<Estado> estado_ = std::make_shared<Estado>();
};
