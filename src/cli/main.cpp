#include "access/ImportacionInicial.h"
#include "cli/Comandos.h"
#include "db/Ajustes.h"
#include "db/BaseDatos.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char* const kAyuda = "Uso: tolvaro-cli [--datos CARPETA] COMANDO [OPCIONES]\n"
                           "\n"
                           "Programa el Tolvaro sin ventanas, con la misma base de datos que el programa.\n"
                           "\n"
                           "Opciones generales:\n"
                           "  --datos CARPETA  carpeta de la base de datos base.db (se crea si falta)\n"
                           "  --version        muestra la versión\n"
                           "  --help           muestra esta ayuda\n"
                           "\n"
                           "Comandos:\n";

const char* const kAyudaPie = "\n'tolvaro-cli COMANDO --help' describe cada comando.\n";

QList<const Comando*> todos() {
    return {&comandoEnviar(),    &comandoRecibir(),    &comandoInforme(),   &comandoHistorial(),
            &comandoImportar(),  &comandoRespaldar(),  &comandoRecuperar(), &comandoContenido(),
            &comandoRespaldos(), &comandoTolerancia(), &comandoPrecio(),    &comandoIngreso(),
            &comandoConteo(),    &comandoStock(),      &comandoCostos(),    &comandoPlanilla(),
            &comandoCopiarDia(), &comandoArchivar()};
}

void ayuda(QTextStream& s) {
    qsizetype ancho = 0;
    for (const Comando* c : todos())
        ancho = std::max(ancho, c->nombre().size());
    s << kAyuda;
    for (const Comando* c : todos())
        s << "  " << c->nombre().leftJustified(ancho + 1) << " " << c->resumen() << "\n";
    s << kAyudaPie;
}

// Whether the command draws pages (a PDF): text is only laid out under a QGuiApplication.
bool dibujaPaginas(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "planilla") == 0 || std::strncmp(argv[i], "--pdf", 5) == 0 ||
            std::strncmp(argv[i], "-pdf", 4) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Pages are drawn without a display: the offscreen platform unless another one was chosen.
    std::unique_ptr<QCoreApplication> app;
    if (dibujaPaginas(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tolvaro"));
    QTextStream salida(stdout);
    QTextStream errores(stderr);

    // The general options come before the command word; the rest belongs to the command.
    QCommandLineParser general;
    general.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption datos = BaseDatos::opcionDatos();
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("muestra la versión"));
    const QCommandLineOption verAyuda({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("muestra esta ayuda"));
    general.addOptions({datos, version, verAyuda});
    const bool leidos = general.parse(QCoreApplication::arguments());
    if (general.isSet(version)) {
        salida << "tolvaro-cli " << TOLVARO_VERSION << Qt::endl;
        return 0;
    }
    if (general.isSet(verAyuda)) {
        ayuda(salida);
        return 0;
    }
    if (!leidos) {
        const QStringList desconocidas = general.unknownOptionNames();
        if (desconocidas.isEmpty()) {
            errores << "Falta la carpeta después de --datos" << Qt::endl;
        } else {
            errores << "Opción desconocida: " << (desconocidas.first().size() > 1 ? "--" : "-")
                    << desconocidas.first() << Qt::endl;
            ayuda(errores);
        }
        return 2;
    }
    QStringList args = general.positionalArguments();
    if (args.isEmpty()) {
        ayuda(errores);
        return 2;
    }
    const QString nombre = args.takeFirst();
    const Comando* comando = nullptr;
    for (const Comando* c : todos())
        if (nombre == c->nombre())
            comando = c;
    if (!comando) {
        errores << "Comando desconocido: " << nombre << Qt::endl;
        ayuda(errores);
        return 2;
    }
    QCommandLineParser opciones;
    if (const std::optional<int> r = comando->leerArgumentos(args, opciones, salida, errores))
        return *r;

    // Every command works on the data folder (created on first use, as the program does); those
    // that use the database find it open.
    ContextoCli ctx{BaseDatos::carpetaDatos(general.value(datos)), salida, errores};
    if (comando->usaBase()) {
        // A farm's Access base.mdb becomes its database first; the summary goes to stderr so
        // that a command's own output (a CSV on stdout) stays clean.
        if (const auto aviso = ImportacionInicial::importarSiHaceFalta(ctx.carpetaDatos)) {
            errores << aviso->texto << Qt::endl;
            if (!aviso->ok)
                return 1;
        }
        if (const auto error = BaseDatos::abrir(ctx.carpetaDatos)) {
            errores << *error << Qt::endl;
            return 1;
        }
        if (const auto m = comprobarTablas())
            errores << m->texto << Qt::endl;
    }
    const int r = comando->ejecutar(opciones, ctx);
    salida.flush();
    errores.flush();
    BaseDatos::cerrar();
    return r;
}
