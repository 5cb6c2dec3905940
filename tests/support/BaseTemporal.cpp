#include "BaseTemporal.h"

#include "db/BaseDatos.h"

#include <QDir>
#include <QSqlError>
#include <QSqlRecord>
#include <QTest>

BaseTemporal::BaseTemporal() {
    const auto error = BaseDatos::abrir(dir_.path());
    if (error)
        qWarning("%s", qPrintable(*error));
    ok_ = !error;
}

BaseTemporal::~BaseTemporal() {
    BaseDatos::cerrar();
}

QString BaseTemporal::archivo() const {
    return BaseDatos::archivo(dir_.path());
}

bool BaseTemporal::ejecutar(const QString& sql) {
    QSqlQuery q(BaseDatos::ConexionBD());
    if (!q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

QVariant BaseTemporal::valor(const QString& sql) {
    QSqlQuery q(BaseDatos::ConexionBD());
    if (!q.exec(sql) || !q.next())
        return {};
    return q.value(0);
}

QStringList BaseTemporal::filas(const QString& sql) {
    QStringList r;
    QSqlQuery q(BaseDatos::ConexionBD());
    if (!q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return r;
    }
    while (q.next()) {
        QStringList c;
        for (int i = 0; i < q.record().count(); ++i)
            c << q.value(i).toString();
        r << c.join(u'|');
    }
    return r;
}
