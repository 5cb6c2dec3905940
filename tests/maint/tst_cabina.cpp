// The archive core: names and sizes, the backup read back, archives of other tools, damaged
// archives, the legacy archive and a plan of 20,000 rows there and back.
#include "AyudaMantenimiento.h"
#include "BaseTemporal.h"

#include "access/ImportacionAccess.h"
#include "maint/ListadoCab.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/Restauracion.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace AyudaMantenimiento;

namespace {
// Bytes that compress a little, as a database's do.
QByteArray datosDePrueba(int tamano, quint32 semilla) {
    QRandomGenerator g(semilla);
    QByteArray d(tamano, Qt::Uninitialized);
    for (int i = 0; i < tamano; ++i)
        d[i] = char(i % 7 == 0 ? g.bounded(256) : 'a' + i % 13);
    return d;
}
} // namespace

class TstCabina : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nombresYTamanos_data();
    void nombresYTamanos();
    void respaldoSeLeeYAvanza();
    void respaldoSinCarpetaNoDejaNada();
    void archivosDeGcab_data();
    void archivosDeGcab();
    void archivosDanados_data();
    void archivosDanados();
    void archivoAntiguoConAccess();
    void planDeVeinteMilFilas();
};

void TstCabina::nombresYTamanos_data() {
    QTest::addColumn<QString>("idioma");
    QTest::addColumn<double>("bytes");
    QTest::addColumn<QString>("tamano");
    QTest::newRow("es_AR 2,5 MB") << "es_AR" << 2500000.0 << "2 MBytes";
    QTest::newRow("es_ES 50 KB") << "es_ES" << 50000.0 << "49 KBytes";
    QTest::newRow("700 bytes") << "es_AR" << 700.0 << "700 Bytes";
    QTest::newRow("archivo de 1,5 MB") << "es_AR" << 1500000.0 << "1 MBytes";
    QTest::newRow("umbral decimal") << "es_AR" << 1000.0 << "1.000 Bytes";
    QTest::newRow("redondea a cero") << "es_AR" << 0.0 << " Bytes";
    QTest::newRow("separador de miles") << "es_AR" << 2.0e9 << "1.907 MBytes";
    // Without Spanish day names of its own (cron, a service, an English desktop) the name keeps them.
    QTest::newRow("locale C") << "C" << 700.0 << "700 Bytes";
    QTest::newRow("inglés") << "en_US" << 2.0e9 << "1,907 MBytes";
}

void TstCabina::nombresYTamanos() {
    QFETCH(QString, idioma);
    QFETCH(double, bytes);
    QFETCH(QString, tamano);
    const QLocale l(idioma);
    QCOMPARE(Mantenimiento::nombreArchivo(QDateTime(QDate(2026, 12, 7), QTime(9, 5)), l),
             QStringLiteral("BD_lun_7_12_2026_09_05.cab"));
    QCOMPARE(Mantenimiento::textoTamano(QStringLiteral("Total: "), bytes, l),
             QStringLiteral("Total: ") + tamano);
}

void TstCabina::respaldoSeLeeYAvanza() {
    QTemporaryDir d;
    const QDir dir(d.path());
    // One large file (the progress must move within it) and two small ones.
    QVERIFY(escribir(dir.filePath("base.db"), datosDePrueba(3 << 20, 1)));
    QVERIFY(escribir(dir.filePath("Vieja.MDB"), datosDePrueba(5000, 2)));
    QVERIFY(escribir(dir.filePath("vacía.db"), QByteArray()));
    QCOMPARE(Mantenimiento::archivosARespaldar(d.path()), QStringList({"base.db", "vacía.db", "Vieja.MDB"}));
    QStringList archivos;
    for (const QString& n : Mantenimiento::archivosARespaldar(d.path()))
        archivos << dir.filePath(n);

    const QString cab = dir.filePath("copia.cab");
    QVERIFY(escribir(cab, "lo que había"));
    Respaldo respaldo(archivos, cab);
    // Progress moves block by block, in steps of 2 % at most, writing and expanding alike.
    const auto pasosCortos = [](const QList<int>& avance) {
        for (int i = 1; i < avance.size(); ++i)
            if (avance[i] <= avance[i - 1] || avance[i] - avance[i - 1] > 2)
                return false;
        return !avance.isEmpty() && avance.last() == 100;
    };
    QList<int> avance;
    const ResultadoCon<qint64> r = respaldo.ejecutar([&](int p) { avance << p; });
    QVERIFY2(r.ok, qPrintable(r.descripcion));
    QCOMPARE(r.valor, QFileInfo(cab).size());
    QVERIFY(pasosCortos(avance));
    // Nothing but the archive was added to the folder.
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).size(), 4);

    // Another cabinet library reads it clean, with bare names.
    QByteArray lista;
    SIN_CABEXTRACT_NI_GCAB();
    QCOMPARE(correr("cabextract", {"-t", cab}, &lista), 0);
    QCOMPARE(correr("cabextract", {"-l", cab}, &lista), 0);
    QStringList nombres;
    for (const QString& linea : QString::fromUtf8(lista).split('\n'))
        if (linea.count('|') == 2)
            nombres << linea.section("| ", 2).trimmed();
    QCOMPARE(nombres.mid(1), QStringList({"base.db", "vacía.db", "Vieja.MDB"}));

    ListadoCab listado(cab);
    avance.clear();
    const ResultadoCon<QStringList> l = listado.ejecutar([&](int p) { avance << p; });
    QVERIFY(l.ok);
    QCOMPARE(l.valor, QStringList({"base.db", "vacía.db", "Vieja.MDB"}));
    QVERIFY(pasosCortos(avance));
}

