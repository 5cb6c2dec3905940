#include "db/Preferencias.h"

#include <QLocale>
#include <QSqlQuery>

#include <cmath>

namespace Preferencias {

std::optional<QString> leer(const QString& clave) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("select valor from preferencias where clave = ?"));
    q.addBindValue(clave);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

std::optional<ErrorBD> guardar(const QString& clave, const QString& valor) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("insert into preferencias (clave, valor) values (?, ?) "
                             "on conflict (clave) do update set valor = excluded.valor"));
    q.addBindValue(clave);
    q.addBindValue(valor);
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}

double tolerancia() {
    // Stored with "." whatever the regional settings, so a change of settings never misreads it.
    const std::optional<QString> t = leer(kTolerancia);
    bool ok = false;
    const double v = t ? QLocale::c().toDouble(*t, &ok) : 0;
    return ok && std::isfinite(v) && v >= 0 ? v : kToleranciaInicial;
}

std::optional<ErrorBD> guardarTolerancia(double porcentaje) {
    return guardar(kTolerancia, QString::number(porcentaje, 'g', 15));
}

QString granja() {
    return leer(kGranja).value_or(QString()).trimmed();
}

std::optional<ErrorBD> guardarGranja(const QString& nombre) {
    return guardar(kGranja, nombre.trimmed());
}

} // namespace Preferencias
