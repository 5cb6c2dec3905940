// "RECIBIR" through the web service, used while the direct-link frame is hidden.
#include "events/FrmSucesos.h"

#include <QPushButton>

void FrmSucesos::recibirWeb() {
    if (descarga_->enCurso())
        return; // one download at a time
    limpiarLista();
    // The window stays responsive while the server answers; "RECIBIR" waits for the end.
    CMDREC->setEnabled(false);
    setCursor(Qt::BusyCursor);
    connect(descarga_, &DescargaSucesos::avance, CMDREC, &QPushButton::setToolTip, Qt::UniqueConnection);
    descarga_->iniciarWeb(datos_.web, desde(), hasta());
}

void FrmSucesos::webTerminada() {
    unsetCursor();
    CMDREC->setToolTip(QString());
    CMDREC->setEnabled(true);
}
