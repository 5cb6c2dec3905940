#include "plan/CopiaViajes.h"

#include "plan/PlanComun.h"
#include "plan/Validacion.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace CopiaViajes {

namespace {

QString fechaBase(const QDate& d) {
    return d.toString(PlanComun::kFormatoFechaBase);
}

std::optional<ErrorBD> ejecutar(QSqlQuery& q, int* filas = nullptr) {
    if (!q.exec())
        return errorDe(q.lastError());
    if (filas)
        *filas += q.numRowsAffected();
    return std::nullopt;
}

// Copies the trips (each with the day of its rows) to `hacia` in one transaction.
Resultado copiar(const QList<int>& viajes, const QDate& desde, const QDate& hacia) {
    Resultado r;
    if (viajes.isEmpty()) {
        r.rehusado = QStringLiteral("No hay viajes el %1 para copiar.")
                         .arg(desde.toString(PlanComun::kFormatoFechaLista));
        return r;
    }
    r.error = PlanComun::enTransaccion([&]() -> std::optional<ErrorBD> {
        QSqlQuery q(BaseDatos::ConexionBD());
        if (!q.exec(QStringLiteral("select max(id) from (select id from viajes union all "
                                   "select id from viajes_archivo)")) ||
            !q.next())
            return errorDe(q.lastError());
        const qint64 siguiente = q.value(0).toLongLong() + 1;
        q.finish();
        if (!Validacion::cabeEn16(siguiente + viajes.size() - 1)) {
            r.rehusado = QStringLiteral("Los viajes nuevos pasarían del número %1: no se copió nada.")
                             .arg(Validacion::kMaximo16);
            return std::nullopt;
        }
        QSqlQuery plan(BaseDatos::ConexionBD());
        plan.prepare(
            QStringLiteral("insert into viajes (id, fecha, hora, id_receta, id_op, id_alim, cantidad, orden) "
                           "select ?, ?, hora, id_receta, id_op, id_alim, cantidad, orden from viajes "
                           "where id = ? and fecha = ? order by rowid"));
        QSqlQuery corrales(BaseDatos::ConexionBD());
        corrales.prepare(
            QStringLiteral("insert into descarga (id, rodeo, por, orden) "
                           "select ?, rodeo, por, orden from descarga where id = ? order by rowid"));
        int nuevo = static_cast<int>(siguiente);
        for (const int viaje : viajes) {
            plan.bindValue(0, nuevo);
            plan.bindValue(1, fechaBase(hacia));
            plan.bindValue(2, viaje);
            plan.bindValue(3, fechaBase(desde));
            if (auto e = ejecutar(plan, &r.filasPlan))
                return e;
            corrales.bindValue(0, nuevo);
            corrales.bindValue(1, viaje);
            if (auto e = ejecutar(corrales, &r.filasCorrales))
                return e;
            r.origen << viaje;
            r.nuevos << nuevo++;
        }
        return std::nullopt;
    });
    if (r.error || !r.rehusado.isEmpty()) {
        r.origen.clear();
        r.nuevos.clear();
        r.filasPlan = r.filasCorrales = 0;
    }
    return r;
}

QString numeros(const QList<int>& v) {
    QStringList t;
    for (const int n : v)
        t << QString::number(n);
    return t.join(QStringLiteral(", "));
}

} // namespace

Resultado copiarViaje(int viaje, const QDate& fecha, const QDate& hacia) {
    std::optional<ErrorBD> error;
    if (!Validacion::existe(Validacion::Referencia::Viaje, viaje, &error)) {
        Resultado r;
        r.error = error;
        if (!error)
            r.rehusado = Validacion::inexistente(Validacion::Referencia::Viaje, viaje).texto;
        return r;
    }
    return copiar({viaje}, fecha, hacia);
}

Resultado copiarDia(const QDate& desde, const QDate& hacia) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select distinct id from viajes where fecha = ? order by id"));
    q.addBindValue(fechaBase(desde));
    Resultado r;
    if (!q.exec()) {
        r.error = errorDe(q.lastError());
        return r;
    }
    QList<int> viajes;
    while (q.next())
        viajes << q.value(0).toInt();
    if (q.lastError().isValid()) {
        r.error = errorDe(q.lastError());
        return r;
    }
    return copiar(viajes, desde, hacia);
}

QString resumen(const Resultado& r, const QDate& hacia) {
    const QString dia = hacia.toString(PlanComun::kFormatoFechaLista);
    const QString filas = QStringLiteral("(%1 %2 del plan, %3 de corrales)")
                              .arg(r.filasPlan)
                              .arg(r.filasPlan == 1 ? QStringLiteral("fila") : QStringLiteral("filas"))
                              .arg(r.filasCorrales);
    if (r.origen.size() == 1)
        return QStringLiteral("Se copió el viaje %1 al %2 como viaje %3 %4.")
            .arg(r.origen.first())
            .arg(dia)
            .arg(r.nuevos.first())
            .arg(filas);
    return QStringLiteral("Se copiaron %1 viajes al %2 como viajes %3 %4.")
        .arg(r.origen.size())
        .arg(dia, numeros(r.nuevos), filas);
}

} // namespace CopiaViajes
