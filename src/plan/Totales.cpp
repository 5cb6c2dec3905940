#include "plan/Totales.h"

#include "core/Texto.h"

#include <QSqlQuery>
#include <QVariant>

namespace Totales {

const QString kConsultaKilos =
    QStringLiteral("select descripcion, sum(cantidad) from recetas r, viajes v where v.id_receta = r.id and "
                   "calcula_Kg = 0 group by descripcion order by descripcion");
const QString kConsultaPorcentaje =
    QStringLiteral("select distinct v.id, descripcion, (select sum(por) from descarga where id = v.id) from "
                   "recetas r, viajes v where v.id_receta = r.id and calcula_Kg = -1 order by descripcion ");

namespace {
QString cantidad(const QVariant& v) {
    return v.isNull() ? QString() : Texto::cantidadVista(v.toDouble());
}

// Appends the lines of one query; false when it failed.
bool leer(const QString& sql, int colReceta, int colCantidad, Resultado& r) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        r.error = errorDe(q.lastError());
        return false;
    }
    while (q.next())
        r.lineas.push_back({q.value(colReceta).toString(), cantidad(q.value(colCantidad))});
    if (q.lastError().isValid()) {
        r.error = errorDe(q.lastError());
        return false;
    }
    return true;
}
} // namespace

Resultado comprobarTotales() {
    Resultado r;
    if (leer(kConsultaKilos, 0, 1, r))
        leer(kConsultaPorcentaje, 1, 2, r);
    return r;
}

} // namespace Totales
