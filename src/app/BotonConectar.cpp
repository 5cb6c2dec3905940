#include "app/BotonConectar.h"

#include "ui/Accesible.h"
#include "ui/Dialogos.h"
#include "link/DireccionTablet.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>

namespace BotonConectar {

void click(QWidget* ventana, QPushButton* boton, const QLineEdit* direccion, QTcpSocket* ws,
           Despedida despedida) {
    if (boton->text() == kConectar) {
        if (direccion->text().isEmpty()) {
            Dialogos::mostrar(
                ventana, {QStringLiteral("Ingrese el ip de la tablet para conectarse"), Icono::Exclamacion});
            return;
        }
        ws->abort();
        const DireccionTablet d = DireccionTablet::leer(direccion->text());
        ws->connectToHost(d.host, d.puerto);
    } else if (boton->text() == kConectado) {
        Accesible::caption(boton, kConectar);
        const bool enviar = despedida == Despedida::SiNoEstaCerrado
                                ? ws->state() != QAbstractSocket::UnconnectedState
                                : ws->isWritable();
        if (enviar)
            ws->write(kDesconectar);
    }
}

void conectado(QPushButton* boton) {
    Accesible::caption(boton, kConectado);
}

} // namespace BotonConectar
