// tolvaro-cli respaldar, recuperar and contenido end to end: output, exit codes, damaged archives,
// usage errors, and a restore killed at any instant.
#include "AyudaMantenimiento.h"
#include "BaseTemporal.h"
#include "CorridaCli.h"

#include "core/CerrojoMantenimiento.h"
#include "maint/AjustesRespaldo.h"
#include "maint/Mantenimiento.h"
#include <QDateTime>
#include <QSet>

#include <QCoreApplication>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace AyudaMantenimiento;

namespace {
using Salida = SalidaCli;

Salida cli(const QStringList& args) {
    return correrCli(args, CorridaCli().espera(300000));
}

// Hidden entries of a folder: what an operation left behind shows here.
QStringList ocultos(const QString& carpeta) {
    return QDir(carpeta).entryList({".*"},
                                   QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A data folder holding a database of `filas` plan rows, closed.
void prepararDatos(const QString& carpeta, int filas) {
    QVERIFY(!BaseDatos::abrir(carpeta));
    QVERIFY(llenarPlan(filas));
    BaseDatos::cerrar();
}
} // namespace

class TstMantenimientoCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void respaldarYContenido();
    void respaldarSinArchivos();
    void recuperar();
    void recuperarArchivoAntiguo();
    void archivosDanados();
    void erroresDeUso_data();
    void erroresDeUso();
    void recuperacionInterrumpida();
    void unaOperacionALaVez();
    void nadaQuedaAtras();
    void mensajesConLaCausa();
    void diezRespaldosEnUnMinuto();
    void respaldoAutomatico();
};

void TstMantenimientoCli::respaldarYContenido() {
    QTemporaryDir datos;
    QTemporaryDir copias;
    prepararDatos(datos.path(), 500);
    const qint64 tamano = QFileInfo(QDir(datos.path()).filePath("base.db")).size();

    const Salida s = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
    QCOMPARE(s.codigo, 0);
    const QStringList lineas = s.salida.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 3);
    const QString archivo = QDir::fromNativeSeparators(lineas[0]);
    QCOMPARE(QFileInfo(archivo).absolutePath(), QFileInfo(copias.path()).absoluteFilePath());
    QVERIFY(QFileInfo(archivo).fileName().startsWith("BD_"));
    QCOMPARE(lineas[1], Mantenimiento::textoTamano("Total a compactar: ", double(tamano)));
    QCOMPARE(lineas[2], Mantenimiento::textoTamano("Total compactado: ", double(QFileInfo(archivo).size())));
#ifndef Q_OS_WIN // see SIN_CABEXTRACT_NI_GCAB
    QCOMPARE(correr("cabextract", {"-t", archivo}), 0);
#endif

    const Salida c = cli({"contenido", archivo});
    QCOMPARE(c.codigo, 0);
    QCOMPARE(c.salida, "base.db\n");

    // Without --carpeta the archive goes into the data folder.
    const Salida d = cli({"--datos", datos.path(), "respaldar"});
    QCOMPARE(d.codigo, 0);
    QCOMPARE(QFileInfo(QDir::fromNativeSeparators(d.salida.section('\n', 0, 0))).absolutePath(),
             QFileInfo(datos.path()).absoluteFilePath());
}

void TstMantenimientoCli::respaldarSinArchivos() {
    QTemporaryDir datos;
    const Salida s = cli({"--datos", datos.path(), "respaldar"});
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.errores.trimmed(), "No existen archivos a compactar.");
    // The database is not created on the way.
    QVERIFY(QDir(datos.path()).entryList(QDir::Files).isEmpty());
}

void TstMantenimientoCli::recuperar() {
    QTemporaryDir datos;
    prepararDatos(datos.path(), 500);
    const QString base = QDir(datos.path()).filePath("base.db");
    const QByteArray respaldada = leer(base);
    QTemporaryDir copias;
    const Salida r = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
    QCOMPARE(r.codigo, 0);
    const QString archivo = QDir::fromNativeSeparators(r.salida.section('\n', 0, 0));

    QTemporaryDir otra;
    Salida s = cli({"recuperar", archivo, "--destino", otra.path()});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida, "Ok\n");
    QCOMPARE(leer(QDir(otra.path()).filePath("base.db")), respaldada);

    // Into the data folder, even when its database no longer opens.
    QVERIFY(escribir(base, "dañada"));
    s = cli({"--datos", datos.path(), "recuperar", archivo});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer(base), respaldada);
    QCOMPARE(leer(base + ".anterior"), QByteArray("dañada"));
}

