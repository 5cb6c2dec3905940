#include "core/Texto.h"

#include <QRegularExpression>

#include <cmath>

namespace Texto {

QLocale regional() {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc;
}

namespace {
QString general(double valor, const QLocale& loc) {
    if (valor == 0.0) // also -0
        return QStringLiteral("0");
    return loc.toString(valor, 'g', 15);
}
} // namespace

QString numeroRegional(double valor) {
    return general(valor, regional());
}

QString numeroPunto(double valor) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return general(valor, c);
}

bool leerNumeroUsuario(const QString& texto, double* valor) {
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    // Where "." groups thousands, it does so only when the text is grouped by threes ("1.500",
    // "12.000,5"); anywhere else it is a decimal point: "0.30" is 0.3, never 30, and "1.5" 1.5.
    QLocale local = regional();
    static const QRegularExpression agrupado(QStringLiteral("^-?[1-9]\\d{0,2}(\\.\\d{3})+(,\\d+)?$"));
    const bool miles = local.groupSeparator() == QLatin1String(".") &&
                       local.decimalPoint() == QLatin1String(",") && agrupado.match(t).hasMatch();
    if (!miles)
        local.setNumberOptions(QLocale::RejectGroupSeparator);
    double v = local.toDouble(t, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        v = c.toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v))
        return false;
    *valor = v;
    return true;
}

int cifras(QStringView t, qsizetype i, qsizetype n) {
    if (i < 0 || i + n > t.size())
        return -1;
    int v = 0;
    for (qsizetype k = i; k < i + n; ++k) {
        const char16_t c = t[k].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

std::optional<QDate> leerFecha(QStringView texto) {
    const QStringView t = texto.trimmed();
    int a = -1, m = -1, d = -1;
    if (t.size() >= 10 && (t[4] == u'-' || t[4] == u'/') && t[7] == t[4] &&
        (t.size() == 10 || t[10] == u' ' || t[10] == u'T')) {
        a = cifras(t, 0, 4), m = cifras(t, 5, 2), d = cifras(t, 8, 2);
    } else if (t.size() == 10 && t[2] == u'/' && t[5] == u'/') {
        d = cifras(t, 0, 2), m = cifras(t, 3, 2), a = cifras(t, 6, 4);
    } else if (t.size() == 8) {
        a = cifras(t, 0, 4), m = cifras(t, 4, 2), d = cifras(t, 6, 2);
    }
    if (a < 0 || m < 0 || d < 0)
        return std::nullopt;
    const QDate f(a, m, d);
    return f.isValid() ? std::optional<QDate>(f) : std::nullopt;
}

QString tipoTitulo(const QString& texto) {
    // A word starts after a blank, as the platform's proper-case conversion does.
    QString r = texto;
    bool inicio = true;
    for (QChar& c : r) {
        if (c.isSpace()) {
            inicio = true;
        } else {
            c = inicio ? c.toUpper() : c.toLower();
            inicio = false;
        }
    }
    return r;
}

} // namespace Texto
