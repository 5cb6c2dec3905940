#pragma once

#include "core/Trabajo.h"
#include "historial/CargasPrecision.h"

// The loads of one group of a report, listed off the window's thread on a read-only connection of
// its own to the database file; the list comes back in the result's value (a CargasPrecision).
class TrabajoCargas : public TrabajoCon<CargasPrecision> {
    Q_OBJECT
public:
    TrabajoCargas(const QString& archivo, const InformePrecision& informe,
                  const std::optional<QString>& grupo, QObject* padre = nullptr);
    // Stops the job first: its work reads the members below.

protected:
    Resultado hacer() override;

private:
    QString archivo_;
    InformePrecision informe_;
    std::optional<QString> grupo_;
};
