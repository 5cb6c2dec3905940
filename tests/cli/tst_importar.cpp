// tolvaro-cli and Access files: the importar command with and without --reemplazar, and the first
// start of any command in a folder that holds only the farm's base.mdb.
#include "CorridaCli.h"

#include "core/CerrojoMantenimiento.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Salida = SalidaCli;

Salida correr(const QString& datos, const QStringList& args) {
    return correrCli(args, CorridaCli(datos));
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
    void conservaLoPropioYCadaAnterior();
    void danadoSeRechazaYParcialLoDice();
    void rechazosAntesDeLeer_data();
    void rechazosAntesDeLeer();
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

// Runs SQL on a database file of its own connection.
bool ejecutar(const QString& archivo, const QStringList& sentencias) {
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sql"));
        db.setDatabaseName(archivo);
        QSqlQuery q(db);
        ok = db.open();
        for (const QString& s : sentencias)
            ok = ok && q.exec(s);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sql"));
    return ok;
}

QString uno(const QString& archivo, const QString& consulta) {
    QString r;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("uno"));
        db.setDatabaseName(archivo);
        QSqlQuery q(db);
        if (db.open() && q.exec(consulta) && q.next())
            r = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("uno"));
    return r;
}

void TstImportar::conservaLoPropioYCadaAnterior() {
    // A database holding only what this program adds: the history, a preference and the road.
    QTemporaryDir dir;
    const QString base = dir.filePath("base.db");
    QCOMPARE(correr(dir.path(), {"historial", "--desde", "2026-01-01", "--hasta", "2026-01-02"}).codigo, 0);
    QVERIFY(
        ejecutar(base, {"insert into historial_sucesos (tipo, fecha, hora) values ('CARGA', '2026-12-01', "
                        "'06:00')",
                        "insert into preferencias values ('tolerancia', '4')",
                        "update tipo_conexion set direccion = '10.0.0.9' where tipo = 'directa'"}));
    const QByteArray antes = contenido(base);
    Salida r = correr(dir.path(), {"importar", legado("base.mdb")});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains("ya tiene datos"), qPrintable(r.errores));
    QCOMPARE(contenido(base), antes);

    r = correr(dir.path(), {"importar", legado("base.mdb"), "--reemplazar"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY2(r.salida.contains("Se conservaron de la base anterior: historial_sucesos (1 filas), "
                               "preferencias (1 filas). La base anterior quedó como " +
                               QDir::toNativeSeparators(base) + ".anterior."),
             qPrintable(r.salida));
    QCOMPARE(recetas(base), 3);
    QCOMPARE(
        uno(base, "select count(*) || valor from historial_sucesos, preferencias where clave = 'tolerancia'"),
        "14");
    QCOMPARE(contenido(base + ".anterior"), antes);
    // The file's road replaces ours; the earlier one is in the copy.
    QCOMPARE(uno(base, "select direccion from tipo_conexion where tipo = 'directa'"), "192.168.1.50");

    // Again: a new numbered copy, the first one untouched.
    const QByteArray segunda = contenido(base);
    r = correr(dir.path(), {"importar", legado("base-antigua.mdb"), "--reemplazar"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QCOMPARE(contenido(base + ".anterior"), antes);
    QCOMPARE(contenido(base + ".anterior.2"), segunda);
    QCOMPARE(uno(base, "select count(*) from historial_sucesos"), "1");
}

void TstImportar::danadoSeRechazaYParcialLoDice() {
    // recetas renamed in the catalogue: the file reads, without its recipes.
    QByteArray d = contenido(legado("base.mdb"));
    const QString nombre = QStringLiteral("recetas");
    const QByteArray ucs2(reinterpret_cast<const char*>(nombre.utf16()), nombre.size() * 2);
    // The catalogue's data page: a data page (type 1) of the table defined on page 2.
    qsizetype catalogo = -1;
    for (qsizetype p = 0; p * 4096 < d.size() && catalogo < 0; ++p)
        if (d.at(p * 4096) == 1 && d.at(p * 4096 + 4) == 2 && d.mid(p * 4096 + 5, 3) == QByteArray(3, '\0'))
            catalogo = p * 4096;
    const qsizetype en = d.indexOf(ucs2, catalogo);
    QVERIFY(catalogo > 0 && en > catalogo && en < catalogo + 4096);
    d[en + 2] = 'z';
    QTemporaryDir dir;
    const QString mdb = dir.filePath("rota.mdb");
    QFile f(mdb);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(d) == d.size());
    f.close();
    Salida r = correr(dir.path(), {"importar", mdb});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains("falta la tabla recetas") && r.errores.contains("--parcial"),
             qPrintable(r.errores));
    QCOMPARE(recetas(dir.filePath("base.db")), 0);

    r = correr(dir.path(), {"importar", mdb, "--parcial"});
    QVERIFY2(r.codigo == 0, qPrintable(r.errores));
    QVERIFY2(r.salida.startsWith("Se importó rota.mdb: 0 recetas, 5 alimentos") &&
                 r.salida.contains("Faltaban en el archivo: tabla recetas."),
             qPrintable(r.salida));

    // The first start never takes a damaged file in part.
    QTemporaryDir inicio;
    QVERIFY(QFile::copy(mdb, inicio.filePath("base.mdb")));
    r = correr(inicio.path(), {"historial", "--desde", "2026-01-01", "--hasta", "2026-01-02"});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains("falta la tabla recetas"), qPrintable(r.errores));
    QCOMPARE(QDir(inicio.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"base.mdb"});
}

void TstImportar::rechazosAntesDeLeer_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("dispositivo") << "/dev/zero"
                                 << "no es un archivo común";
    QTest::newRow("carpeta") << "."
                             << "es una carpeta";
    QTest::newRow("otra operación en curso")
        << legado("base.mdb") << "Otra operación de mantenimiento está en curso (proceso %1).";
}

void TstImportar::rechazosAntesDeLeer() {
    QFETCH(QString, archivo);
    QFETCH(QString, motivo);
    QTemporaryDir dir;
    // Another maintenance operation at work in the folder: this process holds its lock.
    CerrojoMantenimiento otra(dir.path());
    if (motivo.contains("%1")) {
        QVERIFY(otra.tomar(nullptr, 0));
        motivo = motivo.arg(QCoreApplication::applicationPid());
    }
    QElapsedTimer reloj;
    reloj.start();
    const Salida r = correr(dir.path(), {"importar", archivo, "--reemplazar"});
    QCOMPARE(r.codigo, 1);
    QVERIFY2(r.errores.contains(motivo), qPrintable(r.errores));
    QVERIFY(reloj.elapsed() < 20000);
    QCOMPARE(recetas(dir.filePath("base.db")), 0);
}

QTEST_GUILESS_MAIN(TstImportar)
#include "tst_importar.moc"
