// "EXPORTAR XLS": the events list into a workbook, written off the window's thread.
#include "events/FrmSucesos.h"

#include "events/ExportacionSucesos.h"
#include "ui/DestinoLibro.h"
#include "ui/Dialogos.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {
const QString kProcedimiento = QStringLiteral("CmdExportar_Click");
}

QList<int> FrmSucesos::columnasVisibles() const {
    const QHeaderView* h = ListSuc->horizontalHeader();
    QList<int> columnas;
    for (int v = 0; v < h->count(); ++v) {
        const int c = h->logicalIndex(v);
        if (!h->isSectionHidden(c))
            columnas << c;
    }
    return columnas;
}

void FrmSucesos::exportar() {
    if (exportacion_.enCurso())
        return; // one export at a time
    const QString ruta = elegirDestinoLibro(this, QStringLiteral("Guardar los sucesos como"));
    if (ruta.isEmpty())
        return; // cancelled: nothing, silently

    setCursor(Qt::BusyCursor);
    CmdExportar->setEnabled(false);
    // The job takes a copy of the rows (shared until the list changes), so the window stays free.
    exportacion_.iniciar(this, new ExportacionSucesos(ruta, filas(), columnasVisibles()),
                         [this](const ResultadoCon<QString>& r) { exportacionTerminada(r); });
}

void FrmSucesos::exportacionTerminada(const ResultadoCon<QString>& r) {
    unsetCursor();
    CmdExportar->setEnabled(true);
    if (r.ok)
        Dialogos::mostrar(this, {QStringLiteral(" Datos exportados en ") + r.valor, Icono::Informacion});
    else if (!r.cancelado)
        Dialogos::mostrar(this, errorProcedimientoIngles(QString::number(r.numero), r.descripcion,
                                                         kProcedimiento, QStringLiteral("FrmSucesos")));
}
