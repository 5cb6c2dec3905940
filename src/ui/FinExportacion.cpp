#include "ui/FinExportacion.h"

#include "core/Trabajo.h"
#include "ui/Dialogos.h"

#include <QPushButton>

namespace FinExportacion {

void avisar(QWidget* ventana, QPushButton* boton, const QString& ruta, const Resultado& r,
            const QString& formulario) {
    ventana->unsetCursor();
    boton->setEnabled(true);
    if (r.ok)
        Dialogos::mostrar(ventana, {QStringLiteral("Datos exportados en ") + ruta, Icono::Informacion});
    else if (!r.cancelado)
        Dialogos::mostrar(ventana, errorProcedimiento(QString::number(r.numero), r.descripcion,
                                                      QStringLiteral("CmdExportar_Click"), formulario));
}

} // namespace FinExportacion
