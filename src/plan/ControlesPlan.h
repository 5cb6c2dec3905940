#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Builders of the fixed-position controls of the plan windows, each named as the code refers to it.
namespace ControlesPlan {
QGroupBox* marco(const char* nombre, const QString& titulo, QWidget* padre, const QRect& donde);
QLabel* etiqueta(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde);
QPushButton* boton(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde);
// A text box whose accessible name is its label.
QLineEdit* caja(const char* nombre, QLabel* rotulo, QWidget* padre, const QRect& donde);
} // namespace ControlesPlan
