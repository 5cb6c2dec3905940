// "Enviar Programacion" through the web service.
#include "app/FrmPrincipal.h"

#include "ui/Dialogos.h"
#include "web/EnvioWeb.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

void FrmPrincipal::Conexion_Web() {
    auto* envio = new EnvioWeb({TxtServ->text(), TXTUS->text(), TXTPASS->text()}, this);
    // The window stays responsive while the statements travel; the exchange buttons wait.
    ponerOcupado(true);
    Bar->setRange(0, 0);
    Bar->setVisible(true);
    connect(envio, &EnvioWeb::avance, Lbl, &QLabel::setText);
    connect(envio, &EnvioWeb::terminado, this, [this, envio](const Mensaje& m, bool exito) {
        envio->deleteLater();
        Bar->setVisible(false);
        Bar->setRange(0, 100);
        if (exito)
            Lbl->setText(kProgramacionEnviada);
        else
            Lbl->clear();
        ponerOcupado(false);
        Dialogos::mostrar(this, m);
    });
    envio->iniciar();
}
