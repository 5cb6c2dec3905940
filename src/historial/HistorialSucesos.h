#pragma once

#include "core/FilaEvento.h"
#include "core/Mensaje.h"
#include "db/BaseDatos.h"
#include "events/EventoHistorial.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>

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
};
