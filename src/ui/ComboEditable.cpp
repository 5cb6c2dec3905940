#include "ui/ComboEditable.h"

#include <QKeyEvent>
#include <QLineEdit>

ComboEditable::ComboEditable(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, [this](int i) {
        elegido_ = i;
        Q_EMIT elegido();
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { elegido_ = -1; });
}

QVariant ComboEditable::idElegido() const {
    if (elegido_ < 0 || elegido_ >= count())
        return {};
    return itemData(elegido_);
}

void ComboEditable::ponerTexto(const QString& texto) {
    elegido_ = -1;
    setEditText(texto);
}

void ComboEditable::vaciar() {
    elegido_ = -1;
    clear();
    setEditText(QString());
}

void ComboEditable::keyReleaseEvent(QKeyEvent* e) {
    QComboBox::keyReleaseEvent(e);
    Q_EMIT teclaSoltada();
}