void TstCabina::respaldoSinCarpetaNoDejaNada() {
    QTemporaryDir d;
    QVERIFY(escribir(QDir(d.path()).filePath("base.db"), "x"));
    Respaldo sinCarpeta({QDir(d.path()).filePath("base.db")}, QDir(d.path()).filePath("no/hay/copia.cab"));
    const Resultado r = sinCarpeta.ejecutar();
    QVERIFY(!r.ok);
    QVERIFY2(r.descripcion.contains("No existe la carpeta"), qPrintable(r.descripcion));
    Respaldo sinArchivo({QDir(d.path()).filePath("falta.db")}, QDir(d.path()).filePath("copia.cab"));
    const Resultado f = sinArchivo.ejecutar();
    QVERIFY(!f.ok);
    QVERIFY2(f.descripcion.contains("falta.db"), qPrintable(f.descripcion));
    QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"base.db"}));
}

void TstCabina::archivosDeGcab_data() {
    QTest::addColumn<bool>("comprimir");
    QTest::addColumn<QStringList>("nombres");
    QTest::newRow("MSZIP") << true << QStringList{"base.db"};
    QTest::newRow("sin compresión") << false << QStringList{"base.db"};
    QTest::newRow("varios, la base al final") << true << QStringList{"notas.txt", "otra.mdb", "base.db"};
    QTest::newRow("nombre en mayúsculas") << false << QStringList{"leeme.txt", "BASE.DB"};
}

void TstCabina::archivosDeGcab() {
    SIN_CABEXTRACT_NI_GCAB();
    QFETCH(bool, comprimir);
    QFETCH(QStringList, nombres);
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(llenarPlan(300));
    const QStringList filas = volcado(BaseDatos::ConexionBD());
    BaseDatos::cerrar();

    QTemporaryDir origen;
    QStringList rutas;
    for (const QString& n : nombres) {
        const QString r = QDir(origen.path()).filePath(n);
        QVERIFY(n.compare("base.db", Qt::CaseInsensitive) == 0 ? QFile::copy(base.archivo(), r)
                                                               : escribir(r, datosDePrueba(70000, 3)));
        rutas << r;
    }
    const QString cab = QDir(origen.path()).filePath("gcab.cab");
    QVERIFY(gcab(cab, rutas, comprimir));

    QTemporaryDir destino;
    Restauracion restauracion(cab, destino.path());
    const Resultado r = restauracion.ejecutar();
    QVERIFY2(r.ok, qPrintable(r.descripcion));
    QCOMPARE(leer(QDir(destino.path()).filePath("base.db")), leer(base.archivo()));
    QCOMPARE(QDir(destino.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"base.db"}));
    QVERIFY(!BaseDatos::abrir(destino.path()));
    QCOMPARE(volcado(BaseDatos::ConexionBD()), filas);
}

void TstCabina::archivosDanados_data() {
    QTest::addColumn<QString>("dano");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("un byte cambiado en los datos") << "byte"
                                                   << "suma de control";
    QTest::newRow("cortado") << "corte"
                             << "incompleto";
    QTest::newRow("vacío") << "vacio"
                           << "no es un archivo de Back Up";
    QTest::newRow("texto con nombre .cab") << "texto"
                                           << "no es un archivo de Back Up";
    QTest::newRow("sin base de datos") << "sinbase"
                                       << "no contiene la base de datos base.db";
    QTest::newRow("base que no es SQLite") << "nosqlite"
                                           << "no es una base de datos SQLite";
    QTest::newRow("base de otro programa") << "ajena"
                                           << "faltan las tablas";
}

