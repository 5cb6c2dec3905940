#include "core/Texto.h"

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
    double v = regional().toDouble(t, &ok);
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
