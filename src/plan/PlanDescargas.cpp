#include "plan/PlanDescargas.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

namespace PlanDescargas {

namespace {
struct Receta {
    QString descripcion;
    bool kilos = false;
};

QVariantList valores(const Fila& f) {
    return {f.viaje, f.rodeo, f.por, f.orden};
}
} // namespace

PlanComun::Entradas cargarViajes() {
    PlanComun::Entradas r = PlanComun::leerEntradas(QStringLiteral(
        "select distinct v.id, r.descripcion  from viajes v, recetas r where v.id_receta = r.id"));
    for (PlanComun::Entrada& e : r.filas)
        e.texto = QString::number(e.id) + QStringLiteral(" | ") + e.texto;
    return r;
}

QStringList Linea::celdas() const {
    return {viaje, receta, corral, orden, cantidad};
}

Lista cargarDescargas() {
    using PlanComun::texto;
    Lista r;
    // The recipe of each trip: the first row found for it, as a lookup per trip would give.
    QHash<qint64, Receta> recetas;
    {
        QSqlQuery q(BaseDatos::ConexionBD());
        q.setForwardOnly(true);
        if (q.exec(QStringLiteral("select v.id, r.descripcion, r.calcula_kg from viajes v, recetas r "
                                  "where v.id_receta = r.id"))) {
            while (q.next()) {
                const qint64 id = q.value(0).toLongLong();
                if (!recetas.contains(id))
                    recetas.insert(id, {q.value(1).toString(), q.value(2).toInt() == 0});
            }
        }
        if (q.lastError().isValid())
            r.errorNombre = errorDe(q.lastError());
    }

    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select * from descarga order by id, orden"))) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next()) {
        Linea l;
        l.viaje = texto(q.value(0));
        QString unidad;
        if (r.errorNombre) {
            l.receta = l.viaje;
        } else if (auto it = recetas.constFind(q.value(0).toLongLong());
                   !q.value(0).isNull() && it != recetas.constEnd()) {
            l.receta = it->descripcion;
            // A pen of a recipe loaded by kilograms receives a percentage of the ration, and the reverse.
            unidad = it->kilos ? PlanComun::kSufijoPorcentaje : PlanComun::kSufijoKilos;
        } else {
            l.receta = kEliminado;
        }
        l.corral = q.value(1).toString();
        l.orden = texto(q.value(3));
        l.cantidad = PlanComun::cantidad(q.value(2)) + u' ' + unidad;
        l.clave = {q.value(0).toInt(), l.corral};
        r.lineas.push_back(std::move(l));
    }
    if (q.lastError().isValid())
        r.error = errorDe(q.lastError());
    return r;
}

PlanComun::TipoCarga tipoDeViaje(qint64 viaje) {
    return PlanComun::leerTipoCarga(
        QStringLiteral("select CALCULA_KG from recetas R, VIAJES V where V.ID_RECETA = R.ID AND  V.ID = ?"),
        0, viaje);
}

std::optional<ErrorBD> insertar(const Fila& f) {
    return PlanComun::ejecutar(
        QStringLiteral("insert into descarga (id, rodeo, por, orden) values (?, ?, ?, ?)"), valores(f));
}

PlanComun::Cambio cambiar(const Clave& anterior, const Fila& f) {
    return PlanComun::cambiarPrimera(
        QStringLiteral("select rowid from descarga where id = ? and rodeo = ? order by rowid limit 1"),
        {anterior.viaje, anterior.rodeo},
        QStringLiteral("update descarga set id = ?, rodeo = ?, por = ?, orden = ? where rowid = ?"),
        valores(f));
}

std::optional<ErrorBD> eliminar(const QList<Clave>& claves) {
    QList<QVariantList> valoresClaves;
    for (const Clave& c : claves)
        valoresClaves.push_back({c.viaje, c.rodeo});
    return PlanComun::eliminarCada(QStringLiteral("delete from descarga where id = ? and rodeo = ?"),
                                   valoresClaves);
}

} // namespace PlanDescargas
