#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The independent checkers of the tests (openpyxl, pdftotext) are Linux programs. Under Wine a
// Windows program starts them but never sees them end, so there they run through a shell that
// leaves their output and exit code in files, and the paths they get are their Unix names.
namespace ProgramaLinux {

struct Resultado {
    int codigo = -1; // -1: did not run or did not end in time
    QByteArray salida;
    QByteArray errores;
    QString falla; // why it did not run, when it did not
};

// `carpeta`: where it runs (its Unix name under Wine is found here); empty, the current folder.
Resultado correr(const QString& programa, const QStringList& argumentos, int msMaximo = 60000,
                 const QString& carpeta = {});

// The name a Linux program gives a file of this program: the same on Linux, under Wine its Unix name.
QString ruta(const QString& archivo);

} // namespace ProgramaLinux
