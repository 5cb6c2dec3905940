// tolvaro-cli enviar --directa: the programme to the tablet over TCP.
#include "cli/Comandos.h"
#include "db/Ajustes.h"
#include "link/ConexionTablet.h"
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

    ConexionTablet conexion;
    QEventLoop bucle;
    QTimer plazo;
    plazo.setSingleShot(true);
    QObject::connect(&plazo, &QTimer::timeout, &bucle, &QEventLoop::quit);

    // Connect.
    QString motivo = QStringLiteral("tiempo agotado");
    QObject::connect(&conexion, &ConexionTablet::error, &bucle, [&](const QString& m) { motivo = m; });
    QObject::connect(&conexion, &ConexionTablet::estadoCambiado, &bucle, &QEventLoop::quit);
    ctx.salida << "Conectando con " << dir.host << ":" << dir.puerto << Qt::endl;
    conexion.conectar(dir);
    plazo.start(kEsperaConexionMs);
    bucle.exec();
    if (conexion.estado() != ConexionTablet::Estado::Conectado) {
        ctx.errores << "No se pudo conectar con la tablet en " << dir.host << ":" << dir.puerto << ": " << motivo
                    << Qt::endl;
        return 1;
    }
    plazo.stop();
    QObject::disconnect(&conexion, nullptr, &bucle, nullptr);

    // Send, as the window does, and watch for the acknowledgement meanwhile.
    bool ok = false;
    bool terminado = false;
    QString falla;
    QObject::connect(&conexion, &ConexionTablet::acuse, &bucle, [&] {
        if (!ok) {
            ok = true;
            ctx.salida << "La tablet confirmó la recepción (ok)" << Qt::endl;
            if (terminado)
                bucle.quit();
        }
    });
    EnvioDirecto envio(conexion.socket());
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
    QObject::connect(&conexion, &ConexionTablet::error, &bucle, [&] {
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
        ctx.errores << (conexion.enLinea()
                            ? "La tablet no confirmó la recepción (no respondió \"ok\" en 30 segundos)"
                            : "La tablet cerró la conexión sin confirmar la recepción (no respondió \"ok\")")
                    << Qt::endl;
        resultado = 1;
    } else {
        ctx.salida << ConexionTablet::mensajeAcuse().texto << Qt::endl;
    }

    // Leave as the window does, and let the bytes go out before closing.
    plazo.stop();
    if (conexion.enLinea()) {
        conexion.despedirse();
        QTcpSocket* socket = conexion.socket();
        QObject::connect(socket, &QTcpSocket::disconnected, &bucle, &QEventLoop::quit);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) {
            plazo.start(kEsperaCierreMs);
            bucle.exec();
        }
    }
    conexion.cerrar();
    return resultado;
}
