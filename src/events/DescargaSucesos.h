#pragma once

#include "core/FilaEvento.h"
#include "core/Mensaje.h"
#include "db/BaseDatos.h"
#include "link/RecepcionSucesos.h"
#include "web/ConsultaWeb.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>

class DescargaWeb;

// One download of the tablet's events, whichever road brings them: the direct link's replies are
// handed to recibir(), the web service's rows come by themselves once iniciarWeb() is called. The
// rows are collected as read (each with its date, time and kilograms, read once), their end is
// decided here, and a download that ended well is kept in the event history by guardar().
//
// Whoever shows the download listens to the signals, which come in the order of the records: the
// rows of an arrival before the message of a record that followed them.
class DescargaSucesos : public QObject {
    Q_OBJECT
public:
    enum class Fin {
        EnCurso,    // no end yet (or no download started)
        Completa,   // every record came and was read
        SinDatos,   // the source had nothing in the range
        Incompleta, // it ended, but some records could not be read
        Cortada,    // the link went before the end
        Fallida,    // the source refused or failed
    };

    explicit DescargaSucesos(QObject* parent = nullptr);
    ~DescargaSucesos() override;

    // The direct road: a new request for [desde, hasta] to the tablet at `direccion` (named in the
    // "no data" message); the bytes to send. Forgets the previous download.
    QByteArray iniciarDirecta(QDate desde, QDate hasta, const QString& direccion);
    // One arrival of the direct link. Ignored when no direct download is under way.
    void recibir(const QByteArray& llegada);
    // The web road: starts the queries for [desde, hasta]. Forgets the previous download.
    void iniciarWeb(const DatosWeb& datos, QDate desde, QDate hasta);
    // The link went (or stayed silent) before the end: the download ends cut, nothing is kept.
    void cortar();

    bool enCurso() const { return via_ && fin_ == Fin::EnCurso; }
    Fin fin() const { return fin_; }
    // "directa" or "web" (HistorialSucesos::kDirecta, kWeb); empty before the first download.
    QString via() const;
    const QList<FilaEvento>& filas() const { return filas_; }
    int ilegibles() const { return ilegibles_; }

    // The current operator: "0" after each direct request, then the operator of the latest load;
    // after a web download, the name of its last load.
    const QString& operarioActual() const { return recepcion_.operarioActual(); }
    void setOperarioActual(const QString& texto) { recepcion_.setOperarioActual(texto); }

    // The source told the end (all, nothing, or with records that could not be read): what came
    // is a whole download, to be kept. A cut or failed one is not.
    bool guardable() const {
        return fin_ == Fin::Completa || fin_ == Fin::SinDatos || fin_ == Fin::Incompleta;
    }
    // It ended well and every record was read.
    bool entera() const { return guardable() && ilegibles_ == 0; }

    // Merges the rows into the event history when the download is guardable (nothing otherwise).
    std::optional<ErrorBD> guardar(QSqlDatabase db) const;

Q_SIGNALS:
    // Progress of the web road ("Descargando los sucesos...").
    void avance(const QString& texto);
    // Rows to list, in arrival order.
    void filasLlegadas(const QList<FilaEvento>& filas);
    // A record could not be read: its error; the download goes on.
    void aviso(const Mensaje& mensaje);
    // The end, once per download, with its closing message (empty when there is none to show).
    void terminada(DescargaSucesos::Fin fin, const Mensaje& mensaje);

private:
    enum class Via { Directa, Web };
    void empezar(Via via);
    void terminar(Fin fin, const Mensaje& mensaje);

    std::optional<Via> via_;
    Fin fin_ = Fin::EnCurso;
    QList<FilaEvento> filas_;
    int ilegibles_ = 0;
    RecepcionSucesos recepcion_;
    QPointer<DescargaWeb> web_;
};
