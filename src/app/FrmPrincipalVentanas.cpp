// The buttons of the main window that open the other windows.
#include "app/FrmPrincipal.h"

void FrmPrincipal::Command1_Click() {}

void FrmPrincipal::Command2_Click() {}

void FrmPrincipal::Command3_Click() {}

void FrmPrincipal::Command4_Click() {}
