// "Enviar Programacion" through the web service.
#include "app/FrmPrincipal.h"

void FrmPrincipal::Conexion_Web() {}
