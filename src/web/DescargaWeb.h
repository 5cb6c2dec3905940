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

// `Recibir_web`: the events the tablet stored on the web service for a date range. Loads come
// grouped by date, each date's discharges right after its loads; a load identical to the one
// listed just before it is not listed again. Rows are walked by the position of their "{" in the
// one reply text, so the cost grows with the rows, never with rows times text.
class DescargaWeb : public SesionWeb {
    Q_OBJECT
public:
    // How a run ended: normally (rows or none), with "No existen datos a mostrar", or with any
    // other message (probe, login, failures).
    enum class Fin { Normal, SinDatos, Error };
    static const QString kProcedimiento; // "Recibir_web"

    DescargaWeb(const DatosWeb& datos, QDate desde, QDate hasta, QObject* parent = nullptr);

    // The current-operator text: the name of the last load listed.
    const QString& operarioActual() const { return Operario_Actual; }

    static QString sentenciaCargas(const QString& cliente, QDate desde, QDate hasta);
    static QString sentenciaDescargas(const QString& cliente, QDate fecha);
    // A date sent by the server: "yyyy-mm-dd" (a time may follow), "dd/mm/yyyy" or "yyyymmdd".
    static std::optional<QDate> leerFecha(const ValorJson& valor);

Q_SIGNALS:
    void fila(const FilaEvento& fila);
    void terminado(DescargaWeb::Fin fin, const Mensaje& mensaje);

protected:
    void ingresado() override;
    void rechazado(const Mensaje& m) override { terminar(Fin::Error, m); }
    void fallar(const QString& numero, const QString& descripcion) override;

private:
    void alCargas(const RespuestaWeb& r);
    void grupo();
    void alDescargas(const RespuestaWeb& r);
    bool listarCarga();
    bool fechaDe(const ValorJson& fila, QDate* fecha);
    bool celda(const ValorJson& fila, QStringView clave, QString* texto);
    void terminar(Fin fin, const Mensaje& m = {});

    QDate desde_, hasta_;
    QString cargas_;        // the loads reply, kept whole
    QStringView vista_;     // its cut part, into `cargas_`
    qsizetype inicio_ = 0;  // the "{" of the current row in `vista_`
    ValorJson actual_;      // the current load row
    QStringList ultima_;    // the eight values of the last listed load
    QDate ultimaFecha_;     // its date
    bool agotadas_ = false; // no load row after the current group
    QString Operario_Actual;
    QHash<QString, QString> nombres_; // operator lookups of this run
};
