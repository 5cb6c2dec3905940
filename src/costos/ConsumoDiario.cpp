#include "costos/ConsumoDiario.h"

#include "costos/Importe.h"

#include <QSqlQuery>

namespace {
std::optional<ErrorBD> enteros(QSqlQuery& q, const QString& sql, qint64* a, qint64* b) {
    if (!q.exec(sql))
        return errorDe(q.lastError());
    *a = *b = 0;
    if (q.next()) {
        *a = q.value(0).toLongLong();
        *b = q.value(1).toLongLong();
    }
    return std::nullopt;
}
} // namespace

std::optional<ErrorBD> ConsumoDiario::actualizar(QSqlDatabase db) {
    QSqlQuery q(db);
    qint64 ultimo = 0, filas = 0, hechoHasta = 0, hechas = 0;
    if (auto e =
            enteros(q, QStringLiteral("select max(id), count(*) from historial_sucesos"), &ultimo, &filas))
        return e;
    if (auto e =
            enteros(q, QStringLiteral("select ultimo_id, filas from consumo_diario_estado where clave = 1"),
                    &hechoHasta, &hechas))
        return e;
    if (ultimo == hechoHasta && filas == hechas)
        return std::nullopt;
    if (!db.transaction())
        return errorDe(db.lastError());
    auto fallar = [&db, &q] {
        const ErrorBD e = errorDe(q.lastError());
        db.rollback();
        return std::optional<ErrorBD>(e);
    };
    // Only added events are expected: the kept ones must be exactly those counted last time.
    q.prepare(QStringLiteral("select count(*) from historial_sucesos where id <= ?"));
    q.addBindValue(hechoHasta);
    if (!q.exec() || !q.next())
        return fallar();
    if (hechoHasta > ultimo || q.value(0).toLongLong() != hechas) {
        if (!q.exec(QStringLiteral("delete from consumo_diario")))
            return fallar();
        hechoHasta = 0;
    }
    q.prepare(QStringLiteral(
        "insert into consumo_diario (fecha, alimento, kg) select fecha, alimento, sum(kg_real) "
        "from historial_sucesos where id > ? and id <= ? and tipo = 'CARGA' and kg_real is not null "
        "group by fecha, alimento on conflict (fecha, alimento) do update set kg = kg + excluded.kg"));
    q.addBindValue(hechoHasta);
    q.addBindValue(ultimo);
    if (!q.exec())
        return fallar();
    q.prepare(QStringLiteral("insert or replace into consumo_diario_estado (clave, ultimo_id, filas) "
                             "values (1, ?, ?)"));
    q.addBindValue(ultimo);
    q.addBindValue(filas);
    if (!q.exec())
        return fallar();
    if (!db.commit())
        return fallar();
    return std::nullopt;
}

std::optional<ErrorBD> ConsumoDiario::leer(QSqlDatabase db, QDate hasta, QList<Dia>* dias) {
    if (auto e = actualizar(db))
        return e;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("select fecha, alimento, kg from consumo_diario where fecha <= ? order by fecha"));
    q.addBindValue(hasta.toString(QStringLiteral("yyyy-MM-dd")));
    if (!q.exec())
        return errorDe(q.lastError());
    while (q.next())
        dias->append({q.value(0).toString(), q.value(1).toString(), Importe::gramos(q.value(2).toDouble())});
    return std::nullopt;
}
