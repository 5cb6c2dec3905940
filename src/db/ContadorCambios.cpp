#include "db/ContadorCambios.h"

#include <QSqlQuery>
#include <QStringList>

namespace ContadorCambios {

namespace {

QString comillas(const QString& nombre) {
    return u'"' + QString(nombre).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

std::optional<ErrorBD> instalar(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral(
            "select name from sqlite_master where type = 'trigger' and name like 'cambios\\_%' "
            "escape '\\'")))
        return errorDe(q.lastError());
    QStringList hechos;
    while (q.next())
        hechos << q.value(0).toString();
    if (!q.exec(QStringLiteral(
            "select name from sqlite_master where type = 'table' and name not like 'sqlite\\_%' "
            "escape '\\' and name <> 'preferencias' collate nocase")))
        return errorDe(q.lastError());
    QStringList tablas;
    while (q.next())
        tablas << q.value(0).toString();

    QStringList sentencias;
    if (hechos.isEmpty())
        sentencias << QStringLiteral("insert or ignore into preferencias (clave, valor) values ('%1', 0)")
                          .arg(kClave);
    const QString sumar =
        QStringLiteral(
            " begin update preferencias set valor = cast(valor as integer) + 1 where clave = '%1'; end")
            .arg(kClave);
    for (const QString& tabla : tablas) {
        const QString t = comillas(tabla);
        const QString base = QStringLiteral("cambios_") + tabla.toLower();
        for (const auto& [sufijo, evento] : {std::pair{"_alta", "insert"}, std::pair{"_baja", "delete"}}) {
            const QString nombre = base + QLatin1String(sufijo);
            if (!hechos.contains(nombre))
                sentencias << QStringLiteral("create trigger %1 after %2 on %3%4")
                                  .arg(comillas(nombre), QLatin1String(evento), t, sumar);
        }
        // An update that stores what was there (a box saved on losing the focus) is no change.
        QSqlQuery c(db);
        if (!c.exec(QStringLiteral("pragma table_info(%1)").arg(t)))
            return errorDe(c.lastError());
        QStringList distintos;
        while (c.next()) {
            const QString col = comillas(c.value(1).toString());
            distintos << QStringLiteral("old.%1 is not new.%1").arg(col);
        }
        // The column count is in the name, so a table that gains a column gets the trigger anew.
        const QString prefijo = base + QStringLiteral("_cambio_");
        const QString nombre = prefijo + QString::number(distintos.size());
        if (distintos.isEmpty() || hechos.contains(nombre))
            continue;
        for (const QString& viejo : hechos)
            if (viejo.startsWith(prefijo))
                sentencias << QStringLiteral("drop trigger if exists %1").arg(comillas(viejo));
        sentencias << QStringLiteral("create trigger %1 after update on %2 when %3%4")
                          .arg(comillas(nombre), t, distintos.join(QStringLiteral(" or ")), sumar);
    }
    if (sentencias.isEmpty())
        return std::nullopt;
    if (!db.transaction())
        return errorDe(db.lastError());
    for (const QString& s : sentencias)
        if (!q.exec(s)) {
            const ErrorBD e = errorDe(q.lastError());
            db.rollback();
            return e;
        }
    if (!db.commit())
        return errorDe(db.lastError());
    return std::nullopt;
}

qint64 leer(const QSqlDatabase& db) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select valor from preferencias where clave = ?"));
    q.addBindValue(kClave);
    if (!q.exec() || !q.next())
        return -1;
    bool ok = false;
    const qint64 v = q.value(0).toLongLong(&ok);
    return ok ? v : -1;
}

} // namespace ContadorCambios
