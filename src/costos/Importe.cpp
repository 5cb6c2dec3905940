#include "costos/Importe.h"

#include <cmath>

namespace Importe {

namespace {
// `n / d` rounded half away from zero, d > 0.
Valor dividirRedondeando(Valor n, Valor d) {
    const Valor mitad = d / 2;
    return n >= 0 ? (n + mitad) / d : -((-n + mitad) / d);
}
} // namespace

qint64 gramos(double kg) {
    return std::llround(kg * 1000);
}

double kilos(qint64 g) {
    return static_cast<double>(g) / 1000;
}

qint64 precio(double p) {
    return std::llround(p * 10000);
}

double porKilo(qint64 p) {
    return static_cast<double>(p) / 10000;
}

qint64 centavos(Valor v) {
    // A gram at a ten-thousandth is 1e-7; a cent is 1e5 of those.
    return static_cast<qint64>(dividirRedondeando(v, 100000));
}

Valor proporcion(Valor v, qint64 parte, qint64 total) {
    if (total == 0)
        return 0;
    if (total < 0) {
        total = -total;
        parte = -parte;
    }
    return dividirRedondeando(v * parte, total);
}

QString textoPunto(qint64 c) {
    const qint64 a = c < 0 ? -c : c;
    return QStringLiteral("%1%2.%3")
        .arg(c < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString kilosPunto(qint64 g) {
    const qint64 a = g < 0 ? -g : g;
    QString t = QStringLiteral("%1%2").arg(g < 0 ? QStringLiteral("-") : QString()).arg(a / 1000);
    if (const qint64 resto = a % 1000) {
        QString decimales = QStringLiteral("%1").arg(resto, 3, 10, QLatin1Char('0'));
        while (decimales.endsWith(u'0'))
            decimales.chop(1);
        t += u'.' + decimales;
    }
    return t;
}

} // namespace Importe
