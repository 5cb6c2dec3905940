#include "events/EventoHistorial.h"

#include "core/Texto.h"

#include <charconv>
#include <cmath>

namespace {

QString numeroClave(const std::optional<double>& v, const QString& texto) {
    if (!v)
        return u't' + texto.trimmed().toCaseFolded();
    // Whole kilograms, the common case, without the slower general conversion.
    if (*v == std::trunc(*v) && std::fabs(*v) < 1e15)
        return u'n' + QString::number(static_cast<qint64>(*v));
    return u'n' + QString::number(*v, 'g', 17);
}

} // namespace

std::optional<QString> EventoHistorial::leerHora(QStringView texto) {
    const QStringView t = texto.trimmed();
    const qsizetype dosPuntos = t.indexOf(u':');
    if (dosPuntos < 1 || dosPuntos > 2)
        return std::nullopt;
    const int h = Texto::cifras(t, 0, dosPuntos);
    const int m = Texto::cifras(t, dosPuntos + 1, 2);
    const qsizetype resto = dosPuntos + 3;
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return std::nullopt;
    // Seconds (and their fraction) may follow; anything else makes it no time.
    if (resto < t.size() && (t[resto] != u':' || Texto::cifras(t, resto + 1, 2) < 0))
        return std::nullopt;
    const QChar r[5] = {QChar(u'0' + h / 10), QChar(u'0' + h % 10), u':', QChar(u'0' + m / 10),
                        QChar(u'0' + m % 10)};
    return QString(r, 5);
}

std::optional<double> EventoHistorial::leerKilos(const QString& texto) {
    // Read by hand into a small buffer: this runs for every event of every download, and neither
    // a locale object nor the C library's locale-dependent conversion is wanted here.
    static const QString menosRegional = Texto::regional().negativeSign();
    QStringView t = QStringView(texto).trimmed();
    char cifras[64];
    size_t n = 0;
    if (!menosRegional.isEmpty() && t.startsWith(menosRegional)) {
        cifras[n++] = '-';
        t = t.mid(menosRegional.size());
    } else if (!t.isEmpty() && (t.front() == u'-' || t.front() == QChar(0x2212))) {
        cifras[n++] = '-';
        t = t.mid(1);
    } else if (t.startsWith(u'+')) {
        t = t.mid(1);
    }
    bool separador = false;
    bool digito = false;
    for (const QChar c : t) {
        if (n + 1 >= sizeof cifras)
            return std::nullopt;
        if (c >= u'0' && c <= u'9') {
            cifras[n++] = static_cast<char>(c.unicode());
            digito = true;
        } else if ((c == u'.' || c == u',') && !separador) {
            cifras[n++] = '.';
            separador = true;
        } else {
            return std::nullopt; // a second separator, a blank, an exponent, a letter
        }
    }
    if (!digito)
        return std::nullopt;
    double v = 0;
    const char* inicio = cifras[0] == '-' ? cifras + 1 : cifras;
    const auto r = std::from_chars(inicio, cifras + n, v);
    if (r.ec != std::errc() || r.ptr != cifras + n || !std::isfinite(v))
        return std::nullopt;
    return cifras[0] == '-' ? -v : v;
}

std::optional<EventoHistorial> EventoHistorial::desde(const FilaEvento& fila) {
    EventoHistorial e;
    e.tipo = fila.tipo.trimmed().toUpper();
    if (e.tipo != QLatin1String("CARGA") && e.tipo != QLatin1String("DESCARGA"))
        return std::nullopt;
    const std::optional<QDate> fecha = Texto::leerFecha(fila.fecha);
    const std::optional<QString> hora = leerHora(fila.hora);
    if (!fecha || !hora)
        return std::nullopt;
    e.fecha = fecha->toString(QStringLiteral("yyyy-MM-dd"));
    e.hora = *hora;
    e.recetaCorral = fila.recetaCorral.trimmed();
    e.alimento = fila.alimento.trimmed();
    e.textoSugerido = fila.sugerido;
    e.textoReal = fila.real;
    e.sugerido = leerKilos(fila.sugerido);
    e.real = leerKilos(fila.real);
    e.operario = fila.operario.trimmed();
    return e;
}

QString EventoHistorial::clave() const {
    const QChar s(0x1f);
    return tipo + s + fecha + s + hora + s + recetaCorral.toCaseFolded() + s + alimento.toCaseFolded() + s +
           numeroClave(sugerido, textoSugerido) + s + numeroClave(real, textoReal);
}
