#pragma once

#include "core/Trabajo.h"
#include "maint/RespaldoAutomatico.h"
#include "ui/TrabajoVentana.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small window of an automatic backup (on closing, on starting, before a restore): its
// progress and "Omitir", which stops it leaving no archive behind. It closes the shared connection
// for the time of the backup and opens it again afterwards, recording a verified archive as the
// last backup. It closes itself when the backup ends; its result tells how.
class VentanaRespaldoAutomatico : public QDialog {
    Q_OBJECT
public:
    explicit VentanaRespaldoAutomatico(const QString& texto, QWidget* parent = nullptr);
    ~VentanaRespaldoAutomatico() override;

    // How the backup ended (cancelled when skipped); the archive in valor.ruta.
    const ResultadoCon<RespaldoHecho>& resultado() const { return resultado_; }
    // The second folder's warning, when there was one.
    QString aviso() const;
    // Whether the backup still runs.
    bool enCurso() const { return trabajo_.enCurso(); }

public Q_SLOTS:
    // Starts the backup (once); the window shows it.
    void iniciar();
    void omitir();
    void done(int resultado) override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void terminado(const ResultadoCon<RespaldoHecho>& r);

    QLabel* lblRespaldo;
    QProgressBar* prgRespaldo;
    QPushButton* cmdOmitir;
    TrabajoVentana<RespaldoAutomatico> trabajo_;
    ResultadoCon<RespaldoHecho> resultado_{Resultado::interrumpido()};
    QString carpeta_;
    qint64 cambios_ = 0;
    bool iniciado_ = false;
};
