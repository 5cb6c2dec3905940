#pragma once

#include <QByteArray>
#include <QString>

class QLineEdit;
class QPushButton;
class QTcpSocket;
class QWidget;

// The "Conectar" / "Conectado..." button that both the main window and the events window use for
// their own connection to the tablet. Its caption is the connection state.
namespace BotonConectar {

inline const QString kConectar = QStringLiteral("Conectar");
inline const QString kConectado = QStringLiteral("Conectado...");
inline const QByteArray kDesconectar = QByteArrayLiteral("'desconectar'");

// When "'desconectar'" goes out on a click of "Conectado...".
enum class Despedida {
    SiNoEstaCerrado, // any state but closed (a pending connection takes it once made)
    SiEstaAbierto,   // only on an open connection; otherwise nothing is sent
};

// "Conectar": asks for an address, or starts connecting to it (errors are never reported).
// "Conectado...": back to "Conectar", saying goodbye to the tablet.
void click(QWidget* ventana, QPushButton* boton, const QLineEdit* direccion, QTcpSocket* ws,
           Despedida despedida);

// The connection is up.
void conectado(QPushButton* boton);

} // namespace BotonConectar
