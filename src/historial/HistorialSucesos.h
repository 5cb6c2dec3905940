#pragma once

#include "core/FilaEvento.h"
#include "core/Mensaje.h"
#include "db/BaseDatos.h"
#include "historial/EventoHistorial.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>

#include <functional>

class SentenciaSqlite;

// Every event ever downloaded, in the table `historial_sucesos`. The tablet answers a whole date
// range each time, so the same events arrive again and again: a download is merged as a multiset,
// an event that arrives k times is kept max(k, already kept) times, and nothing kept is ever
// removed. Only a download that ended well is merged, whole, in one transaction.
class HistorialSucesos {
public:
    static inline const QString kDirecta = QStringLiteral("directa");
    static inline const QString kWeb = QStringLiteral("web");

    struct Fusion {
        int recibidos = 0; // rows of the download
        int agregados = 0; // rows added to the history
        int omitidos = 0;  // rows without a readable kind, date or time, never kept
    };

    // Merges the rows of a download that came by `via` ("directa" or "web"), stamped `recibido`.
    // On a failure the history is left exactly as it was.
    static std::optional<ErrorBD> fusionar(QSqlDatabase db, const QList<FilaEvento>& filas,
                                           const QString& via, Fusion* resultado = nullptr,
                                           const QDateTime& recibido = QDateTime::currentDateTime());

    // The error box of a merge that failed in the events window.
    static Mensaje mensajeError(const ErrorBD& e);

    // The kept events from `desde` to `hasta`, both inclusive, by date and time.
    struct Guardado {
        EventoHistorial evento;
        QString via;
        QString recibido; // yyyy-MM-dd HH:mm:ss
    };
    static std::optional<ErrorBD> listar(QSqlDatabase db, QDate desde, QDate hasta, QList<Guardado>* filas);

    // The readings of the reports, straight from SQLite over many rows: `porFila` reads the
    // columns of each row from the statement and returns false to stop the walk.
    using Lector = std::function<bool(const SentenciaSqlite& fila)>;
    // The events of kind `tipo` from `desde` to `hasta`: the group's column `columnaGrupo`
    // ("alimento", "operario", "fecha", "receta_corral"), kg_sugerido, kg_real, alimento, fecha.
    static std::optional<ErrorBD> recorrerPorGrupo(QSqlDatabase db, const char* columnaGrupo,
                                                   const QString& tipo, QDate desde, QDate hasta,
                                                   const Lector& porFila);
    // Both kinds from `desde` to `hasta` in the order they happened: tipo, fecha, hora,
    // receta_corral, alimento, kg_sugerido, kg_real, operario.
    static std::optional<ErrorBD> recorrerEnOrden(QSqlDatabase db, QDate desde, QDate hasta,
                                                  const Lector& porFila);
};
