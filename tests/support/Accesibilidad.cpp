#include "Accesibilidad.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

QStringList controlesSinNombreAccesible(const QWidget* ventana) {
    QStringList sinNombre;
    for (QWidget* w : ventana->findChildren<QWidget*>()) {
        const bool operable = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                              qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                              qobject_cast<QAbstractItemView*>(w);
        // Parts of composite widgets (a combo's own line edit, a view's header) are named by their owner.
        if (!operable || w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (w->accessibleName().trimmed().isEmpty())
            sinNombre << w->objectName();
    }
    return sinNombre;
}
