// tolvaro-cli informe and historial on a kept history: the table in columns, as CSV, with another
// tolerance, the kept events listed, and the usage errors.
#include "Archivos.h"
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "LectorLibro.h"

#include "db/BaseDatos.h"
#include "historial/HistorialSucesos.h"
#include "historial/InformePrecision.h"
#include "historial/SalidaInforme.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

namespace {
using Salida = SalidaCli;
} // namespace

class TstInformeCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { base_.reset(); }
    void informeEnColumnas();
    void informeCsv();
    void informeXlsx();
    void csvComoLaVentana();
    void cargas();
    void toleranciaPropia();
    void historialCsv();
    void erroresDeUso();

private:
    Salida correr(const QStringList& args) {
        return correrCli(args, CorridaCli(base_->carpeta()).regional());
    }
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

QByteArray TstInformeCli::leer(const QString& nombre) {
    return Archivos::leer(QDir(base_->carpeta()).filePath(nombre));
}

void TstInformeCli::informeEnColumnas() {
#ifdef Q_OS_WIN
    QSKIP("En Windows los números siguen la configuración regional del usuario, no LC_ALL");
#endif
    const Salida s =
        correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "alimento"});
    QCOMPARE(s.codigo, 0);
    QVERIFY2(s.errores.isEmpty(), qPrintable(s.errores));
    QStringList lineas = s.salida.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 4);
    // The window's summary first: Maiz's net +0,33 % holds a load 4 % over.
    QCOMPARE(lineas.takeFirst(), QStringLiteral("1 de 3 cargas fuera de la tolerancia, en 1 de 2 grupos"));
    QVERIFY(lineas[0].startsWith("ALIMENTO  CARGAS  SUGERIDO KG"));
    // Maiz: 1500 planned, 1505 loaded, half its loads within 3 % and within 2 %, 17,5 kg off on
    // average; Soja: counted, without a number to add.
    QCOMPARE(lineas[1].simplified(),
             QStringLiteral("Maiz 2 1500,0 1505,0 5,0 0,33 2,75 1 0 50,00 17,5 50,00 0,00 0,00"));
    QCOMPARE(lineas[2].simplified(), QStringLiteral("Soja 1 0,0 0,0 0,0 0 1"));
    for (const QString& l : lineas) // numbers right-aligned under their headers
        QCOMPARE(l.size(), lineas[0].size());
}

void TstInformeCli::informeCsv() {
#ifdef Q_OS_WIN
    QSKIP("En Windows los números siguen la configuración regional del usuario, no LC_ALL");
#endif
    Salida s = correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "dia", "--csv",
                       QDir(base_->carpeta()).filePath("dias.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("dias.csv"),
             "DÍA,CARGAS,SUGERIDO KG,REAL KG,DIFERENCIA KG,DIFERENCIA %,DESVÍO MEDIO %,FUERA DE TOLERANCIA,"
             "SIN DATO NUMÉRICO,DENTRO DE TOLERANCIA %,DESVÍO MEDIO KG,DENTRO DE 2 % (%),DENTRO DE 5 KG (%),"
             "\"MÁS DE 62,5 KG (%)\"\r\n"
             "01/03/2024,2,1000.0,985.0,-15.0,-1.50,1.50,0,1,100.00,15.0,100.00,0.00,0.00\r\n"
             "02/03/2024,1,500.0,520.0,20.0,4.00,4.00,1,0,0.00,20.0,0.00,0.00,0.00\r\n");
    s = correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "corral",
                "--tolerancia", "1,5", "--csv", QDir(base_->carpeta()).filePath("corrales.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("corrales.csv").split('\n').value(1),
             "Corral 1,1,600.0,590.0,-10.0,-1.67,1.67,1,0,0.00,10.0,100.00,0.00,0.00\r");
}

