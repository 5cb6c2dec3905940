#include "catalog/Catalogo.h"

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Catalogo {

namespace {
// What the platform reports when a null field is read as text.
const ErrorBD kNuloInvalido{QStringLiteral("94"), QStringLiteral("Uso no válido de Null")};

// How plan rows name an entry of each catalogue, and how the question names the entry.
struct Referencia {
    const char* tabla;
    const char* columna;
    const char* articulo;  // "El alimento", "La receta", "El operario"
    const char* pronombre; // "¿Eliminarlo igual?" / "¿Eliminarla igual?"
};
constexpr Referencia kCatalogos[] = {
    {"alimentos", "id_alim", "El alimento", "lo"},
    {"operarios", "id_op", "El operario", "lo"},
    {"recetas", "id_receta", "La receta", "la"},
};
const Referencia* catalogoDe(const QString& tabla) {
    for (const Referencia& c : kCatalogos)
        if (tabla.compare(QLatin1String(c.tabla), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}
} // namespace

Lectura leer(const QString& tabla, bool conTipo) {
    Lectura r;
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select * from ") + tabla + QStringLiteral(" order by descripcion "))) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next()) {
        if (q.value(0).isNull() || q.value(1).isNull()) {
            r.error = kNuloInvalido;
            return r;
        }
        Fila f{q.value(0).toString(), q.value(1).toString(), QString()};
        if (conTipo)
            f.tipo = q.value(2).toInt() == 0 ? kKilos : kPorcentaje;
        r.filas << f;
    }
    return r;
}

std::optional<ErrorBD> grabar(const QString& tabla, const QList<Fila>& filas, bool conTipo) {
    QSqlDatabase db = BaseDatos::ConexionBD();
    // The first columns by position, whatever they are called; others keep their defaults.
    const QSqlRecord columnas = db.record(tabla);
    const int n = conTipo ? 3 : 2;
    if (columnas.count() < n)
        return ErrorBD{QStringLiteral("3265"),
                       QStringLiteral("No se encontró el elemento en esta colección.")};
    QStringList nombres, marcas;
    for (int i = 0; i < n; ++i) {
        nombres << columnas.fieldName(i);
        marcas << QStringLiteral("?");
    }
    if (!db.transaction())
        return errorDe(db.lastError());
    auto deshacer = [&db](const QSqlError& e) {
        const ErrorBD error = errorDe(e);
        db.rollback();
        return error;
    };
    {
        QSqlQuery borrar(db);
        if (!borrar.exec(QStringLiteral("delete from ") + tabla + QStringLiteral(" ")))
            return deshacer(borrar.lastError());
        QSqlQuery alta(db);
        if (!alta.prepare(QStringLiteral("insert into ") + tabla + QStringLiteral(" (") + nombres.join(u',') +
                          QStringLiteral(") values (") + marcas.join(u',') + u')'))
            return deshacer(alta.lastError());
        for (qsizetype i = filas.size() - 1; i >= 0; --i) {
            const Fila& f = filas.at(i);
            bool entero = false;
            const qlonglong id = f.id.toLongLong(&entero);
            alta.bindValue(0, entero ? QVariant(id) : QVariant(f.id));
            alta.bindValue(1, f.descripcion);
            if (conTipo)
                alta.bindValue(2, f.tipo == kKilos ? 0 : 1); // stored as true (-1)
            if (!alta.exec())
                return deshacer(alta.lastError());
        }
    }
    if (!db.commit())
        return deshacer(db.lastError());
    return std::nullopt;
}

Usos quitadasEnUso(const QString& tabla, const QList<Fila>& filas) {
    Usos r;
    const Referencia* c = catalogoDe(tabla);
    if (!c)
        return r;
    QSet<QString> quedan;
    for (const Fila& f : filas)
        quedan.insert(f.id.trimmed());
    QSqlQuery q(BaseDatos::ConexionBD());
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("select t.id, t.descripcion, (select count(*) from viajes v where v.%1 = t.id) "
                           "from %2 t order by t.descripcion")
                .arg(QLatin1String(c->columna), QLatin1String(c->tabla)))) {
        r.error = errorDe(q.lastError());
        return r;
    }
    while (q.next()) {
        const int usos = q.value(2).toInt();
        if (usos > 0 && !quedan.contains(q.value(0).toString()))
            r.quitadas << EnUso{{q.value(0).toString(), q.value(1).toString(), QString()}, usos};
    }
    if (q.lastError().isValid())
        r.error = errorDe(q.lastError());
    return r;
}

Mensaje preguntaQuitar(const QString& tabla, const EnUso& e, const QString& titulo) {
    const Referencia* c = catalogoDe(tabla);
    const QString filas =
        e.filasPlan == 1 ? QStringLiteral("1 fila") : QString::number(e.filasPlan) + QStringLiteral(" filas");
    return {QString::fromUtf8(c ? c->articulo : "El registro") + u' ' + e.fila.descripcion +
                QStringLiteral(" se usa en ") + filas + QStringLiteral(" del plan. ¿Eliminar") +
                QString::fromLatin1(c ? c->pronombre : "lo") + QStringLiteral(" igual?"),
            Icono::Pregunta, titulo, Botones::SiNo};
}

std::optional<qint64> nuevoId(const QStringList& ids) {
    QSet<qint64> usados;
    for (const QString& t : ids) {
        bool ok = false;
        const double v = t.trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
        if (v == static_cast<double>(static_cast<qint64>(v)))
            usados.insert(static_cast<qint64>(v));
    }
    qint64 candidato = ids.size() + 1;
    while (usados.contains(candidato))
        ++candidato;
    return candidato;
}

} // namespace Catalogo
