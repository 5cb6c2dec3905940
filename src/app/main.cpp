#include "access/ImportacionInicial.h"
#include "app/BaseAnterior.h"
#include "app/FrmPrincipal.h"
#include "db/BaseDatos.h"
#include "ui/Dialogos.h"
#include "ui/TeclaEnter.h"
#include "ui/TraduccionQt.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    // Answered before QApplication, which aborts when there is no display to open.
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version") {
            std::printf("tolvaro %s\n", TOLVARO_VERSION);
            return 0;
        }
        if (a == "--help" || a == "-h") {
            std::printf("Uso: tolvaro [--datos CARPETA] [--recuperar]\n"
                        "  --datos CARPETA  carpeta de la base de datos base.db (se crea si falta)\n"
                        "  --recuperar      abre también la ventana para recuperar un Back Up\n");
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvaro"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVARO_VERSION));
    // The icon and the name of the desktop entry, so the window and the menu look alike.
    QApplication::setDesktopFileName(QStringLiteral("tolvaro"));
    QIcon icono;
    for (const int lado : {16, 32, 48, 64, 128, 256})
        icono.addFile(QStringLiteral(":/iconos/hicolor/%1x%1/apps/tolvaro.png").arg(lado));
    QApplication::setWindowIcon(icono);
    TeclaEnter::instalar(&app);
    TraduccionQt::instalar(&app);

    // For scripted runs: message boxes are answered with their first button and printed on stderr.
    if (qEnvironmentVariableIntValue("TOLVARO_SIN_DIALOGOS") == 1)
        Dialogos::activarModoPrueba(true, true);

    const QStringList argumentos = QApplication::arguments();

    // A database that cannot be opened ends the program before the main window is shown.
    const QString carpeta = BaseDatos::carpetaDatos(argumentos);
#ifdef Q_OS_WIN
    // Qt's own texts (standard buttons, file dialogs) in Spanish, from the translations beside the program.
    QTranslator traduccion;
    if (traduccion.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccion);
    // A farm moving from the earlier program brings its base.mdb on the first start.
    if (!BaseAnterior::ofrecer(carpeta))
        return 1;
#endif
    // A farm's Access base.mdb becomes its database before anything else, once.
    if (const auto aviso = ImportacionInicial::importarSiHaceFalta(carpeta)) {
        Dialogos::mostrar(nullptr, {aviso->texto, aviso->ok ? Icono::Informacion : Icono::Critico});
        if (!aviso->ok)
            return 1;
    }
    if (const auto error = BaseDatos::abrir(carpeta)) {
        Dialogos::mostrar(nullptr, {*error, Icono::Critico});
        return 1;
    }

    int salida = 0;
    {
        FrmPrincipal ventana;
        ventana.show();
        // Used by the start-up benchmark: report once the window is on screen, then leave.
        if (argumentos.contains(QStringLiteral("--cerrar-al-mostrar"))) {
            QTimer::singleShot(0, &ventana, [&ventana] {
                std::printf("mostrado\n");
                std::fflush(stdout);
                ventana.close();
            });
        }
        // A technician reaches the restore tab from the desktop, over the main window (the restore
        // itself backs the current data up first).
        if (argumentos.contains(QStringLiteral("--recuperar"))) {
            QTimer::singleShot(0, &ventana, [&ventana] { ventana.abrirMantenimiento(1); });
        } else if (!argumentos.contains(QStringLiteral("--cerrar-al-mostrar"))) {
            ventana.setRespaldosAutomaticos(true);
            QTimer::singleShot(0, &ventana, &FrmPrincipal::revisarRespaldoAlIniciar);
        }
        salida = QApplication::exec();
    }
    BaseDatos::cerrar();
    return salida;
}
