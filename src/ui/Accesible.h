#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

// Accessible names for screen readers and desktop automation: a button is named by its caption,
// an input by the label that stands for it on screen (which also becomes the label's buddy).
namespace Accesible {
void boton(QAbstractButton* b);
// Changes a button's caption and its accessible name together.
void caption(QAbstractButton* b, const QString& texto);
void conEtiqueta(QWidget* entrada, QLabel* etiqueta);
} // namespace Accesible
