#pragma once

#include "core/Trabajo.h"
#include "historial/InformePrecision.h"

#include <QDateTime>

// The accuracy table written to a workbook that stands on its own. Sheet "Precisión" opens with
// the period, the grouping, the tolerance rule and when it was made, then the headers and one
// row per group with real numbers (kilograms as numbers, percentages as percentages, a day as a
// date, an undefined value as an empty cell), the groups holding a load beyond the tolerance
// filled as the window paints them. With the database file given, sheet "Cargas" lists the loads
// of the period, those beyond the tolerance filled too. Nothing is left under the target name
// unless the whole workbook was written.
class ExportacionInforme : public TrabajoCon<QString> {
    Q_OBJECT
public:
    ExportacionInforme(const QString& destino, const InformePrecision& informe, QObject* padre = nullptr);
    // Stops the job first: its work reads the members below.

    const QString& destino() const { return destino_; }
    // Adds the sheet of the loads, read from the database file `archivo` when the job runs.
    void incluirCargas(const QString& archivo) { archivoBase_ = archivo; }
    // The moment written as the workbook's date (now, unless set).
    void fijarGenerado(const QDateTime& momento) { generado_ = momento; }

protected:
    Resultado hacer() override;

private:
    QString destino_;
    InformePrecision informe_;
    QString archivoBase_;
    QDateTime generado_;
};
