// nremoto-sim: a stand-in for the web-service script. Each GET /nremoto.php carries one SQL statement
// as its body; the statement runs on a MariaDB database and the reply is JSON rows, 200 or 500.
#include "BaseRemota.h"
#include "RespuestaJson.h"
#include "ServidorHttp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTime>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

bool correrGuion(BaseRemota& base, const QString& archivo) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly)) {
        std::cerr << "No se puede leer " << archivo.toStdString() << ": " << f.errorString().toStdString()
                  << std::endl;
        return false;
    }
    const QByteArray guion = f.readAll();
    if (guion.trimmed().isEmpty())
        return true;
    if (!base.ejecutarGuion(guion.toStdString())) {
        std::cerr << archivo.toStdString() << ": " << base.error() << std::endl;
        return false;
    }
    return true;
}

std::string registro(const httplib::Request& req, const httplib::Response& res) {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString() + " " + req.method +
           " " + req.target + " " + std::to_string(res.status) + " " + req.body;
}

} // namespace

int main(int argc, char** argv) {
    // SIGINT and SIGTERM are taken by one thread that stops the server, so the program ends cleanly.
    sigset_t senales;
    sigemptyset(&senales);
    sigaddset(&senales, SIGINT);
    sigaddset(&senales, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &senales, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nremoto-sim"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Servicio web de prueba: ejecuta el SQL del cuerpo de cada GET /nremoto.php en MariaDB y responde "
        "filas JSON (200), 200 para sentencias sin filas, o 500 con el mensaje del servidor."));
    p.addHelpOption();
    const QCommandLineOption puerto(QStringLiteral("puerto"),
                                    QStringLiteral("Puerto en 127.0.0.1 (0 elige uno libre)."),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption socket(QStringLiteral("socket"),
                                    QStringLiteral("Socket unix del servidor MariaDB."),
                                    QStringLiteral("RUTA"));
    const QCommandLineOption base(QStringLiteral("base"), QStringLiteral("Base de datos (tolvaro)."),
                                  QStringLiteral("NOMBRE"), QStringLiteral("tolvaro"));
    const QCommandLineOption crear(QStringLiteral("crear-tablas"),
                                   QStringLiteral("Crea las tablas remotas que falten."));
    const QCommandLineOption semilla(QStringLiteral("semilla"),
                                     QStringLiteral("Ejecuta un archivo SQL (varias sentencias) al empezar."),
                                     QStringLiteral("ARCHIVO.sql"));
    const QCommandLineOption escapar(
        QStringLiteral("escapar-unicode"),
        QStringLiteral("Escribe lo que no es ASCII como \\uXXXX y \"/\" como \"\\/\"."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Registra cada pedido en stderr."));
    p.addOptions({puerto, socket, base, crear, semilla, escapar, verbose});
    p.process(app);

    bool puertoOk = false;
    const uint numeroPuerto = p.value(puerto).toUInt(&puertoOk);
    if (!puertoOk || numeroPuerto > 65535 || !p.isSet(socket)) {
        std::cerr << "uso: nremoto-sim --socket RUTA [--puerto N] [--base NOMBRE] [--crear-tablas] "
                     "[--semilla ARCHIVO.sql] [--verbose]"
                  << std::endl;
        return 2;
    }

    BaseRemota remota(p.value(socket).toStdString(), p.value(base).toStdString());
    if (!remota.conectar()) {
        std::cerr << "No se puede conectar a MariaDB en " << p.value(socket).toStdString() << ": "
                  << remota.error() << std::endl;
        return 1;
    }
    if (p.isSet(crear) && !correrGuion(remota, QStringLiteral(":/nremoto-sim/tablas.sql")))
        return 1;
    for (const QString& archivo : p.values(semilla))
        if (!correrGuion(remota, archivo))
            return 1;

    const bool escaparUnicode = p.isSet(escapar);
    ServidorHttp servidor;
    servidor.Get("/nremoto.php", [&](const httplib::Request& req, httplib::Response& res) {
        if (req.has_header(kCabeceraCuerpoIncompleto)) {
            res.status = 400;
            res.set_content("cuerpo incompleto", "text/plain; charset=utf-8");
            return;
        }
        const ResultadoSql r = remota.ejecutar(req.body);
        if (!r.ok) {
            res.status = 500;
            res.set_content(r.error, "text/plain; charset=utf-8");
        } else if (r.conFilas) {
            res.status = 200;
            res.set_content(filasJson(r, escaparUnicode), "application/json; charset=utf-8");
        } else {
            res.status = 200;
            res.set_content("OK", "text/plain; charset=utf-8");
        }
    });
    std::mutex mutexRegistro;
    if (p.isSet(verbose)) {
        servidor.set_logger([&](const httplib::Request& req, const httplib::Response& res) {
            std::lock_guard bloqueo(mutexRegistro);
            std::cerr << registro(req, res) << std::endl;
        });
    }

    int elegido = static_cast<int>(numeroPuerto);
    if (numeroPuerto == 0)
        elegido = servidor.bind_to_any_port("127.0.0.1");
    else if (!servidor.bind_to_port("127.0.0.1", elegido))
        elegido = -1;
    if (elegido <= 0) {
        std::cerr << "No se puede escuchar en 127.0.0.1:" << numeroPuerto << std::endl;
        return 1;
    }
    std::cout << "escuchando en 127.0.0.1:" << elegido << std::endl;

    std::thread vigia([&] {
        int senal = 0;
        sigwait(&senales, &senal);
        servidor.stop();
    });
    vigia.detach();
    return servidor.listen_after_bind() ? 0 : 1;
}
