#include "db/Ajustes.h"

#include <QSqlQuery>
#include <QSqlRecord>

LecturaConexion leerConexion(const QString& tipo) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("select * from tipo_conexion where tipo = ?"));
    q.addBindValue(tipo);
    if (!q.exec())
        return {std::nullopt, errorDe(q.lastError())};
    if (!q.next()) {
        QSqlQuery alta(BaseDatos::ConexionBD());
        alta.prepare(QStringLiteral("insert into tipo_conexion (tipo) values (?)"));
        alta.addBindValue(tipo);
        if (!alta.exec())
            return {std::nullopt, errorDe(alta.lastError())};
        return {};
    }
    AjustesConexion a;
    a.direccion = q.value(2).toString();
    if (tipo.compare(QStringLiteral("web"), Qt::CaseInsensitive) == 0) {
        a.usuario = q.value(3).toString();
        a.clave = q.value(4).toString();
    }
    return {a, std::nullopt};
}

std::optional<Mensaje> comprobarTablas() {
    QSqlDatabase db = BaseDatos::ConexionBD();
    // One migration attempt: probe, add the column, probe again. A second failure is reported
    // rather than retried for ever.
    for (int intento = 0; intento < 2; ++intento) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select Calcula_Kg from recetas"))) {
            q.finish();
            BaseDatos::crearReglasSiNo(db);
            return std::nullopt;
        }
        const ErrorBD sondeo = errorDe(q.lastError());
        if (intento == 1 ||
            !sondeo.descripcion.contains(QStringLiteral("no such column"), Qt::CaseInsensitive)) {
            return Mensaje{sondeo.descripcion + QStringLiteral(" en procedimiento Comprobar_Tablas "),
                           Icono::Critico, QStringLiteral("Error ") + sondeo.numero};
        }
        QSqlQuery alter(db);
        if (!alter.exec(BaseDatos::aSqlite(QStringLiteral("alter table recetas add Calcula_Kg yesno;")))) {
            const ErrorBD e = errorDe(alter.lastError());
            return Mensaje{e.descripcion + QStringLiteral(" en procedimiento Comprobar_Tablas "),
                           Icono::Critico, QStringLiteral("Error ") + e.numero};
        }
    }
    return std::nullopt;
}

std::optional<ErrorBD> guardarAjuste(CampoAjuste campo, const QString& tipo, const QString& texto) {
    QString columna;
    switch (campo) {
    case CampoAjuste::Direccion:
        columna = QStringLiteral("direccion");
        break;
    case CampoAjuste::Usuario:
        columna = QStringLiteral("usuario");
        break;
    case CampoAjuste::Clave:
        columna = QStringLiteral("contraseña");
        break;
    }
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("update tipo_conexion set ") + columna + QStringLiteral(" = ? where tipo = ?"));
    q.addBindValue(texto);
    q.addBindValue(tipo);
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}
