#include "catalog/BuscarOperario.h"

#include <QSqlQuery>

ResultadoOperario buscarOperario(const QString& id) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("select * from operarios where id = ?"));
    q.addBindValue(id.trimmed());
    if (!q.exec())
        return {QString(), errorDe(q.lastError())};
    if (!q.next())
        return {id + QStringLiteral(" inexistente"), std::nullopt};
    return {q.value(1).toString(), std::nullopt};
}
