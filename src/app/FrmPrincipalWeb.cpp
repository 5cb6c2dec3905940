// "Enviar Programacion" through the web service.
#include "app/FrmPrincipal.h"

#include "ui/Dialogos.h"
#include "web/EnvioWeb.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

void FrmPrincipal::conexionWeb() {
    auto* envio = new EnvioWeb({TxtServ->text(), TXTUS->text(), TXTPASS->text()}, this);
    envio_ = envio;
    // The window stays responsive while the statements travel; the exchange buttons wait.
    ponerOcupado(true);
    Bar->setRange(0, 0);
    Bar->setVisible(true);
    connect(envio, &EnvioWeb::avance, Lbl, &QLabel::setText);
    auto fin = [this] {
        Bar->setVisible(false);
        Bar->setRange(0, 100);
        Lbl->clear();
        return envioTerminado();
    };
    connect(envio, &EnvioWeb::terminado, this, [this, fin](const Mensaje& m, bool exito) {
        if (!fin())
            return;
        if (exito)
            Lbl->setText(kProgramacionEnviada);
        Dialogos::mostrar(this, m);
    });
    connect(envio, &EnvioWeb::interrumpida, this, fin);
    envio->iniciar();
}
