#pragma once

#include <QMutex>
#include <QObject>
#include <QRunnable>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

class QThreadPool;

// How a long job ended. `numero` and `descripcion` feed the window's error box; what the job
// produced, if anything, is read from the job itself (TrabajoCon::valor()).
struct Resultado {
    bool ok = true;
    bool cancelado = false;
    int numero = 0;
    QString descripcion;

    static Resultado exito() { return {true, false, 0, {}}; }
    static Resultado fallo(int numero, const QString& descripcion) {
        return {false, false, numero, descripcion};
    }
    static Resultado interrumpido() { return {false, true, 0, QStringLiteral("Operación cancelada")}; }
};
Q_DECLARE_METATYPE(Resultado)

// How a job that produces a `V` ended, with what it produced (a default `V` unless it succeeded).
template <class V> struct ResultadoCon : Resultado { V valor{}; };

// Long file work (export, backup, restore, import) runs as one of these on a thread pool, so the
// window keeps repainting and answering. A window holds it in a ui/TrabajoVentana, which starts
// it, passes progress and the end on to the window's thread and stops it before it is destroyed;
// the command line runs it in place with ejecutar(). The job itself never touches the shared
// database connection: it works on a copy of the rows or opens its own connection to the file.
//
// Whoever owns a started job stops it (detener()) before destroying it: by the time ~Trabajo runs
// the subclass's members are gone. TrabajoPropio does that for an owning pointer.
class Trabajo : public QObject, public QRunnable {
    Q_OBJECT
public:
    explicit Trabajo(QObject* padre = nullptr);
    // Stops the job and waits for it, a last guard for the base's own members only.
    ~Trabajo() override;

    // Starts the job on `pool` (the global one when null). Call once.
    void iniciar(QThreadPool* pool = nullptr);
    // Runs the job on the calling thread; `progreso` receives each new percentage.
    Resultado ejecutar(const std::function<void(int)>& progreso = {});

    // Asks the job to stop at its next check; it then ends with Resultado::interrumpido().
    void cancelar() { cancelado_.store(true); }
    bool cancelado() const { return cancelado_.load(); }
    bool enCurso() const { return enCurso_.load(); }
    // Blocks until a started job has ended (for shutdown and tests, never in a click handler).
    void esperar();
    // Asks the job to stop and waits until it has: one still queued is taken off the pool
    // without running.
    void detener();

    // The deleter of an owning pointer: stops the job and waits for it, then deletes it.
    struct Detener {
        void operator()(Trabajo* t) const;
    };

Q_SIGNALS:
    void avance(int porcentaje);
    void terminado(const Resultado& resultado);

protected:
    // The work itself, on the worker thread. Checks cancelado() between steps and reports
    // progress with informar().
    virtual Resultado hacer() = 0;
    // Reports `porcentaje` (0 to 100) when it differs from the last one reported.
    void informar(int porcentaje);
    // Reports `hecho` of `total` units as a percentage.
    void informar(qint64 hecho, qint64 total);
    // The flag cancelar() sets, for library calls that watch one themselves.
    const std::atomic_bool* banderaCancelar() const { return &cancelado_; }

private:
    void run() override;
    Resultado correr();
    void marcarEnCurso(bool enCurso);

    std::atomic_bool cancelado_{false};
    std::atomic_bool enCurso_{false};
    std::atomic_int ultimo_{-1};
    QThreadPool* pool_ = nullptr;
    std::function<void(int)> progreso_;
    QMutex mutex_;
    QWaitCondition fin_;
};

// An owning pointer to a job that stops it and waits for it before deleting it.
template <class T> using TrabajoPropio = std::unique_ptr<T, Trabajo::Detener>;

// A job that produces a `V` (a path, a list, a report). hacer() ends with `return exito(v);`; the
// value is read with valor() once terminado() has arrived, or comes with ejecutar()'s result.
template <class V> class TrabajoCon : public Trabajo {
public:
    using Valor = V;
    using Trabajo::Trabajo;

    const V& valor() const { return valor_; }
    // `r` (as terminado() carries it) with the value produced.
    ResultadoCon<V> conValor(const Resultado& r) const {
        ResultadoCon<V> c;
        static_cast<Resultado&>(c) = r;
        if (r.ok)
            c.valor = valor_;
        return c;
    }
    ResultadoCon<V> ejecutar(const std::function<void(int)>& progreso = {}) {
        return conValor(Trabajo::ejecutar(progreso));
    }

protected:
    Resultado exito(V valor) {
        valor_ = std::move(valor);
        return Resultado::exito();
    }

private:
    V valor_{};
};
