#include "link/EstimacionEnvio.h"

#include "link/ProgramaDirecto.h"

#include <QSqlQuery>
#include <QVariant>

namespace EstimacionEnvio {

QString duracion(qint64 segundos) {
    if (segundos < 60)
        return segundos == 1 ? QStringLiteral("un segundo")
                             : QStringLiteral("unos %1 segundos").arg(segundos);
    const qint64 minutos = (segundos + 30) / 60;
    return minutos == 1 ? QStringLiteral("un minuto") : QStringLiteral("unos %1 minutos").arg(minutos);
}

namespace {
// Thousands grouped with "." whatever the system's settings, four digits too: "1.333".
QString miles(qint64 n) {
    QString t = QString::number(n);
    for (qsizetype i = t.size() - 3; i > 0; i -= 3)
        t.insert(i, u'.');
    return t;
}
} // namespace

QString Estimacion::texto() const {
    const QString n = miles(mensajes);
    return QStringLiteral("Se enviarán %1 %2, %3")
        .arg(n, mensajes == 1 ? QStringLiteral("registro") : QStringLiteral("registros"),
             duracion(segundos()));
}

Estimacion estimar(const QSqlDatabase& db) {
    Estimacion e;
    for (const ProgramaDirecto::Seccion s : ProgramaDirecto::kSecciones) {
        if (!ProgramaDirecto::unMensajePorFila(s)) {
            ++e.mensajes;
            continue;
        }
        // The very query the upload reads, counted.
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select count(*) from (%1)").arg(ProgramaDirecto::consulta(s))) ||
            !q.next()) {
            e.error = errorDe(q.lastError());
            return e;
        }
        e.mensajes += q.value(0).toLongLong();
    }
    ++e.mensajes; // "'fin'"
    return e;
}

} // namespace EstimacionEnvio