void TstMantenimientoCli::recuperarArchivoAntiguo() {
    // The earlier program's archive holds Base.mdb: it becomes a working base.db.
    QTemporaryDir datos;
    const Salida s = cli({"--datos", datos.path(), "recuperar", archivoLegado("BD_lun_7_12_2026_09_05.cab")});
    QVERIFY2(s.codigo == 0, qPrintable(s.errores));
    QCOMPARE(s.salida, "Ok\n");
    QVERIFY(!BaseDatos::abrir(datos.path()));
    QVERIFY(esLaGranjaDelLegado(volcado(BaseDatos::ConexionBD())));
    BaseDatos::cerrar();
}

void TstMantenimientoCli::archivosDanados() {
    QTemporaryDir d;
    const QString texto = QDir(d.path()).filePath("carta.cab");
    QVERIFY(escribir(texto, "Querido amigo:\n"));
    QVERIFY(escribir(QDir(d.path()).filePath("base.db"), "la de antes"));
    const QStringList antes = foto(d.path());

    const Salida s = cli({"recuperar", texto, "--destino", d.path()});
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.errores.startsWith("Falso\nEl archivo " + QDir::toNativeSeparators(texto) +
                                  " no es un archivo de Back Up"),
             qPrintable(s.errores));
    QVERIFY(s.salida.isEmpty());
    QCOMPARE(foto(d.path()), antes);

    const Salida c = cli({"contenido", texto});
    QCOMPARE(c.codigo, 1);
    QVERIFY(c.salida.isEmpty());
    QVERIFY2(c.errores.startsWith("Existe un error en el archivo " + QDir::toNativeSeparators(texto) +
                                  ".\nProbablemente se encuentre dañado.\n"),
             qPrintable(c.errores));
}

void TstMantenimientoCli::erroresDeUso_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("recuperar sin archivo") << QStringList{"recuperar"};
    QTest::newRow("opción desconocida") << QStringList{"respaldar", "--nube"};
    QTest::newRow("carpeta sin valor") << QStringList{"respaldar", "--carpeta"};
    QTest::newRow("dos archivos") << QStringList{"contenido", "a.cab", "b.cab"};
    QTest::newRow("respaldos con argumento") << QStringList{"respaldos", "a.cab"};
}

void TstMantenimientoCli::erroresDeUso() {
    QFETCH(QStringList, args);
    QTemporaryDir datos;
    const Salida s = cli(QStringList{"--datos", datos.path()} + args);
    QCOMPARE(s.codigo, 2);
    QVERIFY(s.errores.contains("Uso: tolvaro-cli"));
    QCOMPARE(cli({"--datos", datos.path(), args.first(), "--help"}).codigo, 0);
}

