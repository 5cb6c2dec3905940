// "RECIBIR" through the web service, used while the direct-link frame is hidden.
#include "events/FrmSucesos.h"

#include "ui/Dialogos.h"
#include "web/DescargaWeb.h"

#include <QPushButton>

#include <memory>

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
    // The download goes on while a box is open: the messages that come meanwhile wait and are
    // shown one after the other, in the order they came (each unreadable row's error, then the end).
    auto pendientes = std::make_shared<QList<Mensaje>>();
    auto mostrando = std::make_shared<bool>(false);
    auto avisar = [this, pendientes, mostrando](const Mensaje& m) {
        pendientes->append(m);
        if (*mostrando)
            return;
        *mostrando = true;
        while (!pendientes->isEmpty())
            Dialogos::mostrar(this, pendientes->takeFirst());
        *mostrando = false;
    };
    connect(descarga, &DescargaWeb::registroIlegible, this, avisar);
    connect(descarga, &DescargaWeb::terminado, this,
            [this, descarga, avisar](DescargaWeb::Fin, const Mensaje& m) {
                setOperarioActual(descarga->operarioActual());
                descarga->deleteLater();
                unsetCursor();
                CMDREC->setToolTip(QString());
                CMDREC->setEnabled(true);
                if (!m.texto.isEmpty())
                    avisar(m);
            });
    descarga->iniciar();
}
