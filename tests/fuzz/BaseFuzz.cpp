#include "BaseFuzz.h"

#include "db/BaseDatos.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace BaseFuzz {

void iniciarQt(int* argc, char*** argv) {
    static QCoreApplication* app = new QCoreApplication(*argc, *argv);
    (void)app;
}

void abrirBaseConOperarios() {
    static QTemporaryDir* carpeta = new QTemporaryDir();
    if (const auto error = BaseDatos::abrir(carpeta->path()))
        fallar(QStringLiteral("no se puede abrir la base: ") + *error);
    QSqlQuery q(BaseDatos::ConexionBD());
    for (const char* sql :
         {"insert into operarios values (1, 'Juan')", "insert into operarios values (2, 'Ana')",
          "insert into operarios values (3, 'Pedro')"})
        if (!q.exec(QString::fromLatin1(sql)))
            fallar(QStringLiteral("no se pueden cargar los operarios"));
}

void fallar(const QString& que) {
    std::fprintf(stderr, "FALLA: %s\n", que.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace BaseFuzz
