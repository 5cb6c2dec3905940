// The first start with no data offers to bring the earlier program's base.mdb from its folder.
#include "app/BaseAnterior.h"
#include "ui/Dialogos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstBaseAnterior : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        Dialogos::activarModoPrueba();
        Dialogos::limpiar();
    }
    void ofrece_data();
    void ofrece();
};

void TstBaseAnterior::ofrece_data() {
    QTest::addColumn<QString>("datos");      // what the data folder already holds
    QTest::addColumn<QString>("respuestas"); // S(í)/N(o) to each question, in order
    QTest::addColumn<QString>("carpeta");    // the folder chosen: "legado", "vacia" or "" (cancel)
    QTest::addColumn<int>("preguntas");
    QTest::addColumn<bool>("copiada");
    QTest::newRow("no trae nada") << ""
                                  << "N"
                                  << "" << 1 << false;
    QTest::newRow("trae la base.mdb de la carpeta elegida") << ""
                                                            << "S"
                                                            << "legado" << 1 << true;
    QTest::newRow("carpeta sin base.mdb, luego no") << ""
                                                    << "SN"
                                                    << "vacia" << 3 << false;
    QTest::newRow("elegir cancelado") << ""
                                      << "S"
                                      << "" << 1 << false;
    QTest::newRow("ya hay base.db: no pregunta") << "base.db"
                                                 << ""
                                                 << "" << 0 << false;
    QTest::newRow("ya hay base.mdb: no pregunta") << "BASE.MDB"
                                                  << ""
                                                  << "" << 0 << false;
}

void TstBaseAnterior::ofrece() {
    QFETCH(QString, datos);
    QFETCH(QString, respuestas);
    QFETCH(QString, carpeta);
    QFETCH(int, preguntas);
    QFETCH(bool, copiada);
    QTemporaryDir d;
    const QDir dir(d.path());
    QVERIFY(dir.mkdir("datos ñandú") && dir.mkdir("vacia"));
    const QString enDatos = dir.filePath("datos ñandú");
    if (!datos.isEmpty()) {
        QFile f(QDir(enDatos).filePath(datos));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString legado = QDir(qEnvironmentVariable("TOLVARO_SOURCE")).filePath("tests/fixtures/legacy");
    for (const QChar r : respuestas)
        Dialogos::encolarRespuesta(r == u'S' ? Respuesta::Si : Respuesta::No);
    Dialogos::encolarRuta(carpeta == "legado" ? legado
                          : carpeta.isEmpty() ? QString()
                                              : dir.filePath(carpeta));

    QVERIFY(BaseAnterior::ofrecer(enDatos));
    QCOMPARE(Dialogos::mostrados().size(), preguntas);
    // By its exact name: Windows finds "BASE.MDB" under "base.mdb" too.
    QCOMPARE(QDir(enDatos).entryList(QDir::Files).contains("base.mdb"), copiada);
    if (copiada) {
        QFile original(QDir(legado).filePath("base.mdb"));
        QFile copia(QDir(enDatos).filePath("base.mdb"));
        QVERIFY(original.open(QIODevice::ReadOnly) && copia.open(QIODevice::ReadOnly));
        QCOMPARE(copia.readAll(), original.readAll());
    }
}

QTEST_MAIN(TstBaseAnterior)
#include "tst_baseanterior.moc"
