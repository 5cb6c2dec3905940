// tolvaro-cli recibir --directa: the events of the tablet over TCP, as CSV.
#include "cli/Comandos.h"

#include "db/Ajustes.h"
#include "events/HistorialSucesos.h"
#include "link/ConexionTablet.h"
#include "link/RecepcionSucesos.h"

#include <QDate>
#include <QEventLoop>
#include <QTimer>

namespace {

struct OpcionesRecibir {
    QString direccion;
    QDate desde;
    QDate hasta;
    QString csv;
    QString xlsx;
    int esperaMs = 30000; // silence of the tablet that ends the download as failed
};

// The options of "--directa [HOST[:PORT]] --desde D --hasta D [--csv F] [--xlsx F] [--espera S]";
// the error text when they are wrong.
std::optional<QString> leerOpciones(const QCommandLineParser& p, OpcionesRecibir* o) {
    if (const auto ajena = OpcionesCli::primeraDada(p, OpcionesCli::kOpcionesWeb))
        return QStringLiteral("Opción desconocida: ") + *ajena;
    const QStringList posicionales = p.positionalArguments();
    if (posicionales.size() > 1)
        return QStringLiteral("Opción desconocida: ") + posicionales.at(1);
    o->direccion = posicionales.value(0);
    o->csv = p.value(QStringLiteral("csv"));
    if (p.isSet(QStringLiteral("csv")) && o->csv.isEmpty())
        return QStringLiteral("Falta el archivo después de --csv");
    o->xlsx = p.value(QStringLiteral("xlsx"));
    if (p.isSet(QStringLiteral("xlsx")) && o->xlsx.isEmpty())
        return QStringLiteral("Falta el archivo después de --xlsx");
    if (p.isSet(QStringLiteral("espera"))) {
        bool ok = false;
        const int segundos = p.value(QStringLiteral("espera")).toInt(&ok);
        if (!ok || segundos <= 0)
            return QStringLiteral("--espera lleva un número de segundos");
        o->esperaMs = segundos * 1000;
    }
    return OpcionesCli::leerFechas(p, &o->desde, &o->hasta);
}

} // namespace

int recibirDirecta(const QCommandLineParser& p, ContextoCli& ctx) {
    OpcionesRecibir o;
    if (const auto error = leerOpciones(p, &o))
        return errorDeUso(*error, "recibir", ctx);
    if (o.direccion.isEmpty()) {
        o.direccion =
            leerConexion(QStringLiteral("directa")).ajustes.value_or(AjustesConexion{}).direccion.trimmed();
        if (o.direccion.isEmpty()) {
            ctx.errores << "No hay dirección de la tablet guardada: indíquela después de --directa"
                        << Qt::endl;
            return 2;
        }
    }

    RecepcionSucesos recepcion;
    QList<FilaEvento> filas;
    ConexionTablet conexion;
    QEventLoop bucle;
    QTimer silencio;
    silencio.setSingleShot(true);
    silencio.setInterval(o.esperaMs);
    int resultado = -1;
    auto terminar = [&](int r) {
        if (resultado < 0) {
            resultado = r;
            bucle.quit();
        }
    };

    QObject::connect(&silencio, &QTimer::timeout, [&] {
        ctx.errores << "La tablet " << o.direccion << " no respondió en " << o.esperaMs / 1000 << " s ("
                    << filas.size() << " registros recibidos)" << Qt::endl;
        terminar(1);
    });
    QObject::connect(&conexion, &ConexionTablet::estadoCambiado, [&](ConexionTablet::Estado e) {
        if (e != ConexionTablet::Estado::Conectado)
            return;
        recepcion.iniciar(o.desde, o.hasta, o.direccion);
        conexion.enviar(RecepcionSucesos::pedidoCodificado(o.desde, o.hasta));
        silencio.start();
    });
    QObject::connect(&conexion, &ConexionTablet::llegada, [&](const QByteArray& datos) {
        silencio.start();
        for (const PasoRecepcion& p : recepcion.recibir(datos)) {
            if (p.fila)
                filas << *p.fila;
            // Errors of single records are reported and the download goes on; the final
            // message of a complete download is not news, the count of unreadable records is.
            if (p.mensaje && !(p.termina && p.mensaje->icono == Icono::Informacion))
                ctx.errores << p.mensaje->texto << Qt::endl;
            if (p.termina) {
                terminar(0);
                return;
            }
        }
    });
    QObject::connect(&conexion, &ConexionTablet::error, [&](const QString& motivo) {
        if (resultado >= 0)
            return;
        ctx.errores << "Error de conexión con la tablet " << o.direccion << ": " << motivo << Qt::endl;
        terminar(1);
    });

    conexion.conectar(o.direccion);
    silencio.start();
    if (resultado < 0)
        bucle.exec();
    silencio.stop();

    if (conexion.enLinea())
        conexion.despedirse();
    conexion.cerrar();
    if (resultado != 0)
        return resultado; // a download cut short leaves no file that could pass for a whole one

    // Records that could not be read were each reported above, and the closing line counted
    // them: the rows that came are still written (and kept in the history), and the exit code
    // says the download was not whole.
    const bool escrito = escribirSucesos(filas, o.csv, o.xlsx, ctx);
    const bool guardado = guardarEnHistorial(filas, HistorialSucesos::kDirecta, ctx);
    return escrito && guardado && recepcion.ilegibles() == 0 ? 0 : 1;
}
