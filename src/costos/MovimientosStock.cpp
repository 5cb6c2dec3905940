#include "costos/MovimientosStock.h"

#include "costos/Importe.h"

#include <QSqlQuery>

namespace {
std::optional<ErrorBD> agregar(QSqlDatabase db, const QString& tipo, int idAlimento, QDate fecha, double kg,
                               const QString& proveedor, const QString& nota) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into movimientos_stock (id_alimento, fecha, tipo, kg, proveedor, nota) "
                             "values (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(idAlimento);
    q.addBindValue(fecha.toString(QStringLiteral("yyyy-MM-dd")));
    q.addBindValue(tipo);
    q.addBindValue(Importe::kilos(Importe::gramos(kg))); // to the gram, as it is computed with
    q.addBindValue(proveedor.trimmed());
    q.addBindValue(nota.trimmed());
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}
} // namespace

std::optional<ErrorBD> MovimientosStock::ingresar(QSqlDatabase db, int idAlimento, QDate fecha, double kg,
                                                  const QString& proveedor, const QString& nota) {
    return agregar(db, kIngreso, idAlimento, fecha, kg, proveedor, nota);
}

std::optional<ErrorBD> MovimientosStock::contar(QSqlDatabase db, int idAlimento, QDate fecha, double kg,
                                                const QString& nota) {
    return agregar(db, kConteo, idAlimento, fecha, kg, {}, nota);
}

std::optional<ErrorBD> MovimientosStock::listar(QSqlDatabase db, QDate hasta,
                                                QList<Movimiento>* movimientos) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select id_alimento, fecha, tipo, kg, proveedor, nota from movimientos_stock "
                             "where fecha <= ? order by fecha, id"));
    q.addBindValue(hasta.toString(QStringLiteral("yyyy-MM-dd")));
    if (!q.exec())
        return errorDe(q.lastError());
    while (q.next())
        movimientos->append({q.value(0).toInt(),
                             QDate::fromString(q.value(1).toString(), QStringLiteral("yyyy-MM-dd")),
                             q.value(2).toString().toUpper(), Importe::gramos(q.value(3).toDouble()),
                             q.value(4).toString(), q.value(5).toString()});
    return std::nullopt;
}
