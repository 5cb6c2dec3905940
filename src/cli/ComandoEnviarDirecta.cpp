// tolvaro-cli enviar --directa: the programme to the tablet over TCP.
#include "cli/Comandos.h"
#include "cli/Espera.h"
#include "db/Ajustes.h"
#include "link/ConexionTablet.h"
#include "link/EnvioDirecto.h"

#include <QTcpSocket>

#include <memory>

namespace {
constexpr int kEsperaConexionMs = 10000;
constexpr int kEsperaOkMs = 30000;
constexpr int kEsperaCierreMs = 2000;

// The tablet named on the command line, or the saved one; the exit code when there is none.
std::optional<int> leerDireccion(const QCommandLineParser& p, DireccionTablet* dir, ContextoCli& ctx) {
    const QStringList posicionales = p.positionalArguments();
    std::optional<QString> inesperado = OpcionesCli::primeraDada(p, OpcionesCli::kOpcionesWeb);
    if (!inesperado && posicionales.size() > 1)
        inesperado = posicionales.at(1);
    if (inesperado) {
        ctx.errores << "Argumento inesperado: " << *inesperado << Qt::endl;
        return 2;
    }
    QString texto = posicionales.value(0);
    if (texto.isEmpty()) {
        const LecturaConexion l = leerConexion(QStringLiteral("directa"));
        if (l.error) {
            ctx.errores << "No se pudo leer la dirección guardada: " << l.error->descripcion << Qt::endl;
            return 1;
        }
        texto = l.ajustes.value_or(AjustesConexion{}).direccion.trimmed();
        if (texto.isEmpty()) {
            ctx.errores << "No hay una dirección de tablet guardada: indique HOST[:PUERTO]" << Qt::endl;
            return 2;
        }
    }
    *dir = DireccionTablet::leer(texto);
    if (dir->host.isEmpty()) {
        ctx.errores << "Dirección de tablet no válida: " << texto << Qt::endl;
        return 2;
    }
    return std::nullopt;
}

bool conectar(ConexionTablet& conexion, const DireccionTablet& dir, ContextoCli& ctx) {
    Espera espera(kEsperaConexionMs);
    QString motivo = QStringLiteral("tiempo agotado");
    QObject::connect(&conexion, &ConexionTablet::error, espera.contexto(),
                     [&](const QString& m) { motivo = m; });
    ctx.salida << "Conectando con " << dir.texto() << Qt::endl;
    conexion.conectar(dir);
    // A change told while the connection is being started is not yet its outcome.
    espera.terminarCon(&conexion, &ConexionTablet::estadoCambiado);
    espera.esperar();
    if (conexion.estado() == ConexionTablet::Estado::Conectado)
        return true;
    ctx.errores << "No se pudo conectar con la tablet en " << dir.texto() << ": " << motivo << Qt::endl;
    return false;
}

// The window's label and bar, as lines.
void mostrarAvance(const EnvioDirecto& envio, ContextoCli& ctx) {
    auto rotulo = std::make_shared<QString>();
    auto maximo = std::make_shared<int>(100);
    QObject::connect(&envio, &EnvioDirecto::etiqueta, [&ctx, rotulo](const QString& t) {
        *rotulo = t;
        ctx.salida << t << Qt::endl;
    });
    QObject::connect(&envio, &EnvioDirecto::maximoBarra, [maximo](int m) { *maximo = m; });
    QObject::connect(&envio, &EnvioDirecto::valorBarra, [&ctx, rotulo, maximo](int v) {
        if (v > 0)
            ctx.salida << "  " << *rotulo << " " << v << "/" << *maximo << Qt::endl;
    });
    QObject::connect(&envio, &EnvioDirecto::finEnviado,
                     [&ctx] { ctx.salida << "'fin' enviado" << Qt::endl; });
}

// Leaves as the window does, and lets the bytes go out before closing.
void despedirse(ConexionTablet& conexion) {
    if (conexion.enLinea()) {
        conexion.despedirse();
        conexion.socket()->disconnectFromHost();
        if (conexion.abierta()) {
            Espera espera(kEsperaCierreMs);
            espera.terminarCon(conexion.socket(), &QTcpSocket::disconnected);
            espera.esperar();
        }
    }
    conexion.cerrar();
}
} // namespace

int enviarDirecta(const QCommandLineParser& p, ContextoCli& ctx) {
    DireccionTablet dir;
    if (const std::optional<int> r = leerDireccion(p, &dir, ctx))
        return *r;
    ConexionTablet conexion;
    if (!conectar(conexion, dir, ctx))
        return 1;

    // Send, as the window does, and watch for the acknowledgement meanwhile: the upload is over
    // once both have come, or when it fails, or when the tablet stays silent or leaves after "'fin'".
    EnvioDirecto envio(conexion.socket());
    mostrarAvance(envio, ctx);
    Espera espera; // the acknowledgement's deadline starts once "'fin'" is out
    bool ok = false;
    bool terminado = false;
    QString falla;
    QObject::connect(&conexion, &ConexionTablet::acuse, espera.contexto(), [&] {
        if (!ok)
            ctx.salida << "La tablet confirmó la recepción (ok)" << Qt::endl;
        ok = true;
        if (terminado)
            espera.terminar();
    });
    QObject::connect(&envio, &EnvioDirecto::finEnviado, espera.contexto(),
                     [&] { espera.renovar(kEsperaOkMs); });
    QObject::connect(&envio, &EnvioDirecto::terminado, espera.contexto(), [&] {
        terminado = true;
        if (ok)
            espera.terminar();
    });
    QObject::connect(&envio, &EnvioDirecto::fallo, espera.contexto(), [&](const Mensaje& m) {
        falla = m.texto;
        espera.terminar();
    });
    QObject::connect(&conexion, &ConexionTablet::error, espera.contexto(), [&] {
        if (terminado || espera.conPlazo())
            espera.terminar();
    });
    envio.iniciar();
    if (envio.enCurso())
        espera.esperar();

    QString error = falla;
    if (error.isEmpty() && !ok)
        error =
            conexion.enLinea()
                ? QStringLiteral("La tablet no confirmó la recepción (no respondió \"ok\" en 30 segundos)")
                : QStringLiteral(
                      "La tablet cerró la conexión sin confirmar la recepción (no respondió \"ok\")");
    if (error.isEmpty())
        ctx.salida << ConexionTablet::mensajeAcuse().texto << Qt::endl;
    else
        ctx.errores << error << Qt::endl;
    despedirse(conexion);
    return error.isEmpty() ? 0 : 1;
}
