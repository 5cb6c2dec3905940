// tolvaro-cli informe and historial on a kept history: the table in columns, as CSV, with another
// tolerance, the kept events listed, and the usage errors.
#include "Archivos.h"
#include "BaseTemporal.h"
#include "LectorLibro.h"

#include "db/BaseDatos.h"
#include "events/HistorialSucesos.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {
struct Salida {
    int codigo = -1;
    QString salida;
    QString errores;
};
} // namespace

class TstInformeCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { base_.reset(); }
    void informeEnColumnas();
    void informeCsv();
    void informeXlsx();
    void historialCsv();
    void erroresDeUso();

private:
    Salida correr(const QStringList& args);
    QByteArray leer(const QString& nombre);
    std::unique_ptr<BaseTemporal> base_;
};

void TstInformeCli::initTestCase() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    const QList<FilaEvento> sucesos = {
        {"CARGA", "01/03/2024", "08:00", "Engorde", "Maiz", "1000", "985", "Juan"},
        {"CARGA", "01/03/2024", "08:10", "Engorde", "Soja", "s/d", "110", "Juan"},
        {"CARGA", "2024-03-02", "08:00:00", "Recria", "Maiz", "500", "520", "Pedro"},
        {"DESCARGA", "02/03/2024", "09:00", "Corral 1", "", "600", "590", "Pedro"}};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), sucesos, HistorialSucesos::kWeb, nullptr,
                                        QDateTime(QDate(2024, 3, 3), QTime(7, 5, 9))));
}

Salida TstInformeCli::correr(const QStringList& args) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("LC_ALL", "es_AR.UTF-8");
    p.setProcessEnvironment(entorno);
    p.start(QDir(qEnvironmentVariable("TOLVARO_BIN")).filePath("src/cli/tolvaro-cli"),
            QStringList({"--datos", base_->carpeta()}) + args);
    Salida s;
    if (!p.waitForFinished(60000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.salida = QString::fromUtf8(p.readAllStandardOutput());
    s.errores = QString::fromUtf8(p.readAllStandardError());
    return s;
}

QByteArray TstInformeCli::leer(const QString& nombre) {
    return Archivos::leer(QDir(base_->carpeta()).filePath(nombre));
}

void TstInformeCli::informeEnColumnas() {
    const Salida s =
        correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "alimento"});
    QCOMPARE(s.codigo, 0);
    QVERIFY2(s.errores.isEmpty(), qPrintable(s.errores));
    const QStringList lineas = s.salida.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 3);
    QVERIFY(lineas[0].startsWith("ALIMENTO  CARGAS  SUGERIDO KG"));
    // Maiz: 1500 planned, 1505 loaded; Soja: counted, without a number to add.
    QCOMPARE(lineas[1].simplified(), QStringLiteral("Maiz 2 1500,0 1505,0 5,0 0,33 2,75 1 0"));
    QCOMPARE(lineas[2].simplified(), QStringLiteral("Soja 1 0,0 0,0 0,0 0 1"));
    for (const QString& l : lineas) // numbers right-aligned under their headers
        QCOMPARE(l.size(), lineas[0].size());
}

void TstInformeCli::informeCsv() {
    Salida s = correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "dia", "--csv",
                       QDir(base_->carpeta()).filePath("dias.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("dias.csv"),
             "DÍA,CARGAS,SUGERIDO KG,REAL KG,DIFERENCIA KG,DIFERENCIA %,DESVÍO MEDIO %,FUERA DE TOLERANCIA,"
             "SIN DATO NUMÉRICO\r\n"
             "01/03/2024,2,1000,985,-15,-1.5,1.5,0,1\r\n"
             "02/03/2024,1,500,520,20,4,4,1,0\r\n");
    s = correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "corral",
                "--tolerancia", "1,5", "--csv", QDir(base_->carpeta()).filePath("corrales.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("corrales.csv").split('\n').value(1),
             "Corral 1,1,600,590,-10,-1.66666666666667,1.66666666666667,1,0\r");
}

void TstInformeCli::informeXlsx() {
    const QString ruta = QDir(base_->carpeta()).filePath("operarios.xlsx");
    const Salida s = correr(
        {"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "operario", "--xlsx", ruta});
    QCOMPARE(s.codigo, 0);
    const QJsonArray filas = LectorLibro::leer(ruta)["filas"].toArray();
    QCOMPARE(filas.size(), 3);
    QCOMPARE(filas[1][0]["valor"].toString(), QStringLiteral("Juan"));
    QCOMPARE(filas[1][5]["valor"].toDouble(), -1.5);
    QVERIFY(filas[1][5]["tipo"] == QStringLiteral("numero"));
}

void TstInformeCli::historialCsv() {
    const Salida s = correr({"historial", "--desde", "2024-03-02", "--hasta", "2024-03-31", "--csv",
                             QDir(base_->carpeta()).filePath("historial.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("historial.csv"),
             "TIPO DE SUCESO,FECHA,HORA,RECETA/CORRAL,ALIMENTO,SUGERIDO,REAL,OPERARIO,VÍA,RECIBIDO\r\n"
             "CARGA,02/03/2024,08:00,Recria,Maiz,500,520,Pedro,web,03/03/2024 07:05:09\r\n"
             "DESCARGA,02/03/2024,09:00,Corral 1,,600,590,Pedro,web,03/03/2024 07:05:09\r\n");
}

void TstInformeCli::erroresDeUso() {
    const QStringList rango = {"--desde", "2024-03-01", "--hasta", "2024-03-02"};
    const QList<QStringList> malos = {
        QStringList{"informe"} + rango,
        QStringList{"informe", "--por", "semana"} + rango,
        {"informe", "--desde", "2024-02-30", "--hasta", "2024-03-02", "--por", "dia"},
        {"informe", "--desde", "2024-03-05", "--hasta", "2024-03-02", "--por", "dia"},
        QStringList{"informe", "--por", "dia", "--tolerancia", "mucha"} + rango,
        QStringList{"informe", "--por", "dia", "--csv", "a.csv", "--xlsx", "a.xlsx"} + rango,
        QStringList{"informe", "--por", "dia", "--otra"} + rango,
        {"historial", "--desde", "2024-03-01"},
    };
    for (const QStringList& args : malos) {
        const Salida s = correr(args);
        QVERIFY2(s.codigo == 2, qPrintable(args.join(' ')));
        QVERIFY(!s.errores.isEmpty());
    }
    const Salida ayuda = correr({"informe", "--help"});
    QCOMPARE(ayuda.codigo, 0);
    QVERIFY(ayuda.salida.contains("--tolerancia"));
}

QTEST_GUILESS_MAIN(TstInformeCli)
#include "tst_informecli.moc"
