#include "ui/Accesible.h"

#include <QAbstractButton>
#include <QLabel>

namespace Accesible {

void boton(QAbstractButton* b) {
    b->setAccessibleName(b->text().remove(u'&'));
}

void caption(QAbstractButton* b, const QString& texto) {
    b->setText(texto);
    boton(b);
}

void conEtiqueta(QWidget* entrada, QLabel* etiqueta) {
    etiqueta->setBuddy(entrada);
    entrada->setAccessibleName(etiqueta->text().remove(u'&').trimmed());
}

} // namespace Accesible
