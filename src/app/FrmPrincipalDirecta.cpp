// "Enviar Programacion" over the direct link to the tablet.
#include "app/FrmPrincipal.h"

void FrmPrincipal::Conexion_Directa() {}