void TstInformeCli::informeXlsx() {
    const QString ruta = QDir(base_->carpeta()).filePath("operarios.xlsx");
    const Salida s = correr(
        {"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "operario", "--xlsx", ruta});
    QCOMPARE(s.codigo, 0);
    const QJsonObject libro = LectorLibro::leer(ruta);
    const QJsonArray filas = libro["filas"].toArray();
    QCOMPARE(filas.size(), 10); // six lines about the report, a blank, the headers, two operators
    QCOMPARE(filas[2][1]["valor"].toString(), QStringLiteral("Operario"));
    QCOMPARE(filas[8][0]["valor"].toString(), QStringLiteral("Juan"));
    QCOMPARE(filas[8][5]["valor"].toDouble(), -0.015);
    QVERIFY(filas[8][5]["tipo"] == QStringLiteral("numero"));
    QCOMPARE(filas[8][5]["formato"].toString(), QStringLiteral("0.00%"));
    QCOMPARE(filas[7].toArray().size(), 19); // with the operator's scorecard
    QCOMPARE(libro["otrasHojas"]["Cargas"].toArray().size(), 4);
}

void TstInformeCli::csvComoLaVentana() {
    // Every figure of the CSV is the window's text with "." for ",": they agree to the cent.
    const QString ruta = QDir(base_->carpeta()).filePath("operarios.csv");
    QCOMPARE(correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "operario",
                     "--csv", ruta})
                 .codigo,
             0);
    InformePrecision informe;
    QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), Agrupacion::Operario, QDate(2024, 3, 1),
                                        QDate(2024, 3, 2), 3, &informe));
    QLocale ventana(QLocale::Spanish, QLocale::Argentina);
    ventana.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList esperadas;
    for (const GrupoPrecision& g : informe.grupos)
        esperadas << SalidaInforme::textos(g, Agrupacion::Operario, ventana).join(u'|').replace(u',', u'.');
    QStringList lineas = QString::fromUtf8(leer("operarios.csv")).split("\r\n", Qt::SkipEmptyParts);
    lineas.removeFirst();
    for (QString& l : lineas)
        l.replace(u',', u'|');
    QCOMPARE(lineas, esperadas);
}

void TstInformeCli::cargas() {
#ifdef Q_OS_WIN
    QSKIP("En Windows los números siguen la configuración regional del usuario, no LC_ALL");
#endif
    const QStringList rango = {"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--cargas"};
    const Salida s = correr(rango + QStringList{"--csv", QDir(base_->carpeta()).filePath("cargas.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(leer("cargas.csv"),
             "fecha;hora;viaje;receta;alimento;operario;kg_planificado;kg_real;diferencia_kg;diferencia_pct;"
             "dentro\r\n"
             "01/03/2024;08:00;1;Engorde;Maiz;Juan;1000.0;985.0;-15.0;-1.50;sí\r\n"
             "01/03/2024;08:10;1;Engorde;Soja;Juan;;110.0;;;\r\n"
             "02/03/2024;08:00;1;Recria;Maiz;Pedro;500.0;520.0;20.0;4.00;no\r\n");
    const Salida columnas = correr(rango);
    QCOMPARE(columnas.codigo, 0);
    const QStringList lineas = columnas.salida.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 4);
    QCOMPARE(lineas[3].simplified(),
             QStringLiteral("02/03/2024 08:00 1 Recria Maiz Pedro 500,0 520,0 20,0 4,00 fuera"));
}

void TstInformeCli::toleranciaPropia() {
    // Maiz given 20 kg: its loads 15 and 20 kg off are both within, whatever the general 3 %.
    Salida s = correr({"tolerancia", "Maiz", "--kg", "20"});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida, QStringLiteral("Maiz: 20 kg\n"));
    s = correr({"informe", "--desde", "2024-03-01", "--hasta", "2024-03-02", "--por", "alimento"});
    QCOMPARE(s.salida.section(u'\n', 0, 0),
             QStringLiteral("0 de 3 cargas fuera de la tolerancia, en 0 de 2 grupos"));
    QCOMPARE(correr({"tolerancia"}).salida, QStringLiteral("General: 3 %\nMaiz: 20 kg\n"));
    for (const QStringList& malos : QList<QStringList>{{"tolerancia", "Maiz", "--kg", "-1"},
                                                       {"tolerancia", "Maiz", "--porcentaje", "x"},
                                                       {"tolerancia", "--kg", "3"},
                                                       {"tolerancia", "Maiz", "Soja"}})
        QCOMPARE(correr(malos).codigo, 2);
    // No bound: back to the general one.
    s = correr({"tolerancia", "maiz"});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida, QStringLiteral("maiz: la tolerancia general (3 %)\n"));
    QCOMPARE(correr({"tolerancia"}).salida, QStringLiteral("General: 3 %\n"));
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
