#pragma once

#include "core/Trabajo.h"

#include <QStringList>

// The backup: the given files into a cabinet archive at `destino`, read back before it is called
// done. The archive is written under a temporary name beside `destino` and only renamed into
// place once every file expands from it to the very bytes of its original; an archive that does
// not read back is removed and the job fails, leaving any file at `destino` as it was.
// The files must be quiescent (the window closes the shared connection first).
// On success the result's valor is the archive's size in bytes.
//
// One maintenance operation at a time: the job holds the CerrojoMantenimiento of the files'
// folder and of the archive's folder while it works (another one in course makes it fail with
// "Otra operación de mantenimiento está en curso (proceso N)."), and then removes what killed
// backups left in the archive's folder. Its own work files (the archive being written, the copy
// read back) are hidden files beside the archive, removed whatever happens: nothing goes to the
// system's temporary folder.
class Respaldo : public TrabajoCon<qint64> {
    Q_OBJECT
public:
    Respaldo(const QStringList& archivos, const QString& destino, QObject* padre = nullptr);

    // Without the reading back: only the benchmark measures the writing alone.
    void setVerificar(bool verificar) { verificar_ = verificar; }
    // The bytes to compress, as the files were when the job was made.
    qint64 totalACompactar() const { return total_; }

protected:
    Resultado hacer() override;

private:
    // Expands the written archive into `carpeta` and compares each file with its original.
    Resultado verificar(const QString& archivo, qint64 tamano, const QString& carpeta);

    QStringList archivos_;
    QString destino_;
    qint64 total_ = 0;
    bool verificar_ = true;
};
