#include "app/FrmPrincipal.h"
#include "db/BaseDatos.h"
#include "ui/Dialogos.h"
#include "ui/TeclaEnter.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvaro"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVARO_VERSION));
    TeclaEnter::instalar(&app);

    // For scripted runs: message boxes are answered with their first button and printed on stderr.
    if (qEnvironmentVariableIntValue("TOLVARO_SIN_DIALOGOS") == 1)
        Dialogos::activarModoPrueba(true, true);

    const QStringList argumentos = QApplication::arguments();
    if (argumentos.contains(QStringLiteral("--version"))) {
        std::printf("tolvaro %s\n", TOLVARO_VERSION);
        return 0;
    }
    if (argumentos.contains(QStringLiteral("--help")) || argumentos.contains(QStringLiteral("-h"))) {
        std::printf("Uso: tolvaro [--datos CARPETA] [--recuperar]\n"
                    "  --datos CARPETA  carpeta de la base de datos base.db (se crea si falta)\n"
                    "  --recuperar      abre también la ventana para recuperar un Back Up\n");
        return 0;
    }

    // A database that cannot be opened ends the program before the main window is shown.
    const QString carpeta = BaseDatos::carpetaDatos(argumentos);
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
        // A technician reaches the restore tab from the desktop, over the main window.
        if (argumentos.contains(QStringLiteral("--recuperar")))
            QTimer::singleShot(0, &ventana, [&ventana] { ventana.abrirMantenimiento(1); });
        salida = QApplication::exec();
    }
    BaseDatos::cerrar();
    return salida;
}
