#pragma once

#include "core/Trabajo.h"
#include "historial/InformePrecision.h"

// The accuracy report computed off the window's thread, on a read-only connection of its own to
// the database file; the report comes back in the result's value (an InformePrecision).
class TrabajoInforme : public TrabajoCon<InformePrecision> {
    Q_OBJECT
public:
    TrabajoInforme(const QString& archivo, Agrupacion agrupacion, QDate desde, QDate hasta, double tolerancia,
                   QObject* padre = nullptr);
    // Stops the job first: its work reads the members below.

protected:
    Resultado hacer() override;

private:
    QString archivo_;
    Agrupacion agrupacion_;
    QDate desde_;
    QDate hasta_;
    double tolerancia_;
};
