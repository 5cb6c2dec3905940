#include "HistorialSintetico.h"

#include "db/BaseDatos.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

HistorialSintetico::HistorialSintetico(const QString& conexion) : conexion_(conexion) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion_);
    db_.setDatabaseName(BaseDatos::archivo(dir_.path()));
    if (!db_.open() || !BaseDatos::prepararConexion(db_) || BaseDatos::crearEsquema(db_))
        return;
    QSqlQuery q(db_);
    // Built by SQLite itself: a million rows through the merge would measure the set-up, not the figure.
    const QString sql =
        QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n where i < ") +
        QString::number(kGuardados - 1) +
        QStringLiteral(
            ") insert into historial_sucesos (tipo, fecha, hora, receta_corral, alimento, kg_sugerido, "
            "kg_real, operario, via, recibido, texto_sugerido, texto_real) "
            "select case when i % 5 = 4 then 'DESCARGA' else 'CARGA' end, "
            "date('2024-01-01', '+' || (i / ") +
        QString::number(kPorDia) +
        QStringLiteral(") || ' days'), printf('%02d:%02d', (i / 60) % 24, i % 60), "
                       "case when i % 5 = 4 then 'Corral ' || (i % 40) else 'Receta ' || (i % 12) end, "
                       "case when i % 5 = 4 then '' else 'Alimento ' || ((i / 5) % 25) end, "
                       "1000 + (i % 7) * 10, 1000 + (i % 13) - 6, 'Operario ' || (i % 8), 'directa', "
                       "'2025-01-01 00:00:00', 1000 + (i % 7) * 10, 1000 + (i % 13) - 6 from n");
    ok_ = q.exec(sql);
    if (!ok_)
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
}

HistorialSintetico::~HistorialSintetico() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(conexion_);
}
