#pragma once

#include <QComboBox>
#include <QVariant>

// An editable drop-down combo whose entries carry an id as item data. An entry counts as picked
// when the user chooses it from the list, or types its whole text and leaves the box (or presses
// Enter), whatever was picked before; typing other text or setting the edit text from the code
// unpicks it, the way the plan windows tell a picked recipe, feed or trip from loose text.
class ComboEditable : public QComboBox {
    Q_OBJECT
public:
    explicit ComboEditable(QWidget* parent = nullptr);

    // The id of the picked entry; invalid when nothing is picked or the entry carries none.
    QVariant idElegido() const;
    // Replaces the edit text without picking any entry.
    void ponerTexto(const QString& texto);
    // Empties the list and the edit text.
    void vaciar();
    // The focus, with the whole edit text selected, so what is typed next replaces it.
    void enfocar();

Q_SIGNALS:
    void elegido();
    void teclaSoltada();

protected:
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void tomarEscrito();

    int elegido_ = -1;
};
