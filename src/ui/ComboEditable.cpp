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
    // Connected after QComboBox's own handler, which activates a typed entry only when it differs
    // from the current one: a name typed again after picking it is taken here.
    connect(lineEdit(), &QLineEdit::editingFinished, this, &ComboEditable::tomarEscrito);
}

void ComboEditable::tomarEscrito() {
    if (elegido_ >= 0 || currentText().isEmpty())
        return;
    for (int i = 0; i < count(); ++i) {
        // Header entries carry no id: they are never picked by typing.
        if (itemData(i).isValid() && itemText(i).compare(currentText(), Qt::CaseInsensitive) == 0) {
            elegido_ = i;
            setCurrentIndex(i);
            Q_EMIT elegido();
            return;
        }
    }
}

void ComboEditable::enfocar() {
    setFocus();
    lineEdit()->selectAll();
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