void TstCabina::archivosDanados() {
    QFETCH(QString, dano);
    QFETCH(QString, motivo);
    QTemporaryDir d;
    const QDir dir(d.path());
    // A sound archive of a database that barely compresses, so every kind of damage hits data.
    {
        BaseTemporal base;
        QVERIFY(base.ok());
        QVERIFY(base.ejecutar("create table relleno (x blob)"));
        QVERIFY(base.ejecutar("insert into relleno values (randomblob(200000))"));
        BaseDatos::cerrar();
        QVERIFY(QFile::copy(base.archivo(), dir.filePath("base.db")));
    }
    const QString cab = dir.filePath("copia.cab");
    if (dano == "sinbase" || dano == "nosqlite" || dano == "ajena") {
        SIN_CABEXTRACT_NI_GCAB();
        const QString nombre = dano == "sinbase" ? "otra.txt" : "base.db";
        QTemporaryDir o;
        const QString ruta = QDir(o.path()).filePath(nombre);
        if (dano == "ajena") {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ajena");
            db.setDatabaseName(ruta);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("create table recetas (id integer)"));
            db.close();
        } else {
            QVERIFY(escribir(ruta, "no soy una base de datos, aunque me llame así"));
        }
        QSqlDatabase::removeDatabase("ajena");
        QVERIFY(gcab(cab, {ruta}, true));
    } else {
        Respaldo r({dir.filePath("base.db")}, cab);
        QVERIFY(r.ejecutar().ok);
        QByteArray bytes = leer(cab);
        if (dano == "byte")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x10);
        else if (dano == "corte")
            bytes.truncate(bytes.size() * 2 / 3);
        else if (dano == "vacio")
            bytes.clear();
        else
            bytes = "Esto es una carta, no un Back Up.\r\n";
        QVERIFY(escribir(cab, bytes));
    }
    QVERIFY(escribir(dir.filePath("base.db"), "la base de antes"));
    const QStringList antes = foto(d.path());

    Restauracion restauracion(cab, d.path());
    const Resultado r = restauracion.ejecutar();
    QVERIFY(!r.ok);
    QVERIFY2(r.descripcion.contains(motivo), qPrintable(r.descripcion));
    QCOMPARE(foto(d.path()), antes);

    if (dano != "nosqlite" && dano != "ajena" && dano != "sinbase") {
        ListadoCab listado(cab);
        QVERIFY(!listado.ejecutar().ok);
    }
}

void TstCabina::archivoAntiguoConAccess() {
    const QString cab = archivoLegado("BD_lun_7_12_2026_09_05.cab");
    QVERIFY(!cab.isEmpty());
    QTemporaryDir d;
    QVERIFY(escribir(QDir(d.path()).filePath("base.db"), "la base de antes"));

    ListadoCab listado(cab);
    const ResultadoCon<QStringList> l = listado.ejecutar();
    QVERIFY(l.ok);
    QCOMPARE(l.valor, QStringList({"Base.mdb"}));

    // The earlier program's Base.mdb comes in through the Access import, the old file kept.
    Restauracion restauracion(cab, d.path());
    const Resultado r = restauracion.ejecutar();
    QVERIFY2(r.ok, qPrintable(r.descripcion));
    QCOMPARE(leer(QDir(d.path()).filePath("base.db.anterior")), QByteArray("la base de antes"));
    QVERIFY(!BaseDatos::abrir(d.path()));
    QVERIFY(esLaGranjaDelLegado(volcado(BaseDatos::ConexionBD())));
    BaseDatos::cerrar();
}

void TstCabina::planDeVeinteMilFilas() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(llenarPlan(20000));
    const QStringList filas = volcado(BaseDatos::ConexionBD());
    QCOMPARE(filas.size(), 2 + 2 + 1 + 20000 + 1 + 2);
    BaseDatos::cerrar();

    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath("copia.cab");
    QVERIFY(Respaldo({base.archivo()}, cab).ejecutar().ok);
    QTemporaryDir vacia;
    QVERIFY(Restauracion(cab, vacia.path()).ejecutar().ok);
    QCOMPARE(leer(QDir(vacia.path()).filePath("base.db")), leer(base.archivo()));
    QVERIFY(!BaseDatos::abrir(vacia.path()));
    QCOMPARE(volcado(BaseDatos::ConexionBD()), filas);
}

QTEST_GUILESS_MAIN(TstCabina)
#include "tst_cabina.moc"
