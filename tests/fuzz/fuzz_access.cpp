// The Access reader on damaged files (pages, catalogue, column definitions): whatever the bytes,
// no crash once the isolated reader has got through the file, and every table either fails with a reason or
// gives back every row it declares.
//
// Input: the bytes of an Access file. The seeds are the farm's files of tests/fixtures/legacy.
#include "BaseFuzz.h"

#include "access/CabeceraAccess.h"
#include "access/LectorAccess.h"
#include "access/LecturaAislada.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    // Below the harness's own time limit: a file the reader loops on is damaged, not a finding.
    qputenv("TOLVARO_LECTOR_ACCESS_PLAZO_MS", "5000");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
    if (!CabeceraAccess::examinar(bytes).valido())
        return 0;
    // A file that brings libmdb down is contained in the reader's own process; what passes there
    // must pass here too.
    if (LecturaAislada::comprobar(bytes) != LecturaAislada::Resultado::Leida)
        return 0;
    LectorAccess lector;
    QString motivo;
    if (!lector.abrir(std::move(bytes), &motivo)) {
        if (motivo.isEmpty())
            BaseFuzz::fallar(QStringLiteral("el archivo no abre y no dice por qué"));
        return 0;
    }
    for (const QString& nombre : lector.tablas()) {
        const std::unique_ptr<TablaAccess> tabla = lector.tabla(nombre, &motivo);
        if (!tabla) {
            if (motivo.isEmpty())
                BaseFuzz::fallar(QStringLiteral("la tabla %1 no se lee y no dice por qué").arg(nombre));
            continue;
        }
        QVariantList fila;
        quint32 filas = 0;
        while (tabla->siguiente(&fila)) {
            ++filas;
            if (fila.size() != tabla->columnas().size())
                BaseFuzz::fallar(QStringLiteral("una fila de %1 no tiene todas sus columnas").arg(nombre));
        }
        if (tabla->error().isEmpty() && filas != tabla->filasDeclaradas())
            BaseFuzz::fallar(QStringLiteral("la tabla %1 declara %2 filas, dio %3 sin error")
                                 .arg(nombre)
                                 .arg(tabla->filasDeclaradas())
                                 .arg(filas));
        // A row that fails is counted as read, not given.
        if (filas > tabla->filasLeidas())
            BaseFuzz::fallar(QStringLiteral("la tabla %1 dio más filas de las que leyó").arg(nombre));
    }
    return 0;
}
