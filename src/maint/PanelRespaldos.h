#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// The maintenance window's "Respaldos" tab: the last verified backup, the automatic backup's
// settings (each stored in `preferencias` as soon as it changes) and the archives the program
// knows, newest first, from which one can be restored.
class PanelRespaldos : public QWidget {
    Q_OBJECT
public:
    explicit PanelRespaldos(QWidget* parent = nullptr);

    // Reads the settings, the last backup and the archive list again.
    void actualizar();
    // The archive chosen in the list; empty when none.
    QString archivoElegido() const;

Q_SIGNALS:
    // Restore from `archivo` into the running program.
    void recuperarPedido(const QString& archivo);
    // Open the restore tab to choose any archive.
    void recuperacionPedida();

private:
    void guardar();
    void elegirCarpeta(QLineEdit* caja);

    QLabel* lblUltimo;
    QCheckBox* chkAlCerrar;
    QCheckBox* chkAlIniciar;
    QSpinBox* spnDias;
    QSpinBox* spnCantidad;
    QLineEdit* txtCarpetaAutomatica;
    QPushButton* cmdCarpetaAutomatica;
    QLineEdit* txtSegundaCarpeta;
    QPushButton* cmdSegundaCarpeta;
    QListWidget* lstRespaldos;
    QPushButton* cmdRecuperarElegido;
    QPushButton* cmdOtroArchivo;
    bool cargando_ = false;
};
