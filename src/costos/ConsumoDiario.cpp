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
    // Two lookups by id, whatever the size of the history: its last event, and the event it was
    // last brought up to, which must still be the same one (a history replaced by another, as
    // a restore or a rewrite would, is read again whole).
    QSqlQuery q(db);
    qint64 ultimo = 0, ninguno = 0, hechoHasta = 0;
    QString sello;
    if (auto e = enteros(q, QStringLiteral("select max(id), 0 from historial_sucesos"), &ultimo, &ninguno))
        return e;
    if (!q.exec(QStringLiteral("select ultimo_id, sello from consumo_diario_estado where clave = 1")))
        return errorDe(q.lastError());
    if (q.next()) {
        hechoHasta = q.value(0).toLongLong();
        sello = q.value(1).toString();
    }
    const QString kSello = QStringLiteral("select tipo || '|' || fecha || '|' || hora || '|' || "
                                          "ifnull(alimento, '') || '|' || ifnull(kg_real, '') "
                                          "from historial_sucesos where id = ?");
    q.prepare(kSello);
    q.addBindValue(hechoHasta);
    if (!q.exec())
        return errorDe(q.lastError());
    const bool mismo = hechoHasta == 0 ? sello.isEmpty() : q.next() && q.value(0).toString() == sello;
    if (mismo && ultimo == hechoHasta)
        return std::nullopt;
    if (!db.transaction())
        return errorDe(db.lastError());
    auto fallar = [&db, &q] {
        const ErrorBD e = errorDe(q.lastError());
        db.rollback();
        return std::optional<ErrorBD>(e);
    };
    if (!mismo || hechoHasta > ultimo) {
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
    q.prepare(kSello);
    q.addBindValue(ultimo);
    if (!q.exec())
        return fallar();
    const QString nuevoSello = q.next() ? q.value(0).toString() : QString();
    q.prepare(QStringLiteral("insert or replace into consumo_diario_estado (clave, ultimo_id, sello) "
                             "values (1, ?, ?)"));
    q.addBindValue(ultimo);
    q.addBindValue(nuevoSello);
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
