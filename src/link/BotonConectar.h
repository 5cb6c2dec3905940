#pragma once

#include "link/ConexionTablet.h"

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;

// The "Conectar" / "Conectado..." button of a window's own connection to the tablet, used by the
// main window and the events window. The caption shows the connection's state; a click connects
// to the address typed in the window, or says goodbye to the tablet.
class BotonConectar : public QObject {
    Q_OBJECT
public:
    static const QString kConectar;
    static const QString kConectado;

    // Lives as long as the button; the address box and the connection must outlive it.
    BotonConectar(QPushButton* boton, const QLineEdit* direccion, ConexionTablet* conexion);

    // The click: "Conectar" asks for an address or starts connecting to it (a failure is not
    // reported); "Conectado..." says goodbye.
    void pulsar();

private:
    void mostrar(ConexionTablet::Estado estado);

    QPushButton* boton_;
    const QLineEdit* direccion_;
    ConexionTablet* conexion_;
};
