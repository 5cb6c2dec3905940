// tolvaro-cli enviar --directa: the programme to the tablet over TCP.
#include "cli/Comandos.h"
#include "core/Cp1252.h"
#include "db/Ajustes.h"
#include "link/DireccionTablet.h"
#include "link/EnvioDirecto.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr int kEsperaConexionMs = 10000;
constexpr int kEsperaOkMs = 30000;
constexpr int kEsperaCierreMs = 2000;
} // namespace

int enviarDirecta(const QStringList& args, ContextoCli& ctx) {
    QString texto;
    for (const QString& a : args) {
        if (a == QStringLiteral("--directa"))
            continue;
        if (a.startsWith(QStringLiteral("-")) || !texto.isEmpty()) {
            ctx.errores << "Argumento inesperado: " << a << Qt::endl;
            return 2;
        }
        texto = a;
    }
    if (texto.isEmpty()) {
        if (const auto e = Leer_Conexion(QStringLiteral("directa"))) {
            ctx.errores << "No se pudo leer la dirección guardada: " << e->descripcion << Qt::endl;
            return 1;
        }
        texto = Direccion_Conexion.trimmed();
        if (texto.isEmpty()) {
            ctx.errores << "No hay una dirección de tablet guardada: indique HOST[:PUERTO]" << Qt::endl;
            return 2;
        }
    }
    const DireccionTablet dir = DireccionTablet::leer(texto);
    if (dir.host.isEmpty()) {
        ctx.errores << "Dirección de tablet no válida: " << texto << Qt::endl;
        return 2;
    }

    QTcpSocket socket;
    QEventLoop bucle;
    QTimer plazo;
    plazo.setSingleShot(true);
    QObject::connect(&plazo, &QTimer::timeout, &bucle, &QEventLoop::quit);

    // Connect.
    QObject::connect(&socket, &QTcpSocket::connected, &bucle, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &bucle, &QEventLoop::quit);
    ctx.salida << "Conectando con " << dir.host << ":" << dir.puerto << Qt::endl;
    socket.connectToHost(dir.host, dir.puerto);
    plazo.start(kEsperaConexionMs);
    bucle.exec();
    if (socket.state() != QAbstractSocket::ConnectedState) {
        ctx.errores << "No se pudo conectar con la tablet en " << dir.host << ":" << dir.puerto << ": "
                    << (plazo.isActive() ? socket.errorString() : QStringLiteral("tiempo agotado"))
                    << Qt::endl;
        return 1;
    }
    plazo.stop();
    QObject::disconnect(&socket, nullptr, &bucle, nullptr);
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);

    // Send, as the window does, and watch for the acknowledgement meanwhile.
    bool ok = false;
    bool terminado = false;
    QString falla;
    QString recibido;
    QObject::connect(&socket, &QTcpSocket::readyRead, &bucle, [&] {
        recibido += Cp1252::decodificar(socket.readAll());
        if (!ok && recibido.contains(QStringLiteral("ok"))) {
            ok = true;
            ctx.salida << "La tablet confirmó la recepción (ok)" << Qt::endl;
            if (terminado)
                bucle.quit();
        }
    });
    EnvioDirecto envio(&socket);
    QString rotulo;
    int maximo = 100;
    QObject::connect(&envio, &EnvioDirecto::etiqueta, [&](const QString& t) {
        rotulo = t;
        ctx.salida << t << Qt::endl;
    });
    QObject::connect(&envio, &EnvioDirecto::maximoBarra, [&](int m) { maximo = m; });
    QObject::connect(&envio, &EnvioDirecto::valorBarra, [&](int v) {
        if (v > 0)
            ctx.salida << "  " << rotulo << " " << v << "/" << maximo << Qt::endl;
    });
    QObject::connect(&envio, &EnvioDirecto::finEnviado, [&] {
        ctx.salida << "'fin' enviado" << Qt::endl;
        plazo.start(kEsperaOkMs);
    });
    QObject::connect(&envio, &EnvioDirecto::terminado, [&] {
        terminado = true;
        if (ok)
            bucle.quit();
    });
    QObject::connect(&envio, &EnvioDirecto::fallo, [&](const Mensaje& m) {
        falla = m.texto;
        bucle.quit();
    });
    // A tablet that closes after "'fin'" without "ok" will not answer any more.
    QObject::connect(&socket, &QTcpSocket::disconnected, &bucle, [&] {
        if (terminado || plazo.isActive())
            bucle.quit();
    });
    envio.iniciar(maximo);
    if (envio.enCurso())
        bucle.exec();

    int resultado = 0;
    if (!falla.isEmpty()) {
        ctx.errores << falla << Qt::endl;
        resultado = 1;
    } else if (!ok) {
        ctx.errores << (socket.state() == QAbstractSocket::ConnectedState
                            ? "La tablet no confirmó la recepción (no respondió \"ok\" en 30 segundos)"
                            : "La tablet cerró la conexión sin confirmar la recepción (no respondió \"ok\")")
                    << Qt::endl;
        resultado = 1;
    } else {
        ctx.salida << "Los datos se enviaron a Tolvaro® correctamente" << Qt::endl;
    }

    // Leave as the window does, and let the bytes go out before closing.
    plazo.stop();
    if (socket.state() == QAbstractSocket::ConnectedState) {
        socket.write("'desconectar'");
        QObject::connect(&socket, &QTcpSocket::disconnected, &bucle, &QEventLoop::quit);
        socket.disconnectFromHost();
        if (socket.state() != QAbstractSocket::UnconnectedState) {
            plazo.start(kEsperaCierreMs);
            bucle.exec();
        }
    }
    socket.abort();
    return resultado;
}
