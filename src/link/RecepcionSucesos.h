#pragma once

#include "core/FilaEvento.h"
#include "core/Mensaje.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// What one handled reply asks of whoever lists the events: a row to append (complete, or with
// the columns set before an error), then a message to show. `termina` marks "'fin'" and "'no'".
struct PasoRecepcion {
    std::optional<FilaEvento> fila;
    std::optional<Mensaje> mensaje;
    bool termina = false;
};

// The event download over the direct link, without the socket: the request text and the
// reading of the tablet's replies. Arrivals are kept in a buffer and split at the markers
// "'no'", "'fin'", "'carga'" and "'descarga'", so several records in one arrival give one row
// each and a record cut across arrivals is joined before it is read. A record is complete once
// it holds its fields (11 for a load, 6 for a discharge) or when the next marker arrives.
class RecepcionSucesos {
public:
    static const QString kFormulario;
    static const QString kProcedimiento;

    // "Mandame los datos entre: MM/dd/yyyy y MM/dd/yyyy a; 0.5"
    static QString pedido(const QDate& desde, const QDate& hasta);
    static QByteArray pedidoCodificado(const QDate& desde, const QDate& hasta);

    // The closing message of a download in which some records could not be read (both roads):
    // how many rows were listed and how many records were not, instead of claiming all of them.
    static Mensaje mensajeIlegibles(qsizetype filas, int ilegibles);

    // A new request: forgets what was buffered, the current operator goes back to "0". The
    // address and the range are those named in the "no data" message.
    void iniciar(const QDate& desde, const QDate& hasta, const QString& direccion);

    // Handles one arrival (Windows-1252 bytes) and returns, in order, what it holds.
    QList<PasoRecepcion> recibir(const QByteArray& llegada);

    // The current operator: "0" after each request, then the operator of the latest load.
    const QString& operarioActual() const { return operarioActual_; }
    void setOperarioActual(const QString& texto) { operarioActual_ = texto; }

    // Text kept for the next arrival (a record or marker not yet complete).
    const QString& pendiente() const { return buffer_; }

    // Since the request: the rows listed (those of unreadable records with the columns set before
    // the error included) and the records that could not be read.
    qsizetype filasListadas() const { return filas_; }
    int ilegibles() const { return ilegibles_; }

private:
    PasoRecepcion leerCarga(const QString& registro);
    PasoRecepcion leerDescarga(const QString& registro);
    PasoRecepcion mensajeNo() const;

    QString buffer_;
    QString operarioActual_ = QStringLiteral("0");
    QDate desde_;
    QDate hasta_;
    QString direccion_;
    qsizetype filas_ = 0;
    int ilegibles_ = 0;
    // The operators table does not change while a download runs: each number is looked up once.
    QHash<QString, QString> operarios_;
};
