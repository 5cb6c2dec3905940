#pragma once

#include <QObject>
#include <QRunnable>
#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>

class QThreadPool;

// What a long job ended with. `numero` and `descripcion` feed the window's error box; `valor`
// carries whatever the job produced (a path, a summary, a count).
struct Resultado {
    bool ok = true;
    bool cancelado = false;
    int numero = 0;
    QString descripcion;
    QVariant valor;

    static Resultado exito(const QVariant& valor = {}) { return {true, false, 0, {}, valor}; }
    static Resultado fallo(int numero, const QString& descripcion) {
        return {false, false, numero, descripcion, {}};
    }
    static Resultado interrumpido() { return {false, true, 0, QStringLiteral("Operación cancelada"), {}}; }
};
Q_DECLARE_METATYPE(Resultado)

// Long file work (export, backup, restore, import) runs as one of these on a thread pool, so the
// window keeps repainting and answering. A window starts it with iniciar() and listens to
// avance() and terminado(), both delivered on the window's thread; the command line runs it in
// place with ejecutar(). The job itself never touches the shared database connection: it works
// on a copy of the rows or opens its own connection to the file.
class Trabajo : public QObject, public QRunnable {
    Q_OBJECT
public:
    explicit Trabajo(QObject* padre = nullptr);
    // Stops the job and waits for it (detener()): a job never outlives the object that owns it.
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
    // without running. A subclass whose hacer() uses its own members calls it first thing in
    // its destructor, since by the time ~Trabajo runs those members are gone.
    void detener();

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

    std::atomic_bool cancelado_{false};
    std::atomic_bool enCurso_{false};
    std::atomic_int ultimo_{-1};
    QThreadPool* pool_ = nullptr;
    std::function<void(int)> progreso_;
};
