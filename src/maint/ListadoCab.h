#pragma once

#include "core/Trabajo.h"

// The names a cabinet archive holds, given only once every data block has expanded against its
// checksum, so a damaged archive is reported and never listed as if it were sound. On success the
// result's valor is the QStringList of names, in the archive's order.
//
// The files expand under names of our own ("1", "2" ...) into a hidden folder beside the archive,
// or in the work folder when the archive's folder cannot be written (a read-only disk), removed
// afterwards: never into the system's temporary folder.
class ListadoCab : public TrabajoCon<QStringList> {
    Q_OBJECT
public:
    explicit ListadoCab(const QString& archivo, QObject* padre = nullptr);

    // Where to expand when the archive's folder cannot be written (the data folder).
    void setCarpetaTrabajo(const QString& carpeta) { carpetaTrabajo_ = carpeta; }

protected:
    Resultado hacer() override;

private:
    QString archivo_;
    QString carpetaTrabajo_;
};
