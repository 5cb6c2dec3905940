#include "plan/PlanComun.h"

#include "core/Texto.h"

#include <QSqlQuery>

namespace PlanComun {

Entradas leerEntradas(const QString& sql) {
    Entradas r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next())
        r.filas.push_back({q.value(0).toLongLong(), q.value(1).toString()});
    if (q.lastError().isValid())
        r.error = errorDe(q.lastError());
    return r;
}

QString texto(const QVariant& v) {
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return Texto::numeroRegional(v.toDouble());
    default:
        return v.toString();
    }
}

QString cantidad(const QVariant& v) {
    return v.isNull() ? QString() : Texto::cantidadVista(v.toDouble());
}

QString fechaLista(const QString& guardada) {
    const QDate d = QDate::fromString(guardada.left(10), kFormatoFechaBase);
    return d.isValid() ? d.toString(kFormatoFechaLista) : guardada;
}

QDate fechaDeLista(const QString& texto) {
    return QDate::fromString(texto.trimmed(), kFormatoFechaLista);
}

TipoCarga leerTipoCarga(const QString& sql, int columna, qint64 id) {
    TipoCarga r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    q.prepare(sql);
    q.addBindValue(id);
    if (!q.exec()) {
        r.error = errorDe(q.lastError());
        return r;
    }
    if (q.next()) {
        r.encontrado = true;
        r.kilos = q.value(columna).toInt() == 0;
    } else if (q.lastError().isValid()) {
        r.error = errorDe(q.lastError());
    }
    return r;
}

std::optional<ErrorBD> enTransaccion(const std::function<std::optional<ErrorBD>()>& trabajo) {
    QSqlDatabase db = BaseDatos::ConexionBD();
    if (!db.transaction())
        return errorDe(db.lastError());
    if (auto e = trabajo()) {
        db.rollback();
        return e;
    }
    if (!db.commit()) {
        const ErrorBD e = errorDe(db.lastError());
        db.rollback();
        return e;
    }
    return std::nullopt;
}

namespace {
void ligar(QSqlQuery& q, const QVariantList& valores) {
    for (int i = 0; i < valores.size(); ++i)
        q.bindValue(i, valores.at(i));
}
} // namespace

std::optional<ErrorBD> ejecutar(const QString& sql, const QVariantList& valores) {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(sql);
    ligar(q, valores);
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}

Cambio cambiarPrimera(const QString& busqueda, const QVariantList& clave, const QString& cambio,
                      QVariantList valores) {
    Cambio r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(busqueda);
    ligar(q, clave);
    if (!q.exec()) {
        r.error = errorDe(q.lastError());
        return r;
    }
    if (!q.next()) {
        if (q.lastError().isValid())
            r.error = errorDe(q.lastError());
        return r;
    }
    r.encontrado = true;
    valores.push_back(q.value(0).toLongLong());
    q.finish();
    r.error = ejecutar(cambio, valores);
    return r;
}

std::optional<ErrorBD> eliminarCada(const QString& borrado, const QList<QVariantList>& claves) {
    return enTransaccion([&]() -> std::optional<ErrorBD> {
        QSqlQuery q(BaseDatos::ConexionBD());
        q.prepare(borrado);
        for (const QVariantList& c : claves) {
            ligar(q, c);
            if (!q.exec())
                return errorDe(q.lastError());
        }
        return std::nullopt;
    });
}

} // namespace PlanComun
