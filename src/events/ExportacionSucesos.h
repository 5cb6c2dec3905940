#pragma once

#include "core/FilaEvento.h"
#include "core/Trabajo.h"

#include <QList>
#include <QString>

// The events list written to a workbook: one sheet "Sucesos", the headers in row 1, then one row
// per event, every cell typed as CeldasExportacion says. It works on its own copy of the rows,
// so the window may go on (and even clear its list) while the job runs on a worker thread.
// Nothing is left under the target name unless the whole workbook was written.
class ExportacionSucesos : public TrabajoCon<QString> {
    Q_OBJECT
public:
    // `columnas`: the list's columns (0 "TIPO DE SUCESO" ... 7 "OPERARIO") in the order they are
    // shown; all eight in their own order when empty.
    ExportacionSucesos(const QString& destino, const QList<FilaEvento>& filas,
                       const QList<int>& columnas = {}, QObject* padre = nullptr);
    // Stops the job before the rows it reads go (the window may close while it runs).

    const QString& destino() const { return destino_; }

    // The file a chosen name is written to: a workbook always ends in ".xlsx" ("datos" and
    // "datos.xls" become "datos.xlsx"), since a spreadsheet program warns about a workbook whose
    // extension names another format.
    static QString nombreLibro(const QString& ruta);

protected:
    Resultado hacer() override;

private:
    QString destino_;
    QList<FilaEvento> filas_;
    QList<int> columnas_;
};
