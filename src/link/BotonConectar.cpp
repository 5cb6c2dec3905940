#include "link/BotonConectar.h"

#include "ui/Accesible.h"
#include "ui/Dialogos.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QString BotonConectar::kConectar = QStringLiteral("Conectar");
const QString BotonConectar::kConectado = QStringLiteral("Conectado...");

namespace {
const QString kNombreEstado = QStringLiteral("Estado de la conexión");
}

BotonConectar::BotonConectar(QPushButton* boton, const QLineEdit* direccion, ConexionTablet* conexion)
    : QObject(boton), boton_(boton), direccion_(direccion), conexion_(conexion) {
    estado_ = new QLabel(boton->parentWidget());
    estado_->setObjectName(QStringLiteral("LblEstadoConexion"));
    estado_->setAccessibleDescription(kNombreEstado);
    estado_->setWordWrap(true);
    estado_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mostrar(conexion->estado());
    connect(conexion, &ConexionTablet::estadoCambiado, this, &BotonConectar::mostrar);
    connect(conexion, &ConexionTablet::error, this, &BotonConectar::fallo);
}

void BotonConectar::pulsar() {
    if (conexion_->estado() == ConexionTablet::Estado::Conectado) {
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
    Accesible::caption(boton_, estado == ConexionTablet::Estado::Conectado ? kConectado : kConectar);
    if (estado == ConexionTablet::Estado::Conectando)
        ponerEstado(QStringLiteral("Conectando con %1...").arg(conexion_->destino()));
    else if (estado != ConexionTablet::Estado::Perdida)
        ponerEstado({}); // a failure's reason follows in fallo()
}

void BotonConectar::fallo(const QString& motivo) {
    // The connection announces the failure after its new state.
    const QString formato = conexion_->estado() == ConexionTablet::Estado::Perdida
                                ? QStringLiteral("Se perdió la conexión con %1: %2")
                                : QStringLiteral("No se pudo conectar con %1: %2");
    ponerEstado(formato.arg(conexion_->destino(), motivo));
}

void BotonConectar::ponerEstado(const QString& texto) {
    estado_->setText(texto);
    // A screen reader reads the name: it is the message itself, not what the line is for.
    estado_->setAccessibleName(texto.isEmpty() ? kNombreEstado : texto);
}
