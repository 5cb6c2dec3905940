#include "historial/ToleranciasAlimento.h"

#include <QLocale>
#include <QSqlQuery>

#include <cmath>

bool ToleranciaCarga::admite(double diferencia, double sugerido) const {
    const double d = std::fabs(diferencia);
    // The small allowance keeps a difference of exactly the bound within it despite the decimals.
    if (kg && d <= *kg + 1e-9 * std::max(1.0, *kg))
        return true;
    if (porcentaje) {
        if (sugerido == 0)
            return diferencia == 0;
        const double base = std::fabs(sugerido);
        return d * 100 <= *porcentaje * base + 1e-9 * base * 100;
    }
    return false;
}

QString ToleranciaCarga::texto(const QLocale& local) const {
    QStringList partes;
    if (kg)
        partes << local.toString(*kg, 'g', 15) + QStringLiteral(" kg");
    if (porcentaje)
        partes << local.toString(*porcentaje, 'g', 15) + QStringLiteral(" %");
    return partes.join(QStringLiteral(" o "));
}

namespace ToleranciasAlimento {

namespace {
std::optional<double> numero(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}
} // namespace

std::optional<ErrorBD> leer(QSqlDatabase db, QList<ToleranciaAlimento>* lista) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("select alimento, kg, porcentaje from tolerancias_alimento order by alimento")))
        return errorDe(q.lastError());
    while (q.next())
        lista->append({q.value(0).toString(), {numero(q.value(1)), numero(q.value(2))}});
    return std::nullopt;
}

std::optional<ErrorBD> guardar(QSqlDatabase db, const QString& alimento, const ToleranciaCarga& t) {
    QSqlQuery q(db);
    if (!t.kg && !t.porcentaje) {
        q.prepare(QStringLiteral("delete from tolerancias_alimento where alimento = ?"));
        q.addBindValue(alimento);
    } else {
        q.prepare(
            QStringLiteral("insert into tolerancias_alimento (alimento, kg, porcentaje) values (?, ?, ?) "
                           "on conflict (alimento) do update set kg = excluded.kg, "
                           "porcentaje = excluded.porcentaje"));
        q.addBindValue(alimento);
        q.addBindValue(t.kg ? QVariant(*t.kg) : QVariant(QMetaType(QMetaType::Double)));
        q.addBindValue(t.porcentaje ? QVariant(*t.porcentaje) : QVariant(QMetaType(QMetaType::Double)));
    }
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}

} // namespace ToleranciasAlimento

ReglaTolerancia::ReglaTolerancia(double general, const QList<ToleranciaAlimento>& propias)
    : general_{std::nullopt, general} {
    for (const ToleranciaAlimento& t : propias)
        propias_.insert(t.alimento.toCaseFolded(), t.tolerancia);
}

const ToleranciaCarga& ReglaTolerancia::para(std::string_view alimento) {
    if (propias_.isEmpty())
        return general_; // most farms: one percentage for every feed, nothing to look up
    auto it = vistas_.find(alimento);
    if (it == vistas_.end()) {
        const auto propia = propias_.constFind(
            QString::fromUtf8(alimento.data(), static_cast<qsizetype>(alimento.size())).toCaseFolded());
        it = vistas_.emplace(std::string(alimento), propia == propias_.cend() ? &general_ : &*propia).first;
    }
    return *it->second;
}

const ToleranciaCarga& ReglaTolerancia::para(const QString& alimento) {
    const QByteArray bytes = alimento.toUtf8();
    return para(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
