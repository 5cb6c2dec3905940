#pragma once

#include "link/ConexionTablet.h"

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The "Conectar" / "Conectado..." button of a window's own connection to the tablet, used by the
// main window and the events window. The caption follows the socket ("Conectado..." only while it
// is connected); a click connects to the address typed in the window, or says goodbye to the
// tablet. A status line under the address tells a connect under way and why one failed or ended.
class BotonConectar : public QObject {
    Q_OBJECT
public:
    static const QString kConectar;
    static const QString kConectado;

    // Lives as long as the button; the address box and the connection must outlive it.
    BotonConectar(QPushButton* boton, const QLineEdit* direccion, ConexionTablet* conexion);

    // The status line, named `LblEstadoConexion`, for the window to place under the address box.
    // Its accessible name is the message it shows ("Estado de la conexión" while empty).
    QLabel* estado() const { return estado_; }

    // The click: "Conectar" asks for an address or starts connecting to it; "Conectado..." says
    // goodbye.
    void pulsar();

private:
    void mostrar(ConexionTablet::Estado estado);
    void fallo(const QString& motivo);
    void ponerEstado(const QString& texto);

    QLabel* estado_;

    QPushButton* boton_;
    const QLineEdit* direccion_;
    ConexionTablet* conexion_;
};
