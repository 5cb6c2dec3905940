#include "historial/EventoHistorial.h"

#include "core/Texto.h"

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

// "yyyy-MM-dd" by hand: this runs for every event of every download.
QString fechaIso(QDate d) {
    if (d.year() < 1 || d.year() > 9999)
        return d.toString(QStringLiteral("yyyy-MM-dd"));
    const int a = d.year();
    const QChar r[10] = {QChar(u'0' + a / 1000),
                         QChar(u'0' + a / 100 % 10),
                         QChar(u'0' + a / 10 % 10),
                         QChar(u'0' + a % 10),
                         u'-',
                         QChar(u'0' + d.month() / 10),
                         QChar(u'0' + d.month() % 10),
                         u'-',
                         QChar(u'0' + d.day() / 10),
                         QChar(u'0' + d.day() % 10)};
    return QString(r, 10);
}

} // namespace

std::optional<QString> EventoHistorial::leerHora(QStringView texto) {
    const std::optional<QTime> t = Texto::leerHora(texto);
    return t ? std::optional<QString>(Texto::horaMinuto(*t)) : std::nullopt;
}

std::optional<double> EventoHistorial::leerKilos(const QString& texto) {
    return Texto::leerKilos(texto);
}

std::optional<EventoHistorial> EventoHistorial::desde(const FilaEvento& fila) {
    EventoHistorial e;
    e.tipo = fila.tipo.trimmed().toUpper();
    if (e.tipo != QLatin1String("CARGA") && e.tipo != QLatin1String("DESCARGA"))
        return std::nullopt;
    // What the road read of the texts; only a row made of texts alone is read here.
    const FilaEvento::Lectura l = fila.leer();
    if (!l.dia.isValid() || !l.minuto.isValid())
        return std::nullopt;
    e.fecha = fechaIso(l.dia);
    e.hora = Texto::horaMinuto(l.minuto);
    e.recetaCorral = fila.recetaCorral.trimmed();
    e.alimento = fila.alimento.trimmed();
    e.textoSugerido = fila.sugerido;
    e.textoReal = fila.real;
    e.sugerido = l.sugerido;
    e.real = l.real;
    e.operario = fila.operario.trimmed();
    return e;
}

QString EventoHistorial::clave() const {
    const QChar s(0x1f);
    return tipo + s + fecha + s + hora + s + recetaCorral.toCaseFolded() + s + alimento.toCaseFolded() + s +
           numeroClave(sugerido, textoSugerido) + s + numeroClave(real, textoReal);
}
