// "Enviar Programacion" over the direct link to the tablet.
#include "app/FrmPrincipal.h"
#include "link/ConexionTablet.h"
#include "link/EnvioDirecto.h"
#include "ui/Dialogos.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

void FrmPrincipal::conexionDirecta() {
    auto* envio = new EnvioDirecto(conexion_->socket(), this);
    envio_ = envio;
    connect(envio, &EnvioDirecto::etiqueta, Lbl, &QLabel::setText);
    connect(envio, &EnvioDirecto::maximoBarra, Bar, &QProgressBar::setMaximum);
    connect(envio, &EnvioDirecto::valorBarra, Bar, &QProgressBar::setValue);
    connect(envio, &EnvioDirecto::barraVisible, Bar, &QProgressBar::setVisible);
    connect(envio, &EnvioDirecto::terminado, this, [this] {
        if (envioTerminado())
            Lbl->setText(kProgramacionEnviada);
    });
    connect(envio, &EnvioDirecto::interrumpido, this, &FrmPrincipal::envioTerminado);
    connect(envio, &EnvioDirecto::fallo, this, [this](const Mensaje& m) {
        Bar->setVisible(false);
        if (envioTerminado())
            Dialogos::mostrar(this, m);
    });
    ponerOcupado(true);
    envio->iniciar(Bar->maximum());
}
