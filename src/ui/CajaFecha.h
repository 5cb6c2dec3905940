#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

// A day picker that remembers a day typed that the month does not have. Qt's date box turns
// 31/02/2026 into 28/02/2026 as the month is typed, so without this the user's mistake would be
// stored as another day; the window asks imposible() before it takes the date.
class CajaFecha : public QDateEdit {
    Q_OBJECT
public:
    explicit CajaFecha(const QDate& valor, QWidget* parent = nullptr);

    // The date as it was typed ("31/02/2026") while the box still holds the day and month it was
    // turned into; empty when the box holds what the user meant.
    QString imposible() const;

protected:
    QValidator::State validate(QString& texto, int& pos) const override;

private:
    mutable QString escrita_;  // the impossible date as typed
    mutable QDate cambiada_;   // the day the box made of it
    mutable QString validada_; // the text as last validated, to tell a new key from a check again
};
