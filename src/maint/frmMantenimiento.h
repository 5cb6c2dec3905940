#pragma once

#include "core/Trabajo.h"
#include "maint/ListadoCab.h"
#include "maint/Respaldo.h"
#include "maint/Restauracion.h"
#include "ui/TrabajoVentana.h"

#include <QDialog>
#include <memory>

class PanelRespaldos;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;

// The maintenance window: backs the database up into a dated cabinet archive (tab 0) and
// restores it from one (tab 1). Only the tab `Accion` names can be used; the other is shown
// disabled until the backups tab (tab 2: settings, last backup, known archives) asks for a
// restore. The archive work runs in the background, so the window repaints and answers while
// the progress bar moves; it never closes while an archive or a database is being written: a
// backup can be cancelled (leaving no archive), and closing meanwhile says why it waits.
// A backup closes the shared connection, which closing the window opens again. A restore over
// the running program's database asks first and backs the current data up before the swap.
class frmMantenimiento : public QDialog {
    Q_OBJECT
public:
    explicit frmMantenimiento(qint16 accion = 0, QWidget* parent = nullptr);
    ~frmMantenimiento() override;

    // 0 the backup tab, 1 the restore tab.
    const qint16 Accion;
    // The data folder followed by its separator.
    QString Ruta_Aplicacion;
    // "open", or "close" while the shared connection is closed (a backup closes it).
    QString estadoConexion() const;

    void ajustarControles();
    // Lists the archive named in txtRutaRecuperar in lstArchivosCab, every entry selected with
    // its position (1, 2, 3 ...) as item data, once every block of the archive has been checked;
    // a damaged archive is reported instead. The check runs in the background: false when the
    // box names no file, true when the listing has started.
    bool RecuperarCAB();

    // Whether an archive or a database is being written (the window then refuses to close).
    bool ocupado() const { return escribiendo_; }
    // Whether a restore replaced the running program's own database.
    bool baseRestaurada() const { return baseRestaurada_; }

public Q_SLOTS:
    void alMarcarRutaDefecto();
    void examinarRespaldo();
    void respaldarBase();
    void examinarRecuperacion();
    void alMarcarRecuperar();
    void elegirCarpetaRecuperacion();
    void recuperarRespaldo();
    void cerrarVentana();
    // Stops the backup that runs; it leaves no archive behind.
    void cancelarRespaldo();
    // Makes the restore tab usable, whatever `Accion` says, and shows it.
    void habilitarRecuperacion();
    void done(int resultado) override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void construir();
    void posicionar();
    QString carpetaDatos() const;
    // Starts the restore of `archivo` into the folder `destino`.
    void extraerArchivos(const QString& archivo, const QString& destino);
    void mostrarAvance(int porcentaje);
    void respaldoTerminado(const ResultadoCon<qint64>& r);
    void restauracionTerminada(const Resultado& r, bool enVivo);
    void listadoTerminado(const ResultadoCon<QStringList>& r, const QString& archivo);
    // Opens the shared connection again, with the schema check of the start-up.
    bool reabrirConexion();
    void ocupar(bool ocupado);
    // The restore over the running program's database, once the user agreed and the current
    // data are in an automatic archive.
    void confirmarReemplazo();
    void reemplazarBase();
    // Restores a chosen archive of the list into the data folder.
    void recuperarDeLaLista(const QString& archivo);
    // Records the window's manual backup as the last one, once the connection is back.
    void registrarRespaldo();

    QTabWidget* stbMantenimiento;
    QLabel* Label4;
    QListWidget* fleBackUpBD;
    QLabel* Label5;
    QLineEdit* txtRutaBackUp;
    QCheckBox* chkRutaDefecto;
    QPushButton* cmdExaminarBackUp;
    QPushButton* cmdBackUpBD;
    QLabel* lblTotalACompactar;
    QLabel* lblTotalCompactado;
    QLabel* lblInfo;
    QLabel* Label6;
    QLineEdit* txtRutaRecuperar;
    QPushButton* cmdExaminarRecuperar;
    QListWidget* lstArchivosCab;
    QLabel* Label7;
    QCheckBox* chkRecuperar;
    QLineEdit* txtRutaExtraerRecuperar;
    QPushButton* cmdRutaExtraerRecuperar;
    QPushButton* cmdRecuperar;
    QProgressBar* prgBackUp;
    QLabel* lblPorcentaje;
    QPushButton* CmdSalir;
    QPushButton* cmdCancelar;
    PanelRespaldos* panelRespaldos;

    // The compressor, the restore and the archive listing of the moment.
    TrabajoVentana<Respaldo> Comprimir;
    TrabajoVentana<Restauracion> restauracion_;
    TrabajoVentana<ListadoCab> Extraer;
    bool escribiendo_ = false; // a backup or a restore runs
    bool listando_ = false;
    bool listadoPendiente_ = false; // a listing waits for the one it replaces to stop
    QString ultimoArchivoCM1_;      // what the archive dialog answers when cancelled
    bool cursorOcupado_ = false;
    bool descargada_ = false;
    bool baseRestaurada_ = false;
    bool saliendo_ = false; // closing once the cancelled backup has stopped
    // The manual backup to record: its archive, size and the change count it holds.
    QString destinoRespaldo_;
    QString respaldoHecho_;
    qint64 tamanoHecho_ = 0;
    qint64 cambiosAntes_ = -1;
};
