#pragma once

#include "core/FilaEvento.h"
#include "core/Trabajo.h"
#include "events/DatosSucesos.h"
#include "events/DescargaSucesos.h"
#include "events/ExportacionSucesos.h"
#include "ui/TrabajoVentana.h"

#include <QDialog>

class BotonConectar;
class ConexionTablet;
class ModeloSucesos;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

// The events window: downloads the loads and discharges the tablet recorded in a date range,
// over its own connection to the tablet while the direct-link frame is shown, or from the web
// service when "Web Service" is chosen in the main window (the frame is then hidden).
class FrmSucesos : public QDialog {
    Q_OBJECT
public:
    // The main window supplies its connection state, the tablet's address and the chosen road;
    // without them the window starts on the direct road, not connected.
    explicit FrmSucesos(const DatosSucesos& datos = {}, QWidget* parent = nullptr);
    ~FrmSucesos() override;

    static const QString kPreguntaInterrumpir;
    // A download runs: requested and not yet ended ("'fin'", "'no'", the connection gone, or the
    // web road's end).
    bool recibiendo() const { return descarga_->enCurso(); }

    // For both download roads.
    void agregarFila(const FilaEvento& fila);
    void agregarFilas(const QList<FilaEvento>& filas);
    void limpiarLista();
    const QList<FilaEvento>& filas() const;
    QString operarioActual() const { return descarga_->operarioActual(); }
    void setOperarioActual(const QString& texto) { descarga_->setOperarioActual(texto); }
    QDate desde() const;
    QDate hasta() const;

    // The download through the web service (its own file).
    void recibirWeb();

public Q_SLOTS:
    // "RECIBIR", "Conectar" and "EXPORTAR XLS".
    void recibir();
    void conectar();
    void exportar();
    void done(int resultado) override;
    // Escape and the close box: during a download, asks first.
    void reject() override;

Q_SIGNALS:
    // "IMPRIMIR": the list as shown, with its period, is wanted on paper.
    void imprimirPedido();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void construir();
    // Keeps a download that ended well in the event history; a refusal is shown.
    void guardarHistorial();
    // Shows a message of the download; one that comes while another is open waits its turn.
    void avisar(const Mensaje& m);
    // The window back at rest after the web road's end (its own file).
    void webTerminada();
    // The columns of the list in the order they are shown (the user may drag them).
    QList<int> columnasVisibles() const;
    void exportacionTerminada(const ResultadoCon<QString>& r);
    int twips(int t) const;

    DatosSucesos datos_;
    DescargaSucesos* descarga_;
    ModeloSucesos* modelo_;
    QList<Mensaje> pendientes_; // messages waiting for the open one to close
    bool mostrando_ = false;
    TrabajoVentana<ExportacionSucesos> exportacion_;

    QGroupBox* Frame3;
    QTableView* ListSuc;
    QWidget* barra_;
    QLabel* Label3;
    QDateEdit* DTDESDE;
    QLabel* Label4;
    QDateEdit* DTHASTA;
    QPushButton* CMDREC;
    QPushButton* CmdExportar;
    QPushButton* CmdImprimir;
    QGroupBox* Frame1;
    QLabel* Label5;
    QLineEdit* TxtDir;
    QPushButton* CmdConectar;
    ConexionTablet* conexion_;
    BotonConectar* botonConectar_;
};
