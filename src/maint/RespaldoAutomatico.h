#pragma once

#include "core/Trabajo.h"

#include <QDateTime>
#include <QStringList>

// An automatic backup: the files into a new archive of `carpeta` (created when missing), named
// for the moment and never over an earlier one, verified as a manual backup is. Only once it is
// verified are the automatic archives beyond the newest `conservar` removed; a copy then goes to
// the second folder, if one is set, where the same rotation applies. The second folder never makes
// the job fail: a missing or full one is told in the result's `aviso`.
struct RespaldoHecho {
    QString ruta;
    qint64 tamano = 0;
    QString copia;        // the copy's path, or empty
    QString aviso;        // empty when all went well
    QStringList borrados; // the archives rotated away
};

class RespaldoAutomatico : public TrabajoCon<RespaldoHecho> {
    Q_OBJECT
public:
    RespaldoAutomatico(const QStringList& archivos, const QString& carpeta, int conservar,
                       const QString& segunda = {}, QObject* padre = nullptr);

    // The moment the archive is named for (now, by default).
    void setMomento(const QDateTime& momento) { momento_ = momento; }
    qint64 totalACompactar() const { return total_; }

protected:
    Resultado hacer() override;

private:
    // Copies the archive into the second folder; the warning when it could not.
    QString copiar(const QString& archivo, QString* copia, QStringList* borrados);

    QStringList archivos_;
    QString carpeta_;
    int conservar_;
    QString segunda_;
    QDateTime momento_;
    qint64 total_ = 0;
};
