#pragma once

#include "core/Trabajo.h"

// The names a cabinet archive holds, given only once every data block has expanded against its
// checksum (into a temporary folder, removed afterwards), so a damaged archive is reported and
// never listed as if it were sound. On success the result's valor is the QStringList of names,
// in the archive's order.
class ListadoCab : public Trabajo {
    Q_OBJECT
public:
    explicit ListadoCab(const QString& archivo, QObject* padre = nullptr);
    ~ListadoCab() override;

protected:
    Resultado hacer() override;

private:
    QString archivo_;
};
