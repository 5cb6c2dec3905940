#include "plan/PlanViajes.h"

#include <QSqlQuery>
#include <QVariant>

namespace PlanViajes {

namespace {
// One pass over the plan: the descriptions come from outer joins, so a recipe or feed that is
// gone reads null instead of dropping the row.
const QString kConsultaLista = QStringLiteral(
    "select v.id, v.fecha, v.hora, v.id_receta, v.id_op, v.id_alim, v.cantidad, v.orden, "
    "r.id is not null, r.descripcion, r.calcula_kg, a.id is not null, a.descripcion, o.id is not null, "
    "o.descripcion from viajes v left join recetas r on r.id = v.id_receta "
    "left join alimentos a on a.id = v.id_alim left join operarios o on o.id = v.id_op "
    "order by v.id, v.orden");

QVariantList valores(const Fila& f) {
    return {f.viaje,      f.fecha.toString(PlanComun::kFormatoFechaBase),
            f.hora,       f.idReceta,
            f.idOperario, f.idAlimento,
            f.cantidad,   f.orden};
}
} // namespace

PlanComun::Entradas cargarRecetas() {
    return PlanComun::leerEntradas(QStringLiteral("select * from recetas order by descripcion"));
}

PlanComun::Entradas cargarAlimentos() {
    return PlanComun::leerEntradas(QStringLiteral("select * from alimentos order by descripcion"));
}

QStringList Linea::celdas() const {
    return {fecha, hora, viaje, receta, operario, alimento, cantidad, orden, idReceta, idAlimento};
}

Lista cargarViajes() {
    using PlanComun::texto;
    Lista r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(kConsultaLista)) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next()) {
        Linea l;
        l.fecha = PlanComun::fechaLista(q.value(1).toString());
        l.hora = texto(q.value(2));
        l.viaje = texto(q.value(0));
        QString unidad;
        if (q.value(8).toBool()) {
            l.receta = q.value(9).toString();
            unidad = q.value(10).toInt() == 0 ? PlanComun::kSufijoKilos : PlanComun::kSufijoPorcentaje;
        } else {
            l.receta = kInexistente;
        }
        l.operario =
            q.value(13).toBool() ? q.value(14).toString() : operarioInexistente(q.value(4).toString());
        l.idOperario = q.value(4).toInt();
        l.alimento = q.value(11).toBool() ? q.value(12).toString() : kInexistente;
        l.cantidad = PlanComun::cantidad(q.value(6)) + u' ' + unidad;
        l.orden = texto(q.value(7));
        l.idReceta = texto(q.value(3));
        l.idAlimento = texto(q.value(5));
        l.clave = {q.value(0).toInt(), q.value(3).toInt(), q.value(5).toInt()};
        r.lineas.push_back(std::move(l));
    }
    if (q.lastError().isValid())
        r.error = errorDe(q.lastError());
    return r;
}

QString operarioInexistente(const QString& id) {
    return id + QStringLiteral(" inexistente");
}

QString nombreOperario(qint64 id) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("select descripcion from operarios where id = ?"));
    q.addBindValue(id);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return operarioInexistente(QString::number(id));
}

PlanComun::TipoCarga tipoDeReceta(qint64 idReceta) {
    return PlanComun::leerTipoCarga(QStringLiteral("select * from recetas where id = ?"), 2, idReceta);
}

std::optional<ErrorBD> insertar(const Fila& f) {
    return PlanComun::ejecutar(
        QStringLiteral("insert into viajes (id, fecha, hora, id_receta, id_op, id_alim, cantidad, orden) "
                       "values (?, ?, ?, ?, ?, ?, ?, ?)"),
        valores(f));
}

std::optional<ErrorBD> insertarVarias(const QList<Fila>& filas) {
    return PlanComun::enTransaccion([&]() -> std::optional<ErrorBD> {
        for (const Fila& f : filas)
            if (auto e = insertar(f))
                return e;
        return std::nullopt;
    });
}

Propuestas ultimoViaje(qint64 idReceta) {
    Propuestas r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    // The trip first; then its rows of this recipe on that day, since a trip number may come back
    // on another day.
    q.prepare(QStringLiteral(
        "select id, fecha from viajes where id_receta = ? order by fecha desc, hora desc, id desc limit 1"));
    q.addBindValue(idReceta);
    if (!q.exec() || !q.next()) {
        if (q.lastError().isValid())
            r.error = errorDe(q.lastError());
        return r;
    }
    const QVariant viaje = q.value(0);
    const QVariant fecha = q.value(1);
    q.finish();
    q.prepare(QStringLiteral("select v.id_alim, a.descripcion, v.cantidad, v.orden from viajes v "
                             "join alimentos a on a.id = v.id_alim "
                             "where v.id = ? and v.fecha = ? and v.id_receta = ? order by v.orden, v.rowid"));
    q.addBindValue(viaje);
    q.addBindValue(fecha);
    q.addBindValue(idReceta);
    if (!q.exec()) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next())
        r.filas.push_back(
            {q.value(0).toInt(), q.value(1).toString(), q.value(2).toDouble(), q.value(3).toInt()});
    if (q.lastError().isValid())
        r.error = errorDe(q.lastError());
    return r;
}

PlanComun::Cambio cambiar(const Clave& anterior, const Fila& f) {
    return PlanComun::cambiarPrimera(
        QStringLiteral(
            "select rowid from viajes where id = ? and id_receta = ? and id_alim = ? order by rowid limit 1"),
        {anterior.viaje, anterior.idReceta, anterior.idAlimento},
        QStringLiteral(
            "update viajes set id = ?, fecha = ?, hora = ?, id_receta = ?, id_op = ?, id_alim = ?, "
            "cantidad = ?, orden = ? where rowid = ?"),
        valores(f));
}

std::optional<ErrorBD> eliminar(const QList<Clave>& claves) {
    QList<QVariantList> valoresClaves;
    for (const Clave& c : claves)
        valoresClaves.push_back({c.viaje, c.idReceta, c.idAlimento});
    return PlanComun::eliminarCada(
        QStringLiteral("delete from viajes where id = ? and id_receta = ? and id_alim = ?"), valoresClaves);
}

} // namespace PlanViajes
