#include "core/Texto.h"

#include <QRegularExpression>

#include <charconv>
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

QString cantidadVista(double valor) {
    return general(valor, QLocale());
}

QString sinMiles(const QString& texto) {
    QString t = texto;
    return t.remove(QLocale().groupSeparator());
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

std::optional<QTime> leerHora(QStringView texto) {
    const QStringView t = texto.trimmed();
    const qsizetype dosPuntos = t.indexOf(u':');
    if (dosPuntos < 1 || dosPuntos > 2)
        return std::nullopt;
    const int h = cifras(t, 0, dosPuntos);
    const int m = cifras(t, dosPuntos + 1, 2);
    const qsizetype resto = dosPuntos + 3;
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return std::nullopt;
    // Seconds (and their fraction) may follow; anything else makes it no time.
    if (resto < t.size() && (t[resto] != u':' || cifras(t, resto + 1, 2) < 0))
        return std::nullopt;
    return QTime(h, m);
}

QString horaMinuto(QTime t) {
    // By hand: this runs for every event of every download.
    const int h = t.hour();
    const int m = t.minute();
    const QChar r[5] = {QChar(u'0' + h / 10), QChar(u'0' + h % 10), u':', QChar(u'0' + m / 10),
                        QChar(u'0' + m % 10)};
    return QString(r, 5);
}

std::optional<double> leerKilos(QStringView texto) {
    // Read by hand into a small buffer: this runs for every event of every download, and neither
    // a locale object nor the C library's locale-dependent conversion is wanted here.
    static const QString menosRegional = regional().negativeSign();
    QStringView t = texto.trimmed();
    char digitos[64];
    size_t n = 0;
    if (!menosRegional.isEmpty() && t.startsWith(menosRegional)) {
        digitos[n++] = '-';
        t = t.mid(menosRegional.size());
    } else if (!t.isEmpty() && (t.front() == u'-' || t.front() == QChar(0x2212))) {
        digitos[n++] = '-';
        t = t.mid(1);
    } else if (t.startsWith(u'+')) {
        t = t.mid(1);
    }
    bool separador = false;
    bool digito = false;
    for (const QChar c : t) {
        if (n + 1 >= sizeof digitos)
            return std::nullopt;
        if (c >= u'0' && c <= u'9') {
            digitos[n++] = static_cast<char>(c.unicode());
            digito = true;
        } else if ((c == u'.' || c == u',') && !separador) {
            digitos[n++] = '.';
            separador = true;
        } else {
            return std::nullopt; // a second separator, a blank, an exponent, a letter
        }
    }
    if (!digito)
        return std::nullopt;
    double v = 0;
    const char* inicio = digitos[0] == '-' ? digitos + 1 : digitos;
    const auto r = std::from_chars(inicio, digitos + n, v);
    if (r.ec != std::errc() || r.ptr != digitos + n || !std::isfinite(v))
        return std::nullopt;
    return digitos[0] == '-' ? -v : v;
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
