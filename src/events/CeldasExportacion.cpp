#include "events/CeldasExportacion.h"

#include "core/Texto.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>

namespace {

bool esDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Value of the ASCII digits s[desde, hasta); -1 when the run is empty, too long or not digits.
int numero(const QString& s, qsizetype desde, qsizetype hasta, qsizetype minimo, qsizetype maximo) {
    const qsizetype n = hasta - desde;
    if (n < minimo || n > maximo)
        return -1;
    return Texto::cifras(s, desde, n);
}

// Three runs of digits separated by two "/", with the given lengths: a, b, c.
bool tresPartes(const QString& s, qsizetype largoA, qsizetype largoC, int* a, int* b, int* c) {
    const qsizetype p1 = s.indexOf(u'/');
    const qsizetype p2 = p1 < 0 ? -1 : s.indexOf(u'/', p1 + 1);
    if (p2 < 0 || s.indexOf(u'/', p2 + 1) >= 0)
        return false;
    *a = numero(s, 0, p1, largoA == 4 ? 4 : 1, largoA);
    *b = numero(s, p1 + 1, p2, 1, 2);
    *c = numero(s, p2 + 1, s.size(), largoC == 4 ? 4 : 1, largoC);
    return *a >= 0 && *b >= 0 && *c >= 0;
}

// "15/01/2020" or "5/1/2020": day first, whatever the machine's locale, as the list shows dates.
bool fechaDiaPrimero(const QString& s, int* y, int* m, int* d) {
    return tresPartes(s, 2, 4, d, m, y) && QDate::isValid(*y, *m, *d);
}

// "2020/01/15" or "2020/1/5".
QDate fechaAnioPrimero(const QString& s) {
    int y, m, d;
    return tresPartes(s, 4, 2, &y, &m, &d) ? QDate(y, m, d) : QDate();
}

// "07:35" or "7:35".
QTime horaMinutos(const QString& s) {
    const qsizetype p = s.indexOf(u':');
    if (p < 0)
        return {};
    const int h = numero(s, 0, p, 1, 2);
    const int m = numero(s, p + 1, s.size(), 2, 2);
    return h >= 0 && m >= 0 ? QTime(h, m) : QTime();
}

// Optional sign, digits, optional `separador` and digits: the number it stands for.
bool numeroDecimal(QStringView s, char16_t separador, double* v) {
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        ++i;
    const qsizetype inicioEntero = i;
    while (i < s.size() && esDigito(s[i]))
        ++i;
    if (i == inicioEntero)
        return false;
    if (i < s.size()) {
        if (s[i] != separador)
            return false;
        const qsizetype inicioDecimales = ++i;
        while (i < s.size() && esDigito(s[i]))
            ++i;
        if (i == inicioDecimales || i != s.size())
            return false;
    }
    // The same digits with a "." read in the C locale, whatever the program's own is.
    QVarLengthArray<char, 32> ascii;
    for (const QChar c : s)
        if (c != u'+')
            ascii.append(c == separador ? '.' : char(c.unicode()));
    const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), *v);
    return r.ec == std::errc() && std::isfinite(*v);
}

QString comas(QString s) {
    return s.replace(u'.', u',');
}

} // namespace

namespace CeldasExportacion {

QString transformar(const QString& texto, bool textoPrincipal) {
    if (textoPrincipal || !texto.contains(u'/'))
        return comas(texto);
    int y, m, d;
    if (!fechaDiaPrimero(texto, &y, &m, &d))
        return texto;
    const char16_t fecha[] = {char16_t(u'0' + y / 1000),
                              char16_t(u'0' + y / 100 % 10),
                              char16_t(u'0' + y / 10 % 10),
                              char16_t(u'0' + y % 10),
                              u'/',
                              char16_t(u'0' + m / 10),
                              char16_t(u'0' + m % 10),
                              u'/',
                              char16_t(u'0' + d / 10),
                              char16_t(u'0' + d % 10)};
    return QString(reinterpret_cast<const QChar*>(fecha), 10);
}

CeldaLibro tecleada(const QString& texto) {
    if (texto.isEmpty())
        return CeldaLibro::vacia();
    const QChar primero = texto.front();
    if (esDigito(primero) || primero == u'-' || primero == u'+') {
        double v = 0;
        if (numeroDecimal(texto, u',', &v))
            return CeldaLibro::deNumero(v);
        // A spreadsheet only counts days from 1900 on; an earlier "date" stays a text.
        const QDate f = fechaAnioPrimero(texto);
        if (f.isValid() && f.year() >= 1900)
            return CeldaLibro::deFecha(f);
        const QTime h = horaMinutos(texto);
        if (h.isValid())
            return CeldaLibro::deHora(h);
    }
    return CeldaLibro::deTexto(texto);
}

// The same cell as tecleada(transformar(...)) without building the transformed text when it
// is not needed: a list of 100,000 rows passes through here 800,000 times.
CeldaLibro celda(const QString& texto, bool textoPrincipal) {
    // One pass over the (short) text for both marks.
    bool barra = false, punto = false;
    for (const QChar c : texto) {
        barra = barra || c == u'/';
        punto = punto || c == u'.';
    }
    if (!textoPrincipal && barra) {
        int y, m, d;
        if (!fechaDiaPrimero(texto, &y, &m, &d))
            return tecleada(texto); // left as it is
        if (y >= 1900)
            return CeldaLibro::deFecha(QDate(y, m, d));
        return tecleada(transformar(texto, false));
    }
    if (!punto)
        return tecleada(texto);
    double v = 0;
    if (numeroDecimal(texto, u'.', &v)) // "1250.5" becomes "1250,5", a number
        return CeldaLibro::deNumero(v);
    return tecleada(comas(texto));
}

} // namespace CeldasExportacion
