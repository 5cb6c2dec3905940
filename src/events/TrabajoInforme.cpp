#include "events/TrabajoInforme.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

TrabajoInforme::TrabajoInforme(const QString& archivo, Agrupacion agrupacion, QDate desde, QDate hasta,
                               double tolerancia, QObject* padre)
    : Trabajo(padre), archivo_(archivo), agrupacion_(agrupacion), desde_(desde), hasta_(hasta),
      tolerancia_(tolerancia) {}

TrabajoInforme::~TrabajoInforme() {
    detener();
}

Resultado TrabajoInforme::hacer() {
    static QAtomicInteger<quint64> contador;
    const QString nombre = QStringLiteral("informe-precision-%1").arg(contador.fetchAndAddRelaxed(1));
    Resultado r;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(archivo_);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            const ErrorBD e = errorDe(db.lastError());
            r = Resultado::fallo(e.numero.toInt(), e.descripcion);
        } else {
            // Pages read in place rather than copied: a year's report walks a large index.
            QSqlQuery(db).exec(QStringLiteral("pragma mmap_size = 1073741824"));
            InformePrecision informe;
            const auto e = InformePrecision::calcular(db, agrupacion_, desde_, hasta_, tolerancia_, &informe,
                                                      [this] { return cancelado(); });
            if (e)
                r = Resultado::fallo(e->numero.toInt(), e->descripcion);
            else
                r = Resultado::exito(QVariant::fromValue(informe));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nombre);
    return r;
}