void TstMantenimientoCli::recuperacionInterrumpida() {
    // Killed at any instant, the destination holds the old base.db or the new one, whole.
    QTemporaryDir datos;
    prepararDatos(datos.path(), 20000);
    const QString base = QDir(datos.path()).filePath("base.db");
    const QByteArray nueva = leer(base);
    QTemporaryDir copias;
    const Salida r = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
    QCOMPARE(r.codigo, 0);
    const QString archivo = QDir::fromNativeSeparators(r.salida.section('\n', 0, 0));
    const QByteArray vieja = QByteArray("vieja ").repeated(1000);

    int antes = 0;
    int despues = 0;
    for (int espera : {-1, 0, 5, 15, 30, 60, 120, 250, 500}) {
        QVERIFY(escribir(base, vieja));
        QProcess p;
        p.start(programaCli(), {"--datos", datos.path(), "recuperar", archivo});
        QVERIFY(p.waitForStarted());
        if (espera < 0) {
            // The moment the expanded file appears beside base.db.
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 10000 && p.state() == QProcess::Running &&
                   QDir(datos.path()).entryList({".base.db.*"}, QDir::Files | QDir::Hidden).isEmpty())
                QThread::usleep(200);
        } else {
            QThread::msleep(ulong(espera));
        }
        p.kill();
        p.waitForFinished();
        const QByteArray queda = leer(base);
        QVERIFY2(queda == vieja || queda == nueva, qPrintable(QStringLiteral("espera %1").arg(espera)));
        (queda == vieja ? antes : despues)++;
    }
    qInfo("interrumpidas antes del cambio: %d, después: %d", antes, despues);

    // The next restore removes what the killed ones left, and keeps every earlier database.
    QCOMPARE(cli({"--datos", datos.path(), "recuperar", archivo}).codigo, 0);
    QCOMPARE(ocultos(datos.path()), QStringList());
    QVERIFY(QFileInfo::exists(base + ".anterior"));

    // A backup killed midway leaves no archive under its name, or a whole one.
    QTemporaryDir destino;
    for (int espera : {10, 40, 150}) {
        QProcess p;
        p.start(programaCli(), {"--datos", datos.path(), "respaldar", "--carpeta", destino.path()});
        QVERIFY(p.waitForStarted());
        QThread::msleep(ulong(espera));
        p.kill();
        p.waitForFinished();
#ifndef Q_OS_WIN // see SIN_CABEXTRACT_NI_GCAB
        for (const QString& n : QDir(destino.path()).entryList({"BD_*.cab"}, QDir::Files))
            QCOMPARE(correr("cabextract", {"-t", QDir(destino.path()).filePath(n)}), 0);
#endif
    }
    QCOMPARE(cli({"--datos", datos.path(), "respaldar", "--carpeta", destino.path()}).codigo, 0);
    QCOMPARE(ocultos(destino.path()), QStringList());
}

void TstMantenimientoCli::unaOperacionALaVez() {
    // Another operation at work in the folder (this process holds its lock): restore and backup
    // wait a moment, then refuse and change nothing.
    QTemporaryDir datos;
    prepararDatos(datos.path(), 50);
    const QString base = QDir(datos.path()).filePath("base.db");
    QTemporaryDir copias;
    // What the archive holds: the command records its backup in the database afterwards.
    const QByteArray respaldada = leer(base);
    const Salida r = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
    QCOMPARE(r.codigo, 0);
    const QString archivo = QDir::fromNativeSeparators(r.salida.section('\n', 0, 0));
    const QByteArray antes = leer(base);
    const QString ocupada = QStringLiteral("Otra operación de mantenimiento está en curso (proceso %1).")
                                .arg(QCoreApplication::applicationPid());
    for (const QString& carpeta : {datos.path(), copias.path()}) {
        CerrojoMantenimiento otra(carpeta);
        QVERIFY(otra.tomar(nullptr, 0));
        Salida s = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
        QCOMPARE(s.codigo, 1);
        QVERIFY2(s.errores.contains(ocupada), qPrintable(s.errores));
        if (carpeta == datos.path()) {
            s = cli({"--datos", datos.path(), "recuperar", archivo});
            QCOMPARE(s.codigo, 1);
            QCOMPARE(s.errores, "Falso\n" + ocupada + "\n");
        }
    }
    QCOMPARE(leer(base), antes);
    QCOMPARE(QDir(copias.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);

    // Two restores at once: each ends with "Ok" or the refusal, and no database is lost.
    QProcess a;
    QProcess b;
    a.start(programaCli(), {"--datos", datos.path(), "recuperar", archivo});
    b.start(programaCli(), {"--datos", datos.path(), "recuperar", archivo});
    QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
    for (QProcess* p : {&a, &b}) {
        const QString salida = QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError());
        QVERIFY2(salida == "Ok\n" || salida.startsWith("Falso\nOtra operación de mantenimiento"),
                 qPrintable(salida));
    }
    QCOMPARE(leer(base), respaldada);
    QCOMPARE(leer(base + ".anterior"), antes);
    QCOMPARE(ocultos(datos.path()), QStringList());
}

