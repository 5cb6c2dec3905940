#include "events/HistorialSucesos.h"

#include <QHash>
#include <QMap>
#include <QSqlQuery>

namespace {

// Host parameters per statement, well under SQLite's limit.
constexpr qsizetype kHorasPorConsulta = 400;

std::optional<double> numero(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

QVariant aVariante(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Double));
}

// Texts are never stored as NULL: an empty cell is an empty text.
QString texto(const QString& t) {
    return t.isNull() ? QStringLiteral("") : t;
}

// The kept events of one kind and date at the given times, counted by what makes them the same.
std::optional<ErrorBD> contarGuardados(QSqlDatabase& db, const QString& tipo, const QString& fecha,
                                       const QStringList& horas, QHash<QString, int>* cuenta) {
    for (qsizetype i = 0; i < horas.size(); i += kHorasPorConsulta) {
        const QStringList tanda = horas.mid(i, kHorasPorConsulta);
        QStringList marcas(tanda.size(), QStringLiteral("?"));
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("select hora, receta_corral, alimento, kg_sugerido, kg_real, texto_sugerido, "
                                 "texto_real from historial_sucesos where tipo = ? and fecha = ? and hora in (") +
                  marcas.join(u',') + u')');
        q.addBindValue(tipo);
        q.addBindValue(fecha);
        for (const QString& h : tanda)
            q.addBindValue(h);
        if (!q.exec())
            return errorDe(q.lastError());
        EventoHistorial e;
        e.tipo = tipo;
        e.fecha = fecha;
        while (q.next()) {
            e.hora = q.value(0).toString();
            e.recetaCorral = q.value(1).toString();
            e.alimento = q.value(2).toString();
            e.sugerido = numero(q.value(3));
            e.real = numero(q.value(4));
            e.textoSugerido = q.value(5).toString();
            e.textoReal = q.value(6).toString();
            ++(*cuenta)[e.clave()];
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ErrorBD> HistorialSucesos::fusionar(QSqlDatabase db, const QList<FilaEvento>& filas,
                                                  const QString& via, Fusion* resultado,
                                                  const QDateTime& recibido) {
    Fusion f;
    f.recibidos = static_cast<int>(filas.size());

    // The download's events, each with its key, and the times asked for per kind and date.
    QList<EventoHistorial> eventos;
    QStringList claves;
    QHash<QString, QList<int>> apariciones; // key -> positions in `eventos`, in arrival order
    QMap<std::pair<QString, QString>, QStringList> horas;
    eventos.reserve(filas.size());
    for (const FilaEvento& fila : filas) {
        std::optional<EventoHistorial> e = EventoHistorial::desde(fila);
        if (!e) {
            ++f.omitidos;
            continue;
        }
        const QString clave = e->clave();
        QList<int>& lista = apariciones[clave];
        if (lista.isEmpty()) {
            claves << clave;
            QStringList& h = horas[{e->tipo, e->fecha}];
            if (!h.contains(e->hora))
                h << e->hora;
        }
        lista << static_cast<int>(eventos.size());
        eventos << std::move(*e);
    }
    if (eventos.isEmpty()) {
        if (resultado)
            *resultado = f;
        return std::nullopt;
    }

    if (!db.transaction())
        return errorDe(db.lastError());
    auto fallar = [&db](const ErrorBD& e) {
        db.rollback();
        return std::optional<ErrorBD>(e);
    };

    QHash<QString, int> guardados;
    for (auto it = horas.cbegin(); it != horas.cend(); ++it)
        if (auto e = contarGuardados(db, it.key().first, it.key().second, it.value(), &guardados))
            return fallar(*e);

    QSqlQuery alta(db);
    if (!alta.prepare(QStringLiteral(
            "insert into historial_sucesos (tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, "
            "operario, via, recibido, texto_sugerido, texto_real) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fallar(errorDe(alta.lastError()));
    const QString sello = recibido.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    for (const QString& clave : claves) {
        const QList<int>& lista = apariciones[clave];
        // The occurrences beyond those already kept are added, each as it arrived.
        for (qsizetype i = guardados.value(clave); i < lista.size(); ++i) {
            const EventoHistorial& e = eventos[lista[i]];
            alta.bindValue(0, e.tipo);
            alta.bindValue(1, e.fecha);
            alta.bindValue(2, e.hora);
            alta.bindValue(3, texto(e.recetaCorral));
            alta.bindValue(4, texto(e.alimento));
            alta.bindValue(5, aVariante(e.sugerido));
            alta.bindValue(6, aVariante(e.real));
            alta.bindValue(7, texto(e.operario));
            alta.bindValue(8, via);
            alta.bindValue(9, sello);
            alta.bindValue(10, texto(e.textoSugerido));
            alta.bindValue(11, texto(e.textoReal));
            if (!alta.exec())
                return fallar(errorDe(alta.lastError()));
            ++f.agregados;
        }
    }
    if (!db.commit())
        return fallar(errorDe(db.lastError()));
    if (resultado)
        *resultado = f;
    return std::nullopt;
}

Mensaje HistorialSucesos::mensajeError(const ErrorBD& e) {
    return errorProcedimiento(e.numero, e.descripcion, QStringLiteral("Guardar_Historial"),
                              QStringLiteral("FrmSucesos"));
}

std::optional<ErrorBD> HistorialSucesos::listar(QSqlDatabase db, QDate desde, QDate hasta,
                                                QList<Guardado>* filas) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario, "
                             "via, recibido, texto_sugerido, texto_real from historial_sucesos "
                             "where tipo in ('CARGA', 'DESCARGA') and fecha between ? and ? "
                             "order by fecha, hora, id"));
    q.addBindValue(desde.toString(QStringLiteral("yyyy-MM-dd")));
    q.addBindValue(hasta.toString(QStringLiteral("yyyy-MM-dd")));
    if (!q.exec())
        return errorDe(q.lastError());
    while (q.next()) {
        Guardado g;
        EventoHistorial& e = g.evento;
        e.tipo = q.value(0).toString();
        e.fecha = q.value(1).toString();
        e.hora = q.value(2).toString();
        e.recetaCorral = q.value(3).toString();
        e.alimento = q.value(4).toString();
        e.sugerido = numero(q.value(5));
        e.real = numero(q.value(6));
        e.operario = q.value(7).toString();
        g.via = q.value(8).toString();
        g.recibido = q.value(9).toString();
        e.textoSugerido = q.value(10).toString();
        e.textoReal = q.value(11).toString();
        filas->append(std::move(g));
    }
    return std::nullopt;
}
