#pragma once

#include <QString>

struct Resultado;
class QPushButton;
class QWidget;

// The end of a window's export to a workbook: the window is usable again and the user learns where
// the data went, or why not (a cancelled export says nothing). `formulario` names the window in the
// error text.
namespace FinExportacion {
void avisar(QWidget* ventana, QPushButton* boton, const QString& ruta, const Resultado& r,
            const QString& formulario);
}
