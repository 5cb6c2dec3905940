// The buttons of the main window that open the other windows.
#include "app/FrmPrincipal.h"

#include "costos/AvisoStock.h"
#include "costos/FrmCostos.h"
#include "events/FrmSucesos.h"
#include "historial/FrmPrecision.h"
#include "impresion/ImpresionVentanas.h"
#include "link/ConexionTablet.h"
#include "maint/frmMantenimiento.h"
#include "plan/FrmRodeos.h"
#include "plan/FrmViajes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

void FrmPrincipal::abrirViajes() {
    {
        FrmViajes ventana(this);
        ImpresionVentanas::enlazar(&ventana);
        ventana.exec();
    }
    mostrarEstimacion(); // the plan changed, so did the upload
}

void FrmPrincipal::abrirRodeos() {
    {
        FrmRodeos ventana(this);
        ventana.exec();
    }
    mostrarEstimacion();
}

void FrmPrincipal::abrirSucesos() {
    {
        FrmSucesos sucesos(datosSucesos(), this);
        ImpresionVentanas::enlazar(&sucesos);
        sucesos.exec();
    }
    avisarStock(); // a download brings loads that use stock up
    // The events window had its own connection to the tablet: the main one is made again.
    if (!TxtDir->text().isEmpty())
        conexion_->conectar(TxtDir->text());
}

void FrmPrincipal::abrirRespaldo() {
    abrirMantenimiento(0);
}

void FrmPrincipal::abrirMantenimiento(qint16 accion) {
    bool restaurada = false;
    {
        frmMantenimiento ventana(accion, this);
        ventana.exec();
        restaurada = ventana.baseRestaurada();
    }
    actualizarSaludRespaldo();
    // The restored database may hold other connection settings than the boxes show.
    if (restaurada && OptWeb->isChecked())
        alElegirWeb();
    else if (restaurada)
        alElegirDirecta();
}

void FrmPrincipal::abrirPrecision() {
    FrmPrecision ventana(this);
    ImpresionVentanas::enlazar(&ventana);
    ventana.exec();
}

void FrmPrincipal::abrirCostos() {
    {
        FrmCostos ventana(this);
        ventana.exec();
    }
    avisarStock(); // prices, receipts, counts or the threshold may have changed
}

void FrmPrincipal::avisarStock() {
    const QString aviso = AvisoStock::textoHoy();
    LblAvisoStock->setText(aviso);
    LblAvisoStock->setVisible(!aviso.isEmpty());
}
