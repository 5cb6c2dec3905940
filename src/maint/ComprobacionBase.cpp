#include "maint/ComprobacionBase.h"

#include "db/BaseDatos.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

namespace {

std::optional<QString> comprobarEn(QSqlDatabase& db) {
    if (!db.open())
        return QStringLiteral("no se puede abrir (%1)").arg(errorDe(db.lastError()).descripcion);
    // The same collation as the shared connection, so indexes on text read in the order they
    // were written.
    BaseDatos::prepararConexion(db);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("pragma integrity_check")))
        return QStringLiteral("no es una base de datos válida (%1)").arg(errorDe(q.lastError()).descripcion);
    QStringList problemas;
    while (q.next() && problemas.size() < 3)
        problemas << q.value(0).toString();
    if (problemas != QStringList{QStringLiteral("ok")})
        return QStringLiteral("la base de datos está dañada (%1)").arg(problemas.join(QStringLiteral("; ")));
    QStringList tablas;
    if (const auto e = BaseDatos::tablas(db, &tablas))
        return QStringLiteral("no es una base de datos válida (%1)").arg(e->descripcion);
    const QStringList faltan = BaseDatos::tablasFaltantes(tablas);
    if (!faltan.isEmpty())
        return QStringLiteral("no es una base de datos de Tolvaro (faltan las tablas %1)")
            .arg(faltan.join(QStringLiteral(", ")));
    return std::nullopt;
}

} // namespace

std::optional<QString> comprobarBase(const QString& ruta) {
    // SQLite opens any file lazily; its header tells a database from anything else at once.
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("no se puede leer (%1)").arg(f.errorString());
    if (f.read(16) != QByteArray("SQLite format 3\0", 16))
        return QStringLiteral("no es una base de datos SQLite");
    f.close();

    std::optional<QString> motivo;
    BaseDatos::conConexionPropia(ruta, QStringLiteral("QSQLITE_OPEN_READONLY"),
                                 [&motivo](QSqlDatabase& db) { motivo = comprobarEn(db); });
    return motivo;
}
