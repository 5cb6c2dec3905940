// "RECIBIR" through the web service, used while the direct-link frame is hidden.
#include "events/FrmSucesos.h"

#include "ui/Dialogos.h"
#include "web/DescargaWeb.h"

#include <QPushButton>

void FrmSucesos::Recibir_web() {
    if (findChild<DescargaWeb*>())
        return; // one download at a time
    limpiarLista();
    auto* descarga = new DescargaWeb(datos_.web, desde(), hasta(), this);
    // The window stays responsive while the server answers; "RECIBIR" waits for the end.
    CMDREC->setEnabled(false);
    setCursor(Qt::BusyCursor);
    connect(descarga, &DescargaWeb::avance, this,
            [this](const QString& texto) { CMDREC->setToolTip(texto); });
    connect(descarga, &DescargaWeb::fila, this, &FrmSucesos::agregarFila);
    connect(descarga, &DescargaWeb::terminado, this, [this, descarga](DescargaWeb::Fin, const Mensaje& m) {
        setOperarioActual(descarga->operarioActual());
        descarga->deleteLater();
        unsetCursor();
        CMDREC->setToolTip(QString());
        CMDREC->setEnabled(true);
        if (!m.texto.isEmpty())
            Dialogos::mostrar(this, m);
    });
    descarga->iniciar();
}
