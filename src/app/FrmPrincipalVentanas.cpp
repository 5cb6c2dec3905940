// The buttons of the main window that open the other windows.
#include "app/FrmPrincipal.h"

#include "events/FrmSucesos.h"
#include "link/ConexionTablet.h"
#include "plan/FrmRodeos.h"
#include "plan/FrmViajes.h"

#include <QLineEdit>
#include <QPushButton>

void FrmPrincipal::Command1_Click() {
    FrmViajes ventana(this);
    ventana.exec();
}

void FrmPrincipal::Command2_Click() {
    FrmRodeos ventana(this);
    ventana.exec();
}

void FrmPrincipal::Command3_Click() {
    {
        FrmSucesos sucesos(datosSucesos(), this);
        sucesos.exec();
    }
    // The events window had its own connection to the tablet: the main one is made again.
    if (!TxtDir->text().isEmpty())
        conexion_->conectar(TxtDir->text());
}

void FrmPrincipal::Command4_Click() {}
