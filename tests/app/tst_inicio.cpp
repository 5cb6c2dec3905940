// Starting the real program: a fresh folder gets a new database, a file that is not a database is
// reported and left untouched, a farm's Access base.mdb is imported before the main window opens.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TstInicio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void primerInicioCreaLaBase();
    void archivoDanadoSeInformaYTermina();
    void primerInicioImportaBaseMdb_data();
    void primerInicioImportaBaseMdb();

private:
    static QProcess* arrancar(const QString& carpeta, QObject* padre) {
        auto* p = new QProcess(padre);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOLVARO_SIN_DIALOGOS", "1");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p->setProcessEnvironment(env);
        p->start(QDir(qEnvironmentVariable("TOLVARO_BIN")).filePath("tolvaro"),
                 {"--datos", carpeta, "--cerrar-al-mostrar"});
        return p;
    }
};

void TstInicio::primerInicioCreaLaBase() {
    QTemporaryDir dir;
    const QString carpeta = dir.filePath("datos nuevos");
    QProcess* p = arrancar(carpeta, this);
    QVERIFY(p->waitForFinished(30000));
    QCOMPARE(p->exitCode(), 0);
    QVERIFY(p->readAllStandardOutput().contains("mostrado"));
    QVERIFY(QFile::exists(QDir(carpeta).filePath("base.db")));
}

void TstInicio::archivoDanadoSeInformaYTermina() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("base.db");
    const QByteArray basura(4096, 'x');
    {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(basura);
    }
    QProcess* p = arrancar(dir.path(), this);
    QVERIFY(p->waitForFinished(30000));
    QCOMPARE(p->exitCode(), 1);
    const QString err = QString::fromUtf8(p->readAllStandardError());
    QVERIFY2(err.contains("No se puede abrir la base de datos") &&
                 err.contains(QDir::toNativeSeparators(ruta)),
             qPrintable(err));
    QVERIFY(!p->readAllStandardOutput().contains("mostrado"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), basura);
}

void TstInicio::primerInicioImportaBaseMdb_data() {
    QTest::addColumn<bool>("danada");
    QTest::newRow("sana") << false;
    QTest::newRow("dañada") << true;
}

void TstInicio::primerInicioImportaBaseMdb() {
    QFETCH(bool, danada);
    QTemporaryDir dir;
    const QString mdb = dir.filePath("Base.mdb");
    QByteArray datos;
    {
        QFile f(QDir(qEnvironmentVariable("TOLVARO_SOURCE")).filePath("tests/fixtures/legacy/base.mdb"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        datos = danada ? QByteArray(f.size(), '\0') : f.readAll();
        QFile copia(mdb);
        QVERIFY(copia.open(QIODevice::WriteOnly));
        copia.write(datos);
    }
    QProcess* p = arrancar(dir.path(), this);
    QVERIFY(p->waitForFinished(30000));
    const QString err = QString::fromUtf8(p->readAllStandardError());
    const bool mostrado = p->readAllStandardOutput().contains("mostrado");
    if (danada) {
        // The error box, and no main window on an empty database beside the farm's file.
        QCOMPARE(p->exitCode(), 1);
        QVERIFY(!mostrado);
        QVERIFY2(err.contains("No se puede importar") && err.contains(QDir::toNativeSeparators(mdb)),
                 qPrintable(err));
        QVERIFY(!QFile::exists(dir.filePath("base.db")));
    } else {
        QCOMPARE(p->exitCode(), 0);
        QVERIFY(mostrado);
        QVERIFY2(
            err.contains(
                "Tolvaro: Se importó Base.mdb: 3 recetas, 5 alimentos, 2 operarios, 6 filas de viajes, 4 "
                "de descarga y la configuración de conexión."),
            qPrintable(err));
        QVERIFY(QFile::exists(dir.filePath("base.db")));
    }
    QFile f(mdb);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), datos);
}

QTEST_GUILESS_MAIN(TstInicio)
#include "tst_inicio.moc"
