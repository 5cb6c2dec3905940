#pragma once

#include "db/Ajustes.h"
#include "events/DatosSucesos.h"

#include <QMainWindow>
#include <QPointer>
#include <QTcpSocket>

class BotonConectar;
class ConexionTablet;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The main window: opens every other window, keeps the connection settings of both roads to
// the tablet and the main TCP connection to it, and starts the programme upload.
class FrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    static const QString kCaptionDiseno;
    static const QString kAcuseRecibo;
    static const QString kPreguntaInterrumpir;
    // What the progress label reads once an upload has gone out whole.
    static const QString kProgramacionEnviada;

    explicit FrmPrincipal(QWidget* parent = nullptr);
    ~FrmPrincipal() override;

    QTcpSocket* socket() const;
    // What the events window takes from this one: the tablet's address, the web settings as
    // typed, the chosen road and whether the main connection is open.
    DatosSucesos datosSucesos() const;
    // Opens the maintenance window on tab `accion` (0 backup, 1 restore).
    void abrirMantenimiento(qint16 accion);

    // Whether the window backs the data up on its own (on closing after a change, on starting
    // when the last backup is old); the program turns it on.
    void setRespaldosAutomaticos(bool activos) { respaldosAutomaticos_ = activos; }
    // The start-up check: the backup's health line, a warning left by the last closing, and the
    // automatic backup when the last one is too old.
    void revisarRespaldoAlIniciar();
    // Shows the health line when the last verified backup is older than the chosen days.
    void actualizarSaludRespaldo();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

public Q_SLOTS:
    void alElegirDirecta();
    void alElegirWeb();
    void conectarTablet();
    void enviarProgramacion();
    void abrirViajes();
    void abrirRodeos();
    void abrirSucesos();
    void abrirRespaldo();
    void abrirPrecision();
    void respaldarAhora();
    void abrirCostos();

protected:
    // The two roads of the upload, each in a file of its own.
    void conexionDirecta();
    void conexionWeb();
    // Blocks or frees the buttons that start an exchange or open the plan while one runs.
    void ponerOcupado(bool ocupado);
    // The upload ended, whichever way: frees the window, and closes it when the user chose to
    // leave meanwhile. False when the window is closing (no message is shown then).
    bool envioTerminado();

    // The upload running (EnvioDirecto or EnvioWeb), if any.
    QPointer<QObject> envio_;

    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* CmdPrecision;
    QPushButton* CmdCostos;
    // Feeds whose stock lasts fewer days than the chosen threshold; hidden when there are none.
    QLabel* LblAvisoStock;
    QPushButton* CmdEnv;
    QRadioButton* OptDir;
    QRadioButton* OptWeb;
    QGroupBox* FrDirecto;
    QLabel* Label5;
    QLineEdit* TxtDir;
    QPushButton* CmdConectar;
    QGroupBox* FrWeb;
    QLabel* Label3;
    QLineEdit* TxtServ;
    QLabel* Label1;
    QLineEdit* TXTUS;
    QLabel* Label2;
    QLineEdit* TXTPASS;
    QLabel* Lbl;
    QLabel* LblEstimacion; // how long the upload over the direct link will take
    QProgressBar* Bar;
    QLabel* Image1;
    QLabel* lblSaludRespaldo;
    QPushButton* cmdRespaldarAhora;
    ConexionTablet* conexion_;
    BotonConectar* botonConectar_;

private:
    void construir();
    // Reads the stock again and shows or hides the warning.
    void avisarStock();
    void guardarAjuste(QLineEdit* caja);
    // Reads the settings of one road into ajustes_. A missing row leaves them as they were, so
    // the boxes show what was read last (the direct road reads only the address).
    void leerAjustes(const QString& tipo);
    AjustesConexion ajustes_;
    // Plan rows the upload would leave out or send incomplete: asks whether to go on.
    bool planListoParaEnviar();
    // The direct upload's length, shown under its button (nothing on the web road).
    void mostrarEstimacion();
    // A long direct upload: offers to archive the trips before today first. False when cancelled.
    bool envioLargoAceptado();
    // Makes an automatic backup in its small window; closes this window afterwards when asked.
    void respaldar(const QString& texto, bool cerrarDespues);
    bool descargado_ = false;
    bool respaldosAutomaticos_ = false;
    bool respaldoCierreHecho_ = false; // the closing's backup was made or skipped
    QPointer<QObject> respaldo_;       // the backup window while it is up
    bool saliendo_ = false;            // closing once the upload has stopped
};