void TstMantenimientoCli::nadaQuedaAtras() {
    QTemporaryDir datos;
    prepararDatos(datos.path(), 50);
    QTemporaryDir copias;
    // What killed operations left: a restore's copy, an import's inside it, a backup's archive
    // and the folder it read back into.
    QVERIFY(escribir(QDir(datos.path()).filePath(".base.db.k3x9a"), QByteArray(100000, 'x')));
    QVERIFY(escribir(QDir(datos.path()).filePath("..base.db.k3x9a.z1"), "x"));
    QVERIFY(escribir(QDir(copias.path()).filePath(".BD_lun_7_12_2026_09_05.cab.q1"), "x"));
    QVERIFY(QDir(copias.path()).mkpath(".BD_lun_7_12_2026_09_05.cab.q1.1/sub"));
    const Salida r = cli({"--datos", datos.path(), "respaldar", "--carpeta", copias.path()});
    QCOMPARE(r.codigo, 0);
    QCOMPARE(ocultos(copias.path()), QStringList());
    const QString archivo = QDir::fromNativeSeparators(r.salida.section('\n', 0, 0));
    QCOMPARE(cli({"--datos", datos.path(), "recuperar", archivo}).codigo, 0);
    QCOMPARE(ocultos(datos.path()), QStringList());

    // Listing an archive whose stored name is not UTF-8 writes nothing to the system's temporary
    // folder and leaves nothing beside the archive.
    QTemporaryDir raro;
    QTemporaryDir temporal;
    QCOMPARE(correr("sh",
                    {"-c", "printf datos > \"$(printf 'caf\\351.db')\" && gcab -c -n -z raro.cab *.db && "
                           "rm -f ./*.db"},
                    nullptr, nullptr, raro.path()),
             0);
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("TMPDIR", temporal.path());
    p.setProcessEnvironment(entorno);
    p.start(programaCli(), {"--datos", datos.path(), "contenido", QDir(raro.path()).filePath("raro.cab")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QDir(temporal.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(QDir(raro.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"raro.cab"});
}

void TstMantenimientoCli::mensajesConLaCausa() {
    QTemporaryDir datos;
    prepararDatos(datos.path(), 10);
    const QString archivo = QDir(datos.path()).filePath("un-archivo");
    QVERIFY(escribir(archivo, "no soy una carpeta"));
    Salida s = cli({"--datos", datos.path(), "respaldar", "--carpeta", archivo});
    QCOMPARE(s.codigo, 1);
    QVERIFY2(s.errores.contains(QDir::toNativeSeparators(archivo) + " es un archivo"), qPrintable(s.errores));
    QVERIFY2(!s.errores.contains("No existe la carpeta"), qPrintable(s.errores));
    s = cli({"--datos", datos.path(), "recuperar", archivoLegado("BD_lun_7_12_2026_09_05.cab"), "--destino",
             archivo});
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.errores, "Falso\n" + QDir::toNativeSeparators(archivo) + " es un archivo, no una carpeta.\n");
}

void TstMantenimientoCli::diezRespaldosEnUnMinuto() {
    // Ten runs in one minute leave ten archives: a name already taken gets _2, _3...
    QTemporaryDir datos;
    prepararDatos(datos.path(), 300);
    QStringList rutas;
    for (int i = 0; i < 10; ++i) {
        const Salida s = cli({"--datos", datos.path(), "respaldar"});
        QCOMPARE(s.codigo, 0);
        rutas << QDir::fromNativeSeparators(s.salida.section('\n', 0, 0));
    }
    QCOMPARE(QSet<QString>(rutas.begin(), rutas.end()).size(), 10);
    for (const QString& r : rutas)
        QCOMPARE(correr("cabextract", {"-t", r}), 0);

    // Listed newest first, each read back whole.
    const Salida l = cli({"--datos", datos.path(), "respaldos"});
    QCOMPARE(l.codigo, 0);
    const QStringList lineas = l.salida.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 10);
    QCOMPARE(QDir::fromNativeSeparators(lineas.first().section('\t', 4)), rutas.last());
    for (const QString& linea : lineas) {
        const QStringList campos = linea.split('\t');
        QCOMPARE(campos.size(), 5);
        QCOMPARE(campos[2], "manual");
        QCOMPARE(campos[3], "verificado");
        QCOMPARE(campos[1].toLongLong(), QFileInfo(QDir::fromNativeSeparators(campos[4])).size());
    }
    // A damaged archive is listed as such and the command says so.
    QVERIFY(escribir(QDir(datos.path()).filePath("BD_dom_1_11_2026_10_00.cab"), "roto"));
    const Salida d = cli({"--datos", datos.path(), "respaldos"});
    QCOMPARE(d.codigo, 1);
    QVERIFY(d.salida.trimmed().endsWith(
        "manual\tdañado\t" +
        QDir::toNativeSeparators(QDir(datos.path()).filePath("BD_dom_1_11_2026_10_00.cab"))));
}

void TstMantenimientoCli::respaldoAutomatico() {
    // A scheduled task keeps the program's rules: the folder, the last N, the second folder.
    QTemporaryDir datos;
    prepararDatos(datos.path(), 20000);
    QTemporaryDir usb;
    const QString faltante = QDir(usb.path()).filePath("pendrive");
    {
        QVERIFY(!BaseDatos::abrir(datos.path()));
        AjustesRespaldo a;
        a.cantidad = 2;
        a.segunda = faltante;
        QVERIFY(!a.guardar());
        BaseDatos::cerrar();
    }
    const QString carpeta = QDir(datos.path()).filePath("respaldos");
    QVERIFY(QDir().mkpath(carpeta));
    const QString manual = QDir(carpeta).filePath("BD_dom_1_11_2026_10_00.cab");
    QVERIFY(escribir(manual, "manual"));
    for (int i = 0; i < 3; ++i) {
        const Salida s = cli({"--datos", datos.path(), "respaldar", "--automatico"});
        QVERIFY2(s.codigo == 0, qPrintable(s.errores));
        QCOMPARE(QFileInfo(QDir::fromNativeSeparators(s.salida.section('\n', 0, 0))).absolutePath(),
                 QFileInfo(carpeta).absoluteFilePath());
        QVERIFY2(s.errores.contains(QDir::toNativeSeparators(faltante)), qPrintable(s.errores));
    }
    const QStringList automaticos = QDir(carpeta).entryList({"*_auto*.cab"}, QDir::Files);
    QCOMPARE(automaticos.size(), 2);
    QCOMPARE(leer(manual), QByteArray("manual"));

    // The last one is recorded in the database it saved.
    QVERIFY(!BaseDatos::abrir(datos.path()));
    QVERIFY(UltimoRespaldo::leer().existe());
    QVERIFY(!PoliticaRespaldo::hayCambios());
    BaseDatos::cerrar();

    // Killed midway: the database and the manual archive stay, and every automatic archive there
    // reads back whole (a partial one never has a final name).
    for (int espera : {20, 80}) {
        QProcess p;
        p.start(programaCli(), {"--datos", datos.path(), "respaldar", "--automatico"});
        QVERIFY(p.waitForStarted());
        QThread::msleep(ulong(espera));
        p.kill();
        p.waitForFinished();
        QCOMPARE(leer(manual), QByteArray("manual"));
        const QStringList quedan = QDir(carpeta).entryList({"BD_*_auto*.cab"}, QDir::Files);
        QVERIFY(quedan.size() >= 2);
        for (const QString& n : quedan)
            QCOMPARE(correr("cabextract", {"-t", QDir(carpeta).filePath(n)}), 0);
    }
    QVERIFY(!BaseDatos::abrir(datos.path()));
    {
        QSqlQuery q(BaseDatos::ConexionBD());
        QVERIFY(q.exec("select count(*) from viajes") && q.next());
        QCOMPARE(q.value(0).toInt(), 20000);
    }
    BaseDatos::cerrar();

    const Salida l = cli({"--datos", datos.path(), "respaldos"});
    QCOMPARE(l.salida.count("\tautomático\tverificado\t"), 2);
}

QTEST_GUILESS_MAIN(TstMantenimientoCli)
#include "tst_mantenimientocli.moc"
