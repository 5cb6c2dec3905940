#include "ui/CajaFecha.h"

#include <QRegularExpression>

namespace {
// The day and the month at the start of a "dd/MM/yyyy" text, while they are typed whole.
bool diaYMes(const QString& texto, int* dia, int* mes) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/"));
    const QRegularExpressionMatch m = re.match(texto);
    if (!m.hasMatch())
        return false;
    *dia = m.captured(1).toInt();
    *mes = m.captured(2).toInt();
    return true;
}
} // namespace

CajaFecha::CajaFecha(const QDate& valor, QWidget* parent) : QDateEdit(valor, parent) {}

QString CajaFecha::imposible() const {
    // The year may be typed after the day was cut: the day and the month tell the cut day apart.
    const QDate d = date();
    if (escrita_.isEmpty() || d.day() != cambiada_.day() || d.month() != cambiada_.month())
        return {};
    int dia = 0, mes = 0;
    diaYMes(escrita_, &dia, &mes);
    // As typed, with the year the box holds now when the day does not exist in it either.
    if (!QDate(d.year(), mes, dia).isValid())
        return QStringLiteral("%1/%2/%3")
            .arg(dia, 2, 10, QLatin1Char('0'))
            .arg(mes, 2, 10, QLatin1Char('0'))
            .arg(d.year(), 4, 10, QLatin1Char('0'));
    return escrita_;
}

QValidator::State CajaFecha::validate(QString& texto, int& pos) const {
    const QString escrita = texto;
    const QValidator::State estado = QDateEdit::validate(texto, pos);
    int dia = 0, mes = 0, diaQueda = 0, mesQueda = 0;
    if (diaYMes(escrita, &dia, &mes) && diaYMes(texto, &diaQueda, &mesQueda)) {
        if (dia != diaQueda && mes == mesQueda && dia >= 1 && dia <= 31) {
            // The day was cut to the month's last: remember what was typed.
            escrita_ = escrita.trimmed();
            cambiada_ = locale().toDate(texto, displayFormat());
        } else if (currentSection() == QDateTimeEdit::DaySection && escrita != validada_) {
            escrita_.clear(); // a day typed again: it stands
        }
    }
    validada_ = texto;
    return estado;
}
