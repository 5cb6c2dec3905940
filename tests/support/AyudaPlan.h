#pragma once

// Driving the plan windows in tests: picking combo entries with the keyboard, reading list lines
// and the message boxes shown (controls are found with Ventanas.h).
#include "Ventanas.h"

#include "ui/Dialogos.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace AyudaPlan {

// Picks the entry with the given text as a user does: arrow keys in the combo.
inline bool elegir(QComboBox* combo, const QString& texto) {
    const int destino = combo->findText(texto, Qt::MatchExactly);
    if (destino < 0)
        return false;
    if (combo->currentIndex() == destino) {
        const bool arriba = destino > 0;
        QTest::keyClick(combo, arriba ? Qt::Key_Up : Qt::Key_Down);
    }
    while (combo->currentIndex() < destino)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > destino)
        QTest::keyClick(combo, Qt::Key_Up);
    return combo->currentIndex() == destino;
}

// Replaces the text of a box by typing.
inline void escribir(QWidget* caja, const QString& texto) {
    if (auto* t = qobject_cast<QLineEdit*>(caja))
        t->clear();
    else if (auto* c = qobject_cast<QComboBox*>(caja))
        c->lineEdit()->clear();
    QTest::keyClicks(caja, texto);
}

inline void pulsar(QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

inline QStringList linea(QTreeWidget* lista, int i) {
    QStringList r;
    const QTreeWidgetItem* l = lista->topLevelItem(i);
    for (int c = 0; c < lista->columnCount(); ++c)
        r << l->text(c);
    return r;
}

inline QStringList lineas(QTreeWidget* lista) {
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << linea(lista, i).join(u'|');
    return r;
}

// Selects only line i, as a click on it does.
inline void seleccionar(QTreeWidget* lista, int i) {
    const QRect r = lista->visualItemRect(lista->topLevelItem(i));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
}

// A double click on line i. With `desmarcar`, Ctrl takes the line out of the selection on the
// second press, so the double click lands on no selected line.
inline void dobleClic(QTreeWidget* lista, int i, bool desmarcar = false) {
    // An item view takes a double click only on the line it was pressed on.
    const QRect r = lista->visualItemRect(lista->topLevelItem(i));
    const Qt::KeyboardModifiers m = desmarcar ? Qt::ControlModifier : Qt::NoModifier;
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, m, r.center());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, m, r.center());
}

inline QStringList textos() {
    QStringList r;
    for (const Mensaje& m : Dialogos::mostrados())
        r << m.texto;
    return r;
}

} // namespace AyudaPlan
