#pragma once

#include <QComboBox>
#include <QVariant>

// An editable drop-down combo whose entries carry an id as item data. An entry counts as picked
// only when the user chooses it from the list; typing or setting the edit text unpicks it, the
// way the plan windows tell a picked recipe, feed or trip from typed text.
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

Q_SIGNALS:
    void elegido();
    void teclaSoltada();

protected:
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    int elegido_ = -1;
};
