// tolvaro-cli and Access files: the importar command with and without --reemplazar, and the first
// start of any command in a folder that holds only the farm's base.mdb.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Salida {
    int codigo = -1;
    QString salida;
    QString errores;
};

Salida correr(const QString& datos, const QStringList& args) {
    QProcess p;
    p.start(QDir(qEnvironmentVariable("TOLVARO_BIN")).filePath(QStringLiteral("src/cli/tolvaro-cli")),
            QStringList{QStringLiteral("--datos"), datos} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString legado(const QString& nombre) {
    return QDir(qEnvironmentVariable("TOLVARO_SOURCE"))
        .filePath(QStringLiteral("tests/fixtures/legacy/") + nombre);
}

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Recipes in a database file; -1 when it cannot be read.
int recetas(const QString& archivo) {
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cuenta"));
        db.setDatabaseName(archivo);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("select count(*) from recetas")) && q.next())
            n = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cuenta"));
    return n;
}
} // namespace

class TstImportar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void importarYReemplazar();
    void archivoMaloNoCambiaNada();
    void primerInicioDeCualquierComando();
    void primerInicioConBaseMdbDanada();
};

void TstImportar::importarYReemplazar() {
    QTemporaryDir dir;
    const QString base = dir.filePath("base.db");
    // A new folder: its empty database takes the file without --reemplazar and keeps no copy.
    Salida r = correr(dir.path(), {"importar", legado("base.mdb")});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QCOMPARE(r.salida,
             "Se importó base.mdb: 3 recetas, 5 alimentos, 2 operarios, 6 filas de viajes, 4 de descarga "
             "y la configuración de conexión.\n");
    QCOMPARE(recetas(base), 3);
    QVERIFY(!QFile::exists(base + ".anterior"));

    // Now it holds the farm's data: refused without --reemplazar, nothing changed.
    const QByteArray antes = contenido(base);
    r = correr(dir.path(), {"importar", legado("base-antigua.mdb")});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains("ya tiene datos") && r.errores.contains("--reemplazar"),
             qPrintable(r.errores));
    QCOMPARE(contenido(base), antes);
    QVERIFY(!QFile::exists(base + ".anterior"));

    r = correr(dir.path(), {"importar", legado("base-antigua.mdb"), "--reemplazar"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY(r.salida.startsWith("Se importó base-antigua.mdb: 2 recetas"));
    QCOMPARE(recetas(base), 2);
    QCOMPARE(contenido(base + ".anterior"), antes);

    QCOMPARE(correr(dir.path(), {"importar"}).codigo, 2);
    QCOMPARE(correr(dir.path(), {"importar", "a.mdb", "--sin-esto"}).codigo, 2);
}

void TstImportar::archivoMaloNoCambiaNada() {
    QTemporaryDir dir;
    QFile texto(dir.filePath("notas.mdb"));
    QVERIFY(texto.open(QIODevice::WriteOnly));
    texto.write("recetas\n");
    texto.close();
    const Salida r = correr(dir.path(), {"importar", texto.fileName(), "--reemplazar"});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains(QStringLiteral("No se puede importar %1: no es un archivo de Access")
                                    .arg(QDir::toNativeSeparators(texto.fileName()))),
             qPrintable(r.errores));
    QCOMPARE(recetas(dir.filePath("base.db")), 0);
    QVERIFY(!QFile::exists(dir.filePath("base.db.anterior")));
}

void TstImportar::primerInicioDeCualquierComando() {
    QTemporaryDir dir;
    const QString mdb = dir.filePath("BASE.MDB");
    QVERIFY(QFile::copy(legado("base.mdb"), mdb));
    // `enviar` without a road is a usage error, but only after the database has been opened.
    Salida r = correr(dir.path(), {"enviar"});
    QCOMPARE(r.codigo, 2);
    QVERIFY2(r.errores.startsWith("Se importó BASE.MDB: 3 recetas, 5 alimentos"), qPrintable(r.errores));
    QVERIFY(r.salida.isEmpty());
    QCOMPARE(recetas(dir.filePath("base.db")), 3);
    QCOMPARE(contenido(mdb), contenido(legado("base.mdb")));
    // Once only: base.db is there now.
    r = correr(dir.path(), {"enviar"});
    QVERIFY(!r.errores.contains("Se importó"));
}

void TstImportar::primerInicioConBaseMdbDanada() {
    QTemporaryDir dir;
    QFile mdb(dir.filePath("base.mdb"));
    QVERIFY(mdb.open(QIODevice::WriteOnly));
    mdb.write(contenido(legado("base.mdb")).left(100000));
    mdb.close();
    const Salida r = correr(dir.path(), {"enviar", "--directa"});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains("No se puede importar") && r.errores.contains("incompleto o dañado"),
             qPrintable(r.errores));
    // No empty database in its place: the next start tries again.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"base.mdb"});
}

QTEST_GUILESS_MAIN(TstImportar)
#include "tst_importar.moc"
