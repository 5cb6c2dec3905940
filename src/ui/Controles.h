#pragma once

#include "ui/CajaFecha.h"

#include <QRect>
#include <QString>

class ComboEditable;
class QDate;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Builders of the controls of every window, each named as the code refers to it and given its
// accessible name. A valid `donde` places the control at a fixed position.
namespace Controles {
QGroupBox* marco(const char* nombre, const QString& titulo, QWidget* padre, const QRect& donde = {});
QLabel* etiqueta(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde = {});
// Never a dialog's default button: Enter belongs to the input boxes.
QPushButton* boton(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde = {});
// A text box whose accessible name is its label.
QLineEdit* caja(const char* nombre, QLabel* rotulo, QWidget* padre, const QRect& donde = {});
// A picking combo whose accessible name is its label.
ComboEditable* combo(const char* nombre, QLabel* rotulo, QWidget* padre, const QRect& donde = {});
// A day picker (dd/mm/yyyy, with its calendar) whose accessible name is its label; a day typed
// after one click is taken whole, and a day the month lacks is kept for the window to refuse.
CajaFecha* fecha(const char* nombre, const QDate& valor, QLabel* rotulo, QWidget* padre,
                 const QRect& donde = {});
} // namespace Controles
