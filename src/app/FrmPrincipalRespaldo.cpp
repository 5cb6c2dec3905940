// The main window's automatic backups: on starting, on closing, and its health line.
#include "app/FrmPrincipal.h"

#include "db/BaseDatos.h"
#include "maint/AjustesRespaldo.h"
#include "maint/VentanaRespaldoAutomatico.h"
#include "ui/Dialogos.h"

#include <QLabel>
#include <QPushButton>

void FrmPrincipal::revisarRespaldoAlIniciar() {
    actualizarSaludRespaldo();
    if (!BaseDatos::abierta())
        return;
    // What the last closing could not say without holding the user back.
    if (const QString aviso = PoliticaRespaldo::tomarAvisoPendiente(); !aviso.isEmpty())
        Dialogos::mostrar(this, {aviso, Icono::Exclamacion});
    if (respaldosAutomaticos_ && PoliticaRespaldo::tocaAlIniciar())
        respaldar(QStringLiteral("Guardando el respaldo periódico de los datos..."), false);
}

void FrmPrincipal::actualizarSaludRespaldo() {
    const bool atrasado = BaseDatos::abierta() && PoliticaRespaldo::atrasado();
    lblSaludRespaldo->setText(atrasado ? PoliticaRespaldo::textoAntiguedad() : QString());
    lblSaludRespaldo->setVisible(atrasado);
    cmdRespaldarAhora->setVisible(atrasado);
}

void FrmPrincipal::respaldarAhora() {
    if (!respaldo_)
        respaldar(QStringLiteral("Guardando un respaldo de los datos..."), false);
}

void FrmPrincipal::respaldar(const QString& texto, bool cerrarDespues) {
    auto* ventana = new VentanaRespaldoAutomatico(texto, this);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    respaldo_ = ventana;
    connect(ventana, &QDialog::finished, this, [this, ventana, cerrarDespues] {
        respaldo_ = nullptr;
        const Resultado& r = ventana->resultado();
        const QString aviso = ventana->aviso();
        if (!aviso.isEmpty() && BaseDatos::abierta() && PoliticaRespaldo::avisarSegundaHoy()) {
            // A missing second folder never holds a closing back: it is told at the next start.
            if (cerrarDespues)
                PoliticaRespaldo::guardarAvisoPendiente(aviso);
            else
                Dialogos::mostrar(this, {aviso, Icono::Exclamacion});
        }
        if (cerrarDespues) {
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            return;
        }
        actualizarSaludRespaldo();
        if (!r.ok && !r.cancelado)
            Dialogos::mostrar(
                this, {QStringLiteral("No se pudo hacer el respaldo automático: %1").arg(r.descripcion),
                       Icono::Exclamacion});
    });
    ventana->open();
}
