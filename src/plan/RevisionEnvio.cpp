#include "plan/RevisionEnvio.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace RevisionEnvio {

namespace {

// The conditions mirror the joins of the upload queries: a loading row travels when its recipe
// (of either load type) and its feed exist; a pen row when some loading row of its trip has an
// existing recipe.
const char* const kRecetaExiste =
    "exists (select 1 from recetas r where r.id = v.id_receta and r.calcula_kg in (0, -1))";
const char* const kAlimentoExiste = "exists (select 1 from alimentos a where a.id = v.id_alim)";

const QString kPlanOmitido = QStringLiteral("select v.id from viajes v where not %1 or not %2 order by v.id")
                                 .arg(QLatin1String(kRecetaExiste), QLatin1String(kAlimentoExiste));
const QString kCorralesOmitidos =
    QStringLiteral("select d.id from descarga d where not exists (select 1 from viajes v where v.id = d.id "
                   "and v.id_receta in (select id from recetas where calcula_kg in (0, -1))) order by d.id");
const QString kSinOperario =
    QStringLiteral("select v.id from viajes v where %1 and %2 and not exists (select 1 from operarios o "
                   "where o.id = v.id_op) order by v.id")
        .arg(QLatin1String(kRecetaExiste), QLatin1String(kAlimentoExiste));

constexpr int kViajesNombrados = 20;

// Every catalogue name that travels with a comma in it.
const QString kConComa = QStringLiteral(
    "select 'la receta', id, descripcion from recetas where instr(descripcion, ',') > 0 union all "
    "select 'el alimento', id, descripcion from alimentos where instr(descripcion, ',') > 0 union all "
    "select 'el operario', id, descripcion from operarios where instr(descripcion, ',') > 0");

std::optional<ErrorBD> conComa(const QSqlDatabase& db, QStringList* nombres) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(kConComa))
        return errorDe(q.lastError());
    while (q.next())
        *nombres << QStringLiteral("%1 %2 (%3)")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    if (q.lastError().isValid())
        return errorDe(q.lastError());
    return std::nullopt;
}

// Counts the rows of the query and gathers their distinct trip numbers into `viajes`.
std::optional<ErrorBD> contar(const QSqlDatabase& db, const QString& sql, int* filas, QList<qint64>* viajes) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql))
        return errorDe(q.lastError());
    while (q.next()) {
        ++*filas;
        const qint64 id = q.value(0).toLongLong();
        if (!viajes->contains(id))
            viajes->append(id);
    }
    if (q.lastError().isValid())
        return errorDe(q.lastError());
    return std::nullopt;
}

QString filas(int n, const char* de) {
    return QString::number(n) + (n == 1 ? QStringLiteral(" fila ") : QStringLiteral(" filas ")) +
           QString::fromUtf8(de);
}

// "viaje 3", "viajes 3, 5, 8", "viajes 1, 2, ... 20 y 4 más".
QString viajes(QList<qint64> ids) {
    std::sort(ids.begin(), ids.end());
    QStringList t;
    for (qsizetype i = 0; i < ids.size() && i < kViajesNombrados; ++i)
        t << QString::number(ids.at(i));
    QString r = (ids.size() == 1 ? QStringLiteral("viaje ") : QStringLiteral("viajes ")) +
                t.join(QStringLiteral(", "));
    if (ids.size() > kViajesNombrados)
        r += QStringLiteral(" y ") + QString::number(ids.size() - kViajesNombrados) + QStringLiteral(" más");
    return r;
}

} // namespace

Revision revisar(const QSqlDatabase& db) {
    Revision r;
    QList<qint64> omitidos;
    if ((r.error = contar(db, kPlanOmitido, &r.filasPlan, &omitidos)))
        return r;
    if ((r.error = contar(db, kCorralesOmitidos, &r.filasCorrales, &omitidos)))
        return r;
    if ((r.error = contar(db, kSinOperario, &r.filasSinOperario, &r.viajesSinOperario)))
        return r;
    if ((r.error = conComa(db, &r.nombresConComa)))
        return r;
    std::sort(omitidos.begin(), omitidos.end());
    r.viajesOmitidos = omitidos;
    return r;
}

QString aviso(const Revision& r) {
    QStringList lineas;
    if (r.omite()) {
        QStringList partes;
        if (r.filasPlan > 0)
            partes << filas(r.filasPlan, "del plan");
        if (r.filasCorrales > 0)
            partes << filas(r.filasCorrales, "de corrales");
        const bool una = r.filasPlan + r.filasCorrales == 1;
        lineas << partes.join(QStringLiteral(" y ")) +
                      (una ? QStringLiteral(" no se enviará") : QStringLiteral(" no se enviarán")) +
                      QStringLiteral(" porque su receta, su alimento o su viaje ya no existe (") +
                      viajes(r.viajesOmitidos) + QStringLiteral(").");
    }
    if (r.filasSinOperario > 0) {
        const bool una = r.filasSinOperario == 1;
        lineas << filas(r.filasSinOperario, "del plan") +
                      (una ? QStringLiteral(" nombra") : QStringLiteral(" nombran")) +
                      QStringLiteral(" un operario que ya no existe (") + viajes(r.viajesSinOperario) +
                      (una ? QStringLiteral("): se enviará") : QStringLiteral("): se enviarán")) +
                      QStringLiteral(" con un operario que la tablet no tiene.");
    }
    if (!r.nombresConComa.isEmpty()) {
        const bool uno = r.nombresConComa.size() == 1;
        QString primera = r.nombresConComa.join(QStringLiteral(", "));
        primera[0] = primera[0].toUpper();
        lineas << primera +
                      (uno ? QStringLiteral(" tiene una coma en el nombre: la tablet la toma")
                           : QStringLiteral(" tienen una coma en el nombre: la tablet la toma")) +
                      QStringLiteral(" como separador y devuelve en blanco las cargas que lo nombran. ") +
                      QStringLiteral("Cámbiele el nombre en su editor.");
    }
    return lineas.join(u'\n');
}

Mensaje pregunta(const Revision& r) {
    return {aviso(r) + u'\n' +
                (r.omite() ? QStringLiteral("¿Enviar el resto de la programación?")
                           : QStringLiteral("¿Enviar la programación igual?")),
            Icono::Exclamacion, QStringLiteral("Enviar Programacion"), Botones::SiNo};
}

} // namespace RevisionEnvio
