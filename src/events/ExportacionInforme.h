#pragma once

#include "core/Trabajo.h"
#include "events/InformePrecision.h"

// The accuracy table written to a workbook: one sheet "Precisión", the headers in row 1, one row
// per group with real numbers (kilograms and percentages as numbers, a day as a date, an
// undefined percentage as an empty cell). Nothing is left under the target name unless the whole
// workbook was written.
class ExportacionInforme : public Trabajo {
    Q_OBJECT
public:
    ExportacionInforme(const QString& destino, const InformePrecision& informe, QObject* padre = nullptr);
    // Stops the job first: its work reads the members below.
    ~ExportacionInforme() override;

    const QString& destino() const { return destino_; }

protected:
    Resultado hacer() override;

private:
    QString destino_;
    InformePrecision informe_;
};
