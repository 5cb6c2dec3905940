#pragma once

#include "core/Trabajo.h"
#include "costos/InformeCostos.h"

// The costs table written to a workbook: one sheet "Costos", the headers in row 1, one row per
// group and the TOTAL row, kilograms as numbers, money as numbers in currency format, a day as a
// date. Nothing is left under the target name unless the whole workbook was written.
class ExportacionCostos : public TrabajoCon<QString> {
    Q_OBJECT
public:
    ExportacionCostos(const QString& destino, const InformeCostos& informe, QObject* padre = nullptr);

protected:
    Resultado hacer() override;

private:
    QString destino_;
    InformeCostos informe_;
};
