#include "link/BotonConectar.h"

#include "ui/Accesible.h"
#include "ui/Dialogos.h"

#include <QLineEdit>
#include <QPushButton>

const QString BotonConectar::kConectar = QStringLiteral("Conectar");
const QString BotonConectar::kConectado = QStringLiteral("Conectado...");

namespace {
// A connection the tablet ended is not reported: the button keeps saying "Conectado..." until it
// is clicked, and the click then only changes the caption.
bool pareceConectada(ConexionTablet::Estado e) {
    return e == ConexionTablet::Estado::Conectado || e == ConexionTablet::Estado::Perdida;
}
} // namespace

BotonConectar::BotonConectar(QPushButton* boton, const QLineEdit* direccion, ConexionTablet* conexion)
    : QObject(boton), boton_(boton), direccion_(direccion), conexion_(conexion) {
    mostrar(conexion->estado());
    connect(conexion, &ConexionTablet::estadoCambiado, this, &BotonConectar::mostrar);
}

void BotonConectar::pulsar() {
    if (pareceConectada(conexion_->estado())) {
        conexion_->despedirse();
        return;
    }
    if (direccion_->text().isEmpty()) {
        Dialogos::mostrar(boton_->window(),
                          {QStringLiteral("Ingrese el ip de la tablet para conectarse"), Icono::Exclamacion});
        return;
    }
    conexion_->conectar(direccion_->text());
}

void BotonConectar::mostrar(ConexionTablet::Estado estado) {
    Accesible::caption(boton_, pareceConectada(estado) ? kConectado : kConectar);
}
