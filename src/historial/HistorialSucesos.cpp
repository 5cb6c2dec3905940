#include "historial/HistorialSucesos.h"

#include "db/SentenciaSqlite.h"

#include <QHash>
#include <QSqlQuery>

namespace {

std::optional<double> numero(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

} // namespace

std::optional<ErrorBD> HistorialSucesos::fusionar(QSqlDatabase db, const QList<FilaEvento>& filas,
                                                  const QString& via, Fusion* resultado,
                                                  const QDateTime& recibido) {
    Fusion f;
    f.recibidos = static_cast<int>(filas.size());

    // The download's events, each with its key; the keys in arrival order, grouped by kind, date
    // and time (the kept events of those are the only ones that can be the same).
    QList<EventoHistorial> eventos;
    QHash<QString, QList<int>> apariciones; // key -> positions in `eventos`, in arrival order
    QHash<QString, QStringList> porMinuto;  // kind, date and time -> keys
    QStringList minutos;
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
            const QString minuto = e->tipo + u'|' + e->fecha + u'|' + e->hora;
            QStringList& claves = porMinuto[minuto];
            if (claves.isEmpty())
                minutos << minuto;
            claves << clave;
        }
        lista << static_cast<int>(eventos.size());
        eventos << std::move(*e);
    }
    if (resultado)
        *resultado = f;
    if (eventos.isEmpty())
        return std::nullopt;

    // Straight on SQLite: a download of thousands of events costs thousands of lookups and inserts.
    SentenciaSqlite buscar(db,
                           "select receta_corral, alimento, kg_sugerido, kg_real, texto_sugerido, texto_real "
                           "from historial_sucesos where tipo = ?1 and fecha = ?2 and hora = ?3");
    SentenciaSqlite alta(db, "insert into historial_sucesos (tipo, fecha, hora, receta_corral, alimento, "
                             "kg_sugerido, kg_real, operario, via, recibido, texto_sugerido, texto_real) "
                             "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    if (!buscar.ok())
        return buscar.error();
    if (!alta.ok())
        return alta.error();
    if (!db.transaction())
        return errorDe(db.lastError());
    auto fallar = [&db](const ErrorBD& e) {
        db.rollback();
        return std::optional<ErrorBD>(e);
    };

    const QString sello = recibido.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    alta.texto(9, via);
    alta.texto(10, sello);
    QHash<QString, int> guardados;
    for (const QString& minuto : minutos) {
        const QStringList& claves = porMinuto[minuto];
        const EventoHistorial& muestra = eventos[apariciones[claves.first()].first()];
        // How many of each of this minute's events are kept already.
        guardados.clear();
        buscar.reiniciar();
        buscar.texto(1, muestra.tipo);
        buscar.texto(2, muestra.fecha);
        buscar.texto(3, muestra.hora);
        EventoHistorial g;
        g.tipo = muestra.tipo;
        g.fecha = muestra.fecha;
        g.hora = muestra.hora;
        while (buscar.fila()) {
            g.recetaCorral = buscar.textoDe(0);
            g.alimento = buscar.textoDe(1);
            g.sugerido = buscar.numeroDe(2);
            g.real = buscar.numeroDe(3);
            g.textoSugerido = buscar.textoDe(4);
            g.textoReal = buscar.textoDe(5);
            ++guardados[g.clave()];
        }
        if (buscar.fallo())
            return fallar(buscar.error());
        // The occurrences beyond those already kept are added, each as it arrived.
        for (const QString& clave : claves) {
            const QList<int>& lista = apariciones[clave];
            for (qsizetype i = guardados.value(clave); i < lista.size(); ++i) {
                const EventoHistorial& e = eventos[lista[i]];
                alta.reiniciar();
                alta.texto(1, e.tipo);
                alta.texto(2, e.fecha);
                alta.texto(3, e.hora);
                alta.texto(4, e.recetaCorral);
                alta.texto(5, e.alimento);
                alta.numero(6, e.sugerido);
                alta.numero(7, e.real);
                alta.texto(8, e.operario);
                alta.texto(11, e.textoSugerido);
                alta.texto(12, e.textoReal);
                alta.fila();
                if (alta.fallo())
                    return fallar(alta.error());
                ++f.agregados;
            }
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
    q.prepare(
        QStringLiteral("select tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario, "
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

namespace {

std::optional<ErrorBD> recorrer(SentenciaSqlite& consulta, const HistorialSucesos::Lector& porFila) {
    while (consulta.fila())
        if (!porFila(consulta))
            break;
    if (consulta.fallo())
        return consulta.error();
    return std::nullopt;
}

} // namespace

std::optional<ErrorBD> HistorialSucesos::recorrerPorGrupo(QSqlDatabase db, const char* columnaGrupo,
                                                          const QString& tipo, QDate desde, QDate hasta,
                                                          const Lector& porFila) {
    // The index holds every column asked for, and a year of events is summed in one pass.
    const QByteArray sql =
        QByteArray("select ") + columnaGrupo +
        ", kg_sugerido, kg_real, alimento, fecha from historial_sucesos where tipo = ?1 and "
        "fecha between ?2 and ?3";
    SentenciaSqlite consulta(db, sql.constData());
    if (!consulta.ok())
        return consulta.error();
    consulta.texto(1, tipo);
    consulta.texto(2, desde.toString(QStringLiteral("yyyy-MM-dd")));
    consulta.texto(3, hasta.toString(QStringLiteral("yyyy-MM-dd")));
    return recorrer(consulta, porFila);
}

std::optional<ErrorBD> HistorialSucesos::recorrerEnOrden(QSqlDatabase db, QDate desde, QDate hasta,
                                                         const Lector& porFila) {
    SentenciaSqlite consulta(db, "select tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, "
                                 "operario from historial_sucesos where tipo in ('CARGA', 'DESCARGA') and "
                                 "fecha between ?1 and ?2 order by fecha, hora, id");
    if (!consulta.ok())
        return consulta.error();
    consulta.texto(1, desde.toString(QStringLiteral("yyyy-MM-dd")));
    consulta.texto(2, hasta.toString(QStringLiteral("yyyy-MM-dd")));
    return recorrer(consulta, porFila);
}
