#pragma once

#include <QStringList>

class QWidget;

// The controls under a window that a user operates (buttons, inputs, lists, combos, pickers)
// and have no accessible name: each entry is the control's objectName.
QStringList controlesSinNombreAccesible(const QWidget* ventana);
