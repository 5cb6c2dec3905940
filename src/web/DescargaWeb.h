#pragma once

#include "core/FilaEvento.h"
#include "core/Mensaje.h"
#include "web/SesionWeb.h"
#include "web/ValorJson.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <optional>

// The events the tablet stored on the web service for a date range. Loads come
// grouped by date, each date's discharges right after its loads; a load identical to the one
// listed just before it is not listed again. Rows are walked by the position of their "{" in the
// one reply text, so the cost grows with the rows, never with rows times text.
//
// A row that cannot be read (a null where a value is shown, a date that is not one, an operator
// the lookup fails on) is reported on its own and the rows after it are still listed; the run then
// ends as `Incompleta`, its message counting the rows listed and the rows that could not be read.
class DescargaWeb : public SesionWeb {
    Q_OBJECT
public:
    // How a run ended: normally (rows or none), with "No existen datos a mostrar", after listing
    // what could be read when some rows could not, or with any other message (probe, login,
    // failures).
    enum class Fin { Normal, SinDatos, Incompleta, Error };
    static const QString kProcedimiento; // "Recibir_web"

    DescargaWeb(const DatosWeb& datos, QDate desde, QDate hasta, QObject* parent = nullptr);

    // The current-operator text: the name of the last load listed.
    const QString& operarioActual() const { return operarioActual_; }

    static QString sentenciaCargas(const QString& cliente, QDate desde, QDate hasta);
    static QString sentenciaDescargas(const QString& cliente, QDate fecha);
    // A date sent by the server: "yyyy-mm-dd" (a time may follow), "dd/mm/yyyy" or "yyyymmdd".
    static std::optional<QDate> leerFecha(const ValorJson& valor);

Q_SIGNALS:
    void fila(const FilaEvento& fila);
    // One row could not be read: its error message; the run goes on.
    void registroIlegible(const Mensaje& mensaje);
    void terminado(DescargaWeb::Fin fin, const Mensaje& mensaje);

protected:
    void ingresado() override;
    void rechazado(const Mensaje& m) override { terminar(Fin::Error, m); }
    void fallar(const QString& numero, const QString& descripcion, const QString& razon) override;

private:
    void alCargas(const RespuestaWeb& r);
    void grupo();
    void seguirGrupo();
    void finDeGrupo();
    void terminarLectura();
    void alDescargas(const RespuestaWeb& r);
    bool listarCarga();
    // Makes the row that starts at `inicio` of the reply the current one.
    void ponerActual(qsizetype inicio);
    bool celda(const ValorJson& fila, QStringView clave, QString* texto);
    // Lists a row, with what its texts hold.
    void listar(FilaEvento f);
    void ilegible(const QString& numero, const QString& descripcion);
    void ilegible(const Mensaje& mensaje);
    void terminar(Fin fin, const Mensaje& m = {});

    QDate desde_, hasta_;
    QString cargas_;                   // the loads reply, kept whole
    QStringView vista_;                // its cut part, into `cargas_`
    qsizetype inicio_ = 0;             // the "{" of the current row in `vista_`
    ValorJson actual_;                 // the current load row
    std::optional<QDate> fechaActual_; // its date, read once

    QStringList ultima_;    // the eight values of the last listed load
    QDate fechaGrupo_;      // the date of the current group; invalid while none of its rows had one
    bool agotadas_ = false; // no load row after the current group
    qsizetype listadas_ = 0;
    int ilegibles_ = 0;
    QString operarioActual_;
    QHash<QString, QString> nombres_; // operator lookups of this run
};
