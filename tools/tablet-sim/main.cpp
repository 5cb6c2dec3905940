// tolvaro-tablet-sim: a tablet to try the program without a wagon.
#include "RespuestaSucesos.h"
#include "ServidorTableta.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QHostAddress>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvaro-tablet-sim"));
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Simulador de la tablet Tolvaro: escucha al programa de escritorio, "
                       "muestra cada llegada y responde \"ok\" tras \"'fin'\"."));
    p.addHelpOption();
    p.addOption({QStringLiteral("direccion"), QStringLiteral("Dirección donde escuchar (127.0.0.1)."),
                 QStringLiteral("IP"), QStringLiteral("127.0.0.1")});
    p.addOption({QStringLiteral("puerto"), QStringLiteral("Puerto donde escuchar (4999; 0 elige uno libre)."),
                 QStringLiteral("N"), QStringLiteral("4999")});
    p.addOption({QStringLiteral("programa"),
                 QStringLiteral("Escribe cada llegada y sus mensajes y registros en ARCHIVO."),
                 QStringLiteral("ARCHIVO")});
    RespuestaSucesos::agregarOpciones(p);
    p.process(app);

    ServidorTableta tableta;
    RespuestaSucesos sucesos;
    if (QString error; !sucesos.configurar(p, &error)) {
        QTextStream(stderr) << error << Qt::endl;
        return 2;
    }
    tableta.setSucesos(&sucesos);
    QTextStream out(stdout);
    const QHostAddress direccion(p.value(QStringLiteral("direccion")));
    if (direccion.isNull() ||
        !tableta.escuchar(direccion, static_cast<quint16>(p.value(QStringLiteral("puerto")).toUInt()))) {
        QTextStream(stderr) << "No se puede escuchar en " << p.value(QStringLiteral("direccion")) << ":"
                            << p.value(QStringLiteral("puerto")) << ": " << tableta.error() << Qt::endl;
        return 1;
    }
    if (p.isSet(QStringLiteral("programa")) &&
        !tableta.setArchivoPrograma(p.value(QStringLiteral("programa")))) {
        QTextStream(stderr) << "No se puede escribir " << p.value(QStringLiteral("programa")) << Qt::endl;
        return 1;
    }
    out << "escuchando en " << direccion.toString() << ":" << tableta.puerto() << Qt::endl;
    QObject::connect(&tableta, &ServidorTableta::llegada, [&out](const QByteArray& d) {
        out << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) << " "
            << QString::fromLatin1(d) << Qt::endl;
    });
    return QCoreApplication::exec();
}
