#include "plan/ArchivoViajes.h"

#include "plan/PlanComun.h"

#include <QSqlQuery>
#include <QVariant>

namespace ArchivoViajes {

namespace {

const QString kColumnasPlan = QStringLiteral("id, fecha, hora, id_receta, id_op, id_alim, cantidad, orden");
const QString kColumnasCorrales = QStringLiteral("id, rodeo, por, orden");

std::optional<ErrorBD> ejecutar(const QString& sql, const QVariantList& valores, int* filas = nullptr) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(sql);
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec())
        return errorDe(q.lastError());
    if (filas)
        *filas = q.numRowsAffected();
    return std::nullopt;
}

std::optional<ErrorBD> contar(const QString& sql, const QVariantList& valores, int* n) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(sql);
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return errorDe(q.lastError());
    *n = q.value(0).toInt();
    return std::nullopt;
}

QString filas(const Resultado& r) {
    return QStringLiteral("(%1 %2 del plan, %3 de corrales)")
        .arg(r.filasPlan)
        .arg(r.filasPlan == 1 ? QStringLiteral("fila") : QStringLiteral("filas"))
        .arg(r.filasCorrales);
}

QString viajes(int n) {
    return n == 1 ? QStringLiteral("1 viaje") : QStringLiteral("%1 viajes").arg(n);
}

} // namespace

Resultado archivar(const QDate& antes) {
    Resultado r;
    const QVariantList dia{antes.toString(PlanComun::kFormatoFechaBase)};
    r.error = PlanComun::enTransaccion([&]() -> std::optional<ErrorBD> {
        if (auto e = contar(QStringLiteral("select count(distinct id) from viajes where fecha < ?"), dia,
                            &r.viajes))
            return e;
        if (auto e = ejecutar(
                QStringLiteral("insert into viajes_archivo (%1) select %1 from viajes where fecha < ? "
                               "order by rowid")
                    .arg(kColumnasPlan),
                dia, &r.filasPlan))
            return e;
        if (auto e = ejecutar(QStringLiteral("delete from viajes where fecha < ?"), dia))
            return e;
        // The pen rows of the numbers that have no loading row left in the plan.
        const QString sinPlan =
            QStringLiteral("id in (select id from viajes_archivo) and id not in (select id from viajes)");
        if (auto e =
                ejecutar(QStringLiteral("insert into descarga_archivo (%1) select %1 from descarga where %2 "
                                        "order by rowid")
                             .arg(kColumnasCorrales, sinPlan),
                         {}, &r.filasCorrales))
            return e;
        return ejecutar(QStringLiteral("delete from descarga where ") + sinPlan, {});
    });
    if (r.error)
        r = Resultado{0, 0, 0, r.error};
    return r;
}

Resultado recuperar() {
    Resultado r;
    r.error = PlanComun::enTransaccion([&]() -> std::optional<ErrorBD> {
        if (auto e = contar(QStringLiteral("select count(distinct id) from viajes_archivo"), {}, &r.viajes))
            return e;
        if (auto e = ejecutar(
                QStringLiteral("insert into viajes (%1) select %1 from viajes_archivo order by rowid")
                    .arg(kColumnasPlan),
                {}, &r.filasPlan))
            return e;
        if (auto e = ejecutar(
                QStringLiteral("insert into descarga (%1) select %1 from descarga_archivo order by rowid")
                    .arg(kColumnasCorrales),
                {}, &r.filasCorrales))
            return e;
        if (auto e = ejecutar(QStringLiteral("delete from viajes_archivo"), {}))
            return e;
        return ejecutar(QStringLiteral("delete from descarga_archivo"), {});
    });
    if (r.error)
        r = Resultado{0, 0, 0, r.error};
    return r;
}

Resultado archivados() {
    Resultado r;
    if ((r.error = contar(QStringLiteral("select count(distinct id) from viajes_archivo"), {}, &r.viajes)))
        return r;
    if ((r.error = contar(QStringLiteral("select count(*) from viajes_archivo"), {}, &r.filasPlan)))
        return r;
    r.error = contar(QStringLiteral("select count(*) from descarga_archivo"), {}, &r.filasCorrales);
    return r;
}

QString resumenArchivo(const Resultado& r, const QDate& antes) {
    const QString dia = antes.toString(PlanComun::kFormatoFechaLista);
    if (r.viajes == 0)
        return QStringLiteral("No hay viajes anteriores al %1 para archivar.").arg(dia);
    return (r.viajes == 1 ? QStringLiteral("Se archivó %1 anterior al %2 %3.")
                          : QStringLiteral("Se archivaron %1 anteriores al %2 %3."))
        .arg(viajes(r.viajes), dia, filas(r));
}

QString resumenRecuperacion(const Resultado& r) {
    if (r.viajes == 0)
        return QStringLiteral("El archivo no tiene viajes para recuperar.");
    return QStringLiteral("Se %1 %2 del archivo %3.")
        .arg(r.viajes == 1 ? QStringLiteral("recuperó") : QStringLiteral("recuperaron"), viajes(r.viajes),
             filas(r));
}

} // namespace ArchivoViajes
