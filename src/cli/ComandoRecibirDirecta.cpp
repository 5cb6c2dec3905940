// tolvaro-cli recibir --directa: the events of the tablet over TCP, as CSV.
#include "cli/Comandos.h"

#include "db/Ajustes.h"
#include "events/HistorialSucesos.h"
#include "link/DireccionTablet.h"
#include "link/RecepcionSucesos.h"

#include <QDate>
#include <QEventLoop>
#include <QTcpSocket>
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

// Reads "--directa [HOST[:PORT]] --desde D --hasta D [--csv F] [--xlsx F] [--espera S]"; the error text
// when they are wrong.
std::optional<QString> leerOpciones(const QStringList& args, OpcionesRecibir* o) {
    QString desde;
    QString hasta;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        auto valor = [&](const QString& nombre, QString* destino) {
            if (a == nombre) {
                if (i + 1 >= args.size())
                    return false;
                *destino = args[++i];
                return true;
            }
            *destino = a.mid(nombre.size() + 1);
            return true;
        };
        auto es = [&](const char* nombre) {
            const QString n = QString::fromLatin1(nombre);
            return a == n || a.startsWith(n + u'=');
        };
        if (a == QStringLiteral("--directa")) {
            if (i + 1 < args.size() && !args[i + 1].startsWith(QStringLiteral("--")))
                o->direccion = args[++i];
        } else if (es("--desde")) {
            if (!valor(QStringLiteral("--desde"), &desde))
                return QStringLiteral("Falta la fecha después de --desde");
        } else if (es("--hasta")) {
            if (!valor(QStringLiteral("--hasta"), &hasta))
                return QStringLiteral("Falta la fecha después de --hasta");
        } else if (es("--csv")) {
            if (!valor(QStringLiteral("--csv"), &o->csv) || o->csv.isEmpty())
                return QStringLiteral("Falta el archivo después de --csv");
        } else if (es("--xlsx")) {
            if (!valor(QStringLiteral("--xlsx"), &o->xlsx) || o->xlsx.isEmpty())
                return QStringLiteral("Falta el archivo después de --xlsx");
        } else if (es("--espera")) {
            QString s;
            bool ok = false;
            const int segundos = valor(QStringLiteral("--espera"), &s) ? s.toInt(&ok) : 0;
            if (!ok || segundos <= 0)
                return QStringLiteral("--espera lleva un número de segundos");
            o->esperaMs = segundos * 1000;
        } else {
            return QStringLiteral("Opción desconocida: ") + a;
        }
    }
    if (desde.isEmpty() || hasta.isEmpty())
        return QStringLiteral("Indique --desde y --hasta (AAAA-MM-DD)");
    o->desde = QDate::fromString(desde, QStringLiteral("yyyy-MM-dd"));
    o->hasta = QDate::fromString(hasta, QStringLiteral("yyyy-MM-dd"));
    if (!o->desde.isValid())
        return QStringLiteral("Fecha no válida en --desde: ") + desde;
    if (!o->hasta.isValid())
        return QStringLiteral("Fecha no válida en --hasta: ") + hasta;
    return std::nullopt;
}

} // namespace

int recibirDirecta(const QStringList& args, ContextoCli& ctx) {
    OpcionesRecibir o;
    if (const auto error = leerOpciones(args, &o)) {
        ctx.errores << *error << Qt::endl << "'tolvaro-cli recibir --help' describe el comando." << Qt::endl;
        return 2;
    }
    if (o.direccion.isEmpty()) {
        Leer_Conexion(QStringLiteral("directa"));
        o.direccion = Direccion_Conexion.trimmed();
        if (o.direccion.isEmpty()) {
            ctx.errores << "No hay dirección de la tablet guardada: indíquela después de --directa"
                        << Qt::endl;
            return 2;
        }
    }

    const DireccionTablet destino = DireccionTablet::leer(o.direccion);
    RecepcionSucesos recepcion;
    QList<FilaEvento> filas;
    QTcpSocket ws;
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
    QObject::connect(&ws, &QTcpSocket::connected, [&] {
        ws.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        recepcion.iniciar(o.desde, o.hasta, o.direccion);
        ws.write(RecepcionSucesos::pedidoCodificado(o.desde, o.hasta));
        silencio.start();
    });
    QObject::connect(&ws, &QTcpSocket::readyRead, [&] {
        silencio.start();
        for (const PasoRecepcion& p : recepcion.recibir(ws.readAll())) {
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
    QObject::connect(&ws, &QAbstractSocket::errorOccurred, [&](QAbstractSocket::SocketError) {
        if (resultado >= 0)
            return;
        ctx.errores << "Error de conexión con la tablet " << o.direccion << ": " << ws.errorString()
                    << Qt::endl;
        terminar(1);
    });

    ws.connectToHost(destino.host, destino.puerto);
    silencio.start();
    if (resultado < 0)
        bucle.exec();
    silencio.stop();

    if (ws.state() == QAbstractSocket::ConnectedState) {
        ws.write("'desconectar'");
        ws.flush();
    }
    ws.abort();
    if (resultado != 0)
        return resultado; // a download cut short leaves no file that could pass for a whole one

    // Records that could not be read were each reported above, and the closing line counted
    // them: the rows that came are still written (and kept in the history), and the exit code
    // says the download was not whole.
    const bool escrito = escribirSucesos(filas, o.csv, o.xlsx, ctx);
    const bool guardado = guardarEnHistorial(filas, HistorialSucesos::kDirecta, ctx);
    return escrito && guardado && recepcion.ilegibles() == 0 ? 0 : 1;
}
