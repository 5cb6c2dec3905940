#pragma once

#include "core/Trabajo.h"
#include "historial/CargasPrecision.h"

// A list of loads written to a workbook: sheet "Cargas" opens with the group and the period, then
// the headers and one row per load (a date, a time, real numbers, the percentage as a percentage),
// the loads beyond the tolerance filled. Nothing is left under the target name unless the whole
// workbook was written.
class ExportacionCargas : public TrabajoCon<QString> {
    Q_OBJECT
public:
    ExportacionCargas(const QString& destino, const QString& titulo, const CargasPrecision& lista,
                      QObject* padre = nullptr);
    // Stops the job first: its work reads the members below.

    const QString& destino() const { return destino_; }

protected:
    Resultado hacer() override;

private:
    QString destino_;
    QString titulo_;
    CargasPrecision lista_;
};
