// The cabinet archive reader on damaged archives: whatever the bytes, no crash, nothing written
// outside the folder it expands into and, when it says it expanded, one whole file per name held.
//
// Input: the bytes of a .cab file. The seed is the backup of tests/fixtures/legacy.
#include "BaseFuzz.h"

#include "maint/ArchivoCab.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    static QTemporaryDir* raiz = new QTemporaryDir();
    const QString archivo = QDir(raiz->path()).filePath(QStringLiteral("entrada.cab"));
    const QString carpeta = QDir(raiz->path()).filePath(QStringLiteral("expandido"));
    {
        QFile f(archivo);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(reinterpret_cast<const char*>(datos), qint64(largo)) != qint64(largo))
            BaseFuzz::fallar(QStringLiteral("no se puede escribir la entrada"));
    }
    QDir(carpeta).removeRecursively();
    QDir().mkpath(carpeta);

    ArchivoCab cab(archivo);
    FalloCab fallo;
    if (cab.abrir(&fallo)) {
        const bool ok = cab.extraerNumerados(
            carpeta, [](qint64) { return true; }, &fallo);
        if (!ok && fallo.descripcion.isEmpty())
            BaseFuzz::fallar(QStringLiteral("falla sin decir por qué"));
        if (ok) {
            for (int i = 0; i < cab.nombres().size(); ++i)
                if (!QFile::exists(QDir(carpeta).filePath(QString::number(i + 1))))
                    BaseFuzz::fallar(
                        QStringLiteral("dice que expandió, pero falta el archivo %1").arg(i + 1));
        }
    } else if (fallo.descripcion.isEmpty()) {
        BaseFuzz::fallar(QStringLiteral("no abre y no dice por qué"));
    }
    // Nothing beside the input and the folder it expands into.
    const QStringList hay =
        QDir(raiz->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (hay != QStringList({QStringLiteral("entrada.cab"), QStringLiteral("expandido")}))
        BaseFuzz::fallar(QStringLiteral("escribió fuera de su carpeta: %1").arg(hay.join(u' ')));
    return 0;
}
