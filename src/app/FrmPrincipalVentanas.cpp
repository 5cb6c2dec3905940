// The buttons of the main window that open the other windows.
#include "app/FrmPrincipal.h"

#include "plan/FrmRodeos.h"
#include "plan/FrmViajes.h"

void FrmPrincipal::Command1_Click() {
    FrmViajes ventana(this);
    ventana.exec();
}

void FrmPrincipal::Command2_Click() {
    FrmRodeos ventana(this);
    ventana.exec();
}

void FrmPrincipal::Command3_Click() {}

void FrmPrincipal::Command4_Click() {}
