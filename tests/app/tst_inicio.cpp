// Starting the real program: a fresh folder gets a new database, a file that is not a database is
// reported and left untouched.
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
    QVERIFY2(err.contains("No se puede abrir la base de datos") && err.contains(ruta), qPrintable(err));
    QVERIFY(!p->readAllStandardOutput().contains("mostrado"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), basura);
}

QTEST_GUILESS_MAIN(TstInicio)
#include "tst_inicio.moc"
