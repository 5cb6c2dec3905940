// "RECIBIR" through the web service, used while the direct-link frame is hidden.
#include "events/FrmSucesos.h"

void FrmSucesos::Recibir_web() {}
