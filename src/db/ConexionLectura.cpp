#include "db/ConexionLectura.h"

#include <QSqlQuery>

std::optional<ErrorBD>
ConexionLectura::usar(const QString& ruta, const std::function<std::optional<ErrorBD>(QSqlDatabase&)>& leer) {
    std::optional<ErrorBD> error;
    BaseDatos::conConexionPropia(ruta, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"),
                                 [&](QSqlDatabase& db) {
                                     if (!db.open() || !BaseDatos::prepararConexion(db)) {
                                         error = errorDe(db.lastError());
                                         return;
                                     }
                                     QSqlQuery(db).exec(QStringLiteral("pragma mmap_size = 1073741824"));
                                     error = leer(db);
                                 });
    return error;
}
