#pragma once

#include "core/Trabajo.h"

#include <memory>

class ArchivoCab;
class ArchivoSeguro;
class CerrojoMantenimiento;

// The restore: the database of a backup archive becomes `carpeta`/base.db. The archive's base.db
// (its name matched regardless of case) is expanded into a temporary file in `carpeta`; an
// archive of the farm's earlier program, holding Base.mdb instead, is converted by the Access
// import (which keeps the event history, the preferences and the other tables of ours of the
// base.db it replaces). The result must pass the database check before it replaces base.db, by
// one rename; the file it replaces stays beside it as base.db.anterior, or base.db.anterior.2,
// .3 ... (none is ever overwritten). Whatever fails, and wherever the process is killed, base.db
// is the old file or the new one, whole.
//
// The job holds the CerrojoMantenimiento of `carpeta` from its start to the swap (with a deferred
// swap, until the job ends and again from reemplazar()): a second restore, import or backup there
// meanwhile is refused ("Otra operación de mantenimiento está en curso (proceso N)."). Once it
// holds it, it removes what killed operations left beside base.db.
// Its own work files are hidden files in `carpeta`, removed whatever happens.
class Restauracion : public Trabajo {
    Q_OBJECT
public:
    Restauracion(const QString& archivo, const QString& carpeta, QObject* padre = nullptr);
    ~Restauracion() override;

    // The job then stops short of the swap, which the owner makes with reemplazar() on its own
    // thread: the restore into the running program's data folder closes the shared connection
    // between the two.
    void setReemplazoDiferido(bool diferido) { diferido_ = diferido; }
    // Puts the checked file in place of base.db. After the job succeeded; once.
    Resultado reemplazar();

    // `carpeta`/base.db.
    QString destino() const;

protected:
    Resultado hacer() override;

private:
    // Expands file `indice` into `carpeta` as `nombre`, with progress and the cancel flag.
    Resultado extraerA(ArchivoCab& cab, int indice, const QString& carpeta, const QString& nombre);
    Resultado expandir(ArchivoCab& cab, int indice);
    Resultado importar(ArchivoCab& cab, int indice);
    void avance(qint64 leido, qint64 total);

    QString archivo_;
    QString carpeta_;
    bool diferido_ = false;
    std::unique_ptr<ArchivoSeguro> salida_;
    std::unique_ptr<CerrojoMantenimiento> cerrojo_;
};
