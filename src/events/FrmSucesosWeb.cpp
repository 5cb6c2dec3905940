// "RECIBIR" through the web service, used while the direct-link frame is hidden.
#include "events/FrmSucesos.h"

#include "ui/Dialogos.h"
#include "app/FrmPrincipal.h"
#include "events/HistorialSucesos.h"
#include "web/DescargaWeb.h"

#include <QPushButton>

void FrmSucesos::Recibir_web() {
    if (!principal_ || findChild<DescargaWeb*>())
        return; // one download at a time
    limpiarLista();
    auto* descarga =
        new DescargaWeb({principal_->servidorWeb(), principal_->usuarioWeb(), principal_->claveWeb()},
                        desde(), hasta(), this);
    // The window stays responsive while the server answers; "RECIBIR" waits for the end.
    CMDREC->setEnabled(false);
    setCursor(Qt::BusyCursor);
    connect(descarga, &DescargaWeb::avance, this,
            [this](const QString& texto) { CMDREC->setToolTip(texto); });
    connect(descarga, &DescargaWeb::fila, this, &FrmSucesos::agregarFila);
    connect(descarga, &DescargaWeb::terminado, this, [this, descarga](DescargaWeb::Fin fin, const Mensaje& m) {
        setOperarioActual(descarga->operarioActual());
        // Only a download that ran to its end is kept; a failed one leaves the history alone.
        if (fin == DescargaWeb::Fin::Normal)
            guardarHistorial(HistorialSucesos::kWeb);
        descarga->deleteLater();
        unsetCursor();
        CMDREC->setToolTip(QString());
        CMDREC->setEnabled(true);
        if (!m.texto.isEmpty())
            Dialogos::mostrar(this, m);
    });
    descarga->iniciar();
}
