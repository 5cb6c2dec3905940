#include "cli/Comandos.h"
#include "db/Ajustes.h"
#include "db/BaseDatos.h"
#include "db/ImportacionInicial.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char* const kAyuda =
    "Uso: tolvaro-cli [--datos CARPETA] COMANDO [OPCIONES]\n"
    "\n"
    "Programa el Tolvaro sin ventanas, con la misma base de datos que el programa.\n"
    "\n"
    "Opciones generales:\n"
    "  --datos CARPETA  carpeta de la base de datos base.db (se crea si falta)\n"
    "  --version        muestra la versión\n"
    "  --help           muestra esta ayuda\n"
    "\n"
    "Comandos:\n"
    "  enviar     envía la programación a la tablet (--directa) o al servicio web (--web)\n"
    "  recibir    descarga los sucesos de la tablet o del servicio web (CSV, .xlsx) y los\n"
    "             guarda en el historial\n"
    "  informe    precisión de carga de los sucesos guardados, por alimento, operario, día,\n"
    "             receta o corral\n"
    "  historial  lista los sucesos guardados de un rango de fechas como CSV\n"
    "  importar   trae los datos de una base de Access (.mdb) a la base de datos\n"
    "  respaldar  guarda la base de datos en un archivo de Back Up (.cab)\n"
    "  recuperar  recupera la base de datos de un archivo de Back Up\n"
    "  contenido  lista los archivos de un archivo de Back Up\n"
    "\n"
    "'tolvaro-cli COMANDO --help' describe cada comando.\n";

struct Comando {
    const char* nombre;
    int (*ejecutar)(const QStringList&, ContextoCli&);
    // Whether the command works through the shared connection. The archive commands work on the
    // files alone: a backup wants them untouched, and a restore must not need a usable database.
    bool usaBase = true;
};

const Comando kComandos[] = {
    {"enviar", comandoEnviar},
    {"recibir", comandoRecibir},
    {"informe", comandoInforme},
    {"historial", comandoHistorial},
    {"importar", comandoImportar},
    {"respaldar", comandoRespaldar, false},
    {"recuperar", comandoRecuperar, false},
    {"contenido", comandoContenido, false},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvaro"));
    QTextStream salida(stdout);
    QTextStream errores(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    QString carpeta;
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString a = args.takeFirst();
        if (a == QStringLiteral("--version")) {
            salida << "tolvaro-cli " << TOLVARO_VERSION << Qt::endl;
            return 0;
        }
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            salida << kAyuda;
            return 0;
        }
        if (a == QStringLiteral("--datos")) {
            if (args.isEmpty()) {
                errores << "Falta la carpeta después de --datos" << Qt::endl;
                return 2;
            }
            carpeta = args.takeFirst();
        } else if (a.startsWith(QStringLiteral("--datos="))) {
            carpeta = a.mid(8);
        } else {
            errores << "Opción desconocida: " << a << Qt::endl << kAyuda;
            return 2;
        }
    }
    if (args.isEmpty()) {
        errores << kAyuda;
        return 2;
    }
    const QString nombre = args.takeFirst();
    const Comando* comando = nullptr;
    for (const Comando& c : kComandos)
        if (nombre == QLatin1String(c.nombre))
            comando = &c;
    if (!comando) {
        errores << "Comando desconocido: " << nombre << Qt::endl << kAyuda;
        return 2;
    }
    const bool soloAyuda = args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));

    ContextoCli ctx{QString(), salida, errores};
    if (!soloAyuda) {
        // Every command works on the data folder's database, created on first use as the program does.
        QStringList global;
        if (!carpeta.isEmpty())
            global << QStringLiteral("--datos") << carpeta;
        ctx.carpetaDatos = BaseDatos::carpetaDatos(global);
        if (comando->usaBase) {
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
            if (const auto m = Comprobar_Tablas())
                errores << m->texto << Qt::endl;
        }
    }
    const int r = comando->ejecutar(args, ctx);
    salida.flush();
    errores.flush();
    BaseDatos::cerrar();
    return r;
}
