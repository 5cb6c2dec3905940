#include "ui/TeclaEnter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {
class FiltroEnter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* tecla = static_cast<QKeyEvent*>(e);
        if ((tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) || tecla->isAutoRepeat() ||
            (tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* boton = qobject_cast<QPushButton*>(o);
        if (!boton || !boton->hasFocus() || !boton->isEnabled())
            return false;
        // Taken here, so the dialog's default button does not also act on it.
        boton->click();
        return true;
    }
};

// The ring and its padding take no more room than the button's own frame and margins, so a
// caption that fits unfocused is not cut when the button takes the focus.
const char* const kAnillo =
    "QPushButton:focus { border: 2px solid #1565c0; border-radius: 3px; padding: 3px 2px; }";
} // namespace

namespace TeclaEnter {

void instalar(QApplication* aplicacion) {
    const QString nombre = QStringLiteral("FiltroEnter");
    if (aplicacion->findChild<QObject*>(nombre, Qt::FindDirectChildrenOnly))
        return;
    auto* filtro = new FiltroEnter(aplicacion);
    filtro->setObjectName(nombre);
    aplicacion->installEventFilter(filtro);
    aplicacion->setStyleSheet(aplicacion->styleSheet() + QString::fromLatin1(kAnillo));
}

} // namespace TeclaEnter
