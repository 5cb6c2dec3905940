#include "access/ValoresAccess.h"

#include <QDate>

#include <charconv>
#include <cmath>

namespace ValoresAccess {

namespace {
const QDate kOrigen(1899, 12, 30);
constexpr double kPrimerDia = -657434.0; // 0100-01-01
constexpr double kUltimoDia = 2958465.0; // 9999-12-31
constexpr qint64 kSegundosDia = 86400;

// Whole days and seconds of the day, the seconds rounded as Jet rounds them when it shows a time;
// 23:59:59.6 belongs to the next day.
std::optional<std::pair<qint64, qint64>> partir(double dias) {
    if (!std::isfinite(dias) || dias < kPrimerDia - 1 || dias >= kUltimoDia + 1)
        return std::nullopt;
    qint64 dia = static_cast<qint64>(std::trunc(dias));
    qint64 segundos = std::llround(std::fabs(dias - static_cast<double>(dia)) * kSegundosDia);
    if (segundos >= kSegundosDia) {
        segundos -= kSegundosDia;
        ++dia;
    }
    return std::make_pair(dia, segundos);
}
} // namespace

QString nombreTipo(TipoJet tipo) {
    switch (tipo) {
    case TipoJet::SiNo:
        return QStringLiteral("Sí/No");
    case TipoJet::Byte:
        return QStringLiteral("Número (byte)");
    case TipoJet::Entero:
        return QStringLiteral("Número (entero)");
    case TipoJet::EnteroLargo:
        return QStringLiteral("Número (entero largo)");
    case TipoJet::Moneda:
        return QStringLiteral("Moneda");
    case TipoJet::Simple:
        return QStringLiteral("Número (simple)");
    case TipoJet::Doble:
        return QStringLiteral("Número (doble)");
    case TipoJet::Fecha:
        return QStringLiteral("Fecha/Hora");
    case TipoJet::Texto:
        return QStringLiteral("Texto");
    case TipoJet::Memo:
        return QStringLiteral("Memo");
    case TipoJet::Otro:
        break;
    }
    return QStringLiteral("otro tipo");
}

bool admite(ClaseColumna clase, TipoJet tipo) {
    switch (clase) {
    case ClaseColumna::Entero:
        return tipo == TipoJet::Byte || tipo == TipoJet::Entero || tipo == TipoJet::EnteroLargo ||
               tipo == TipoJet::Simple || tipo == TipoJet::Doble;
    case ClaseColumna::Real:
        return tipo == TipoJet::Byte || tipo == TipoJet::Entero || tipo == TipoJet::EnteroLargo ||
               tipo == TipoJet::Simple || tipo == TipoJet::Doble || tipo == TipoJet::Moneda;
    case ClaseColumna::Texto:
        return tipo == TipoJet::Texto || tipo == TipoJet::Memo;
    case ClaseColumna::Fecha:
        return tipo == TipoJet::Fecha;
    case ClaseColumna::Hora:
        return tipo == TipoJet::Texto || tipo == TipoJet::Memo || tipo == TipoJet::Fecha;
    case ClaseColumna::SiNo:
        return tipo == TipoJet::SiNo || tipo == TipoJet::Byte || tipo == TipoJet::Entero ||
               tipo == TipoJet::EnteroLargo;
    }
    return false;
}

std::optional<QVariant> convertir(ClaseColumna clase, TipoJet tipo, const QVariant& valor) {
    if (!admite(clase, tipo))
        return std::nullopt;
    if (valor.isNull())
        return QVariant();
    switch (clase) {
    case ClaseColumna::Entero:
        if (tipo == TipoJet::Simple || tipo == TipoJet::Doble) {
            const auto n = entero(valor.toDouble());
            return n ? std::optional<QVariant>(*n) : std::nullopt;
        }
        return QVariant(valor.toLongLong());
    case ClaseColumna::Real:
        return QVariant(valor.toDouble());
    case ClaseColumna::Texto:
        return valor;
    case ClaseColumna::Fecha: {
        const auto f = fecha(valor.toDouble());
        return f ? std::optional<QVariant>(*f) : std::nullopt;
    }
    case ClaseColumna::Hora: {
        if (tipo != TipoJet::Fecha)
            return valor;
        const auto h = hora(valor.toDouble());
        return h ? std::optional<QVariant>(*h) : std::nullopt;
    }
    case ClaseColumna::SiNo:
        return QVariant(siNo(tipo == TipoJet::SiNo ? valor.toBool() : valor.toLongLong() != 0));
    }
    return std::nullopt;
}

std::optional<QString> fecha(double dias) {
    const auto p = partir(dias);
    if (!p)
        return std::nullopt;
    const QDate d = kOrigen.addDays(p->first);
    if (!d.isValid() || d.year() < 100 || d.year() > 9999)
        return std::nullopt;
    // QDate's own "yyyy" would print years below 1000 without their leading zeros.
    return QStringLiteral("%1-%2-%3")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

std::optional<QString> hora(double dias) {
    const auto p = partir(dias);
    if (!p)
        return std::nullopt;
    const qint64 minutos = p->second / 60;
    return QStringLiteral("%1:%2")
        .arg(minutos / 60, 2, 10, QLatin1Char('0'))
        .arg(minutos % 60, 2, 10, QLatin1Char('0'));
}

double desdeSimple(float valor) {
    if (!std::isfinite(valor))
        return static_cast<double>(valor);
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor);
    double d = static_cast<double>(valor);
    std::from_chars(texto, r.ptr, d);
    return d;
}

double desdeMoneda(qint64 diezmilesimos) {
    // Exactly the decimal the user typed, to the double nearest it: divide, don't multiply by 0.0001.
    return static_cast<double>(diezmilesimos) / 10000.0;
}

std::optional<qint64> entero(double valor) {
    if (!std::isfinite(valor) || std::trunc(valor) != valor || std::fabs(valor) > 9.0e15)
        return std::nullopt;
    return static_cast<qint64>(valor);
}

QString texto(const char* utf8, qsizetype largo) {
    if (largo <= 0)
        return QStringLiteral("");
    return QString::fromUtf8(utf8, largo);
}

} // namespace ValoresAccess
