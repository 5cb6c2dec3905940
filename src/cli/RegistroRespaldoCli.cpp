#include "cli/RegistroRespaldoCli.h"

#include "db/ContadorCambios.h"

#include <QFileInfo>

namespace {
// A program with the database open may be writing: wait for it rather than fail at once.
const QString kOpciones = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
} // namespace

RegistroRespaldoCli::RegistroRespaldoCli(const QString& carpetaDatos)
    : base_(BaseDatos::archivo(carpetaDatos)) {
    if (!QFileInfo(base_).isFile())
        return;
    BaseDatos::conConexionPropia(base_, kOpciones + QStringLiteral(";QSQLITE_OPEN_READONLY"),
                                 [&](QSqlDatabase& db) {
                                     if (!db.open())
                                         return;
                                     ajustes_ = AjustesRespaldo::leer(db);
                                     ultimo_ = UltimoRespaldo::leer(db);
                                     // A database the program never opened since it keeps the count has none
                                     // yet: the count it starts with, 0, is what this archive holds.
                                     cambios_ = qMax<qint64>(0, ContadorCambios::leer(db));
                                     leida_ = true;
                                 });
}

void RegistroRespaldoCli::registrar(const QString& ruta, qint64 tamano) const {
    if (!leida_)
        return;
    BaseDatos::conConexionPropia(base_, kOpciones, [&](QSqlDatabase& db) {
        if (db.open())
            UltimoRespaldo::registrar(ruta, tamano, cambios_, QDateTime::currentDateTime(), db);
    });
}
