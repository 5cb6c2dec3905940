// The PDFs of tolvaro-cli read back with pdftotext: the loading sheet of a day (every trip, feed,
// kilogram and pen in order, percentage recipes converted as the upload converts them, accents
// kept), a 300-trip day over many pages without a split trip, the accuracy report and the kept
// events, and the usage errors.
#include "Archivos.h"
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "TextoPdf.h"

#include "db/BaseDatos.h"
#include "historial/HistorialSucesos.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTime>

namespace {
using Salida = SalidaCli;
constexpr int kViajesGrandes = 300;
} // namespace

class TstPlanillaCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { base_.reset(); }
    void planillaDelDia();
    void diaDeTrescientosViajes();
    void informeYHistorial();
    void erroresDeUso_data();
    void erroresDeUso();

private:
    Salida correr(const QStringList& args) {
        return correrCli(args, CorridaCli(base_->carpeta()).regional().sinPantalla().espera(120000));
    }
    QString ruta(const QString& nombre) const { return QDir(base_->carpeta()).filePath(nombre); }
    std::unique_ptr<BaseTemporal> base_;
};

void TstPlanillaCli::initTestCase() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    QVERIFY(base_->ejecutar("insert into recetas values (1, 'Engorde Año', 0)"));
    QVERIFY(base_->ejecutar("insert into recetas values (2, 'Recría Ñandú', -1)"));
    QVERIFY(base_->ejecutar("insert into alimentos values (10, 'Maíz'), (11, 'Silo de sorgo'), "
                            "(12, 'Núcleo proteico'), (13, 'Avena')"));
    QVERIFY(base_->ejecutar(
        "insert into operarios values (7, 'José Pérez'), (8, 'Inés'), (20, 'Operario Único')"));
    // Trip 5 is stored first but loads later; feeds and pens are stored out of their order.
    QVERIFY(base_->ejecutar("insert into viajes values (5, '2024-05-02', '10:15', 2, 8, 11, 60, 1), "
                            "(5, '2024-05-02', '10:15', 2, 8, 12, 40, 2), "
                            "(3, '2024-05-02', '06:30', 1, 7, 11, 2500, 2), "
                            "(3, '2024-05-02', '06:30', 1, 7, 10, 1200.5, 1), "
                            "(3, '2024-05-02', '06:30', 1, 7, 12, 300, 3), "
                            "(9, '2024-05-03', '06:00', 1, 7, 13, 999, 1)"));
    QVERIFY(
        base_->ejecutar("insert into descarga values (3, 'Corral Año 1', 70, 2), (3, 'Corral Sur', 30, 1), "
                        "(5, 'Corral Recría', 2000, 1), (5, 'Lote Ñ', 1000, 2), (9, 'Corral Sur', 100, 1)"));
    QVERIFY(base_->ejecutar("insert into preferencias values ('granja', 'Estancia La Ñata')"));

    // A day of 300 trips of 3 to 9 feeds each, every one with two pens.
    QSqlQuery q(BaseDatos::ConexionBD());
    BaseDatos::ConexionBD().transaction();
    q.prepare("insert into viajes values (?, '2024-06-01', ?, 1, 20, ?, ?, ?)");
    for (int v = 0; v < kViajesGrandes; ++v)
        for (int a = 0; a < 3 + v % 7; ++a) {
            q.addBindValue(1000 + v);
            q.addBindValue(QTime(5, 0).addSecs(v * 180).toString("HH:mm"));
            q.addBindValue(10 + a % 3);
            q.addBindValue(100 + a);
            q.addBindValue(a + 1);
            QVERIFY(q.exec());
        }
    q.prepare("insert into descarga values (?, ?, 50, ?)");
    for (int v = 0; v < kViajesGrandes; ++v)
        for (int c = 1; c <= 2; ++c) {
            q.addBindValue(1000 + v);
            q.addBindValue(QStringLiteral("Corral %1").arg(c));
            q.addBindValue(c);
            QVERIFY(q.exec());
        }
    QVERIFY(BaseDatos::ConexionBD().commit());

    const QList<FilaEvento> sucesos = {
        {"CARGA", "01/03/2024", "08:00", "Engorde", "Maíz", "1000", "985", "Juan"},
        {"CARGA", "01/03/2024", "08:10", "Engorde", "Soja", "100", "130", "Juan"},
        {"CARGA", "2024-03-02", "08:00:00", "Recría", "Maíz", "500", "520", "Pedro"}};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), sucesos, HistorialSucesos::kWeb, nullptr,
                                        QDateTime(QDate(2024, 3, 3), QTime(7, 5, 9))));
}

void TstPlanillaCli::planillaDelDia() {
#ifdef Q_OS_WIN
    QSKIP("En Windows los números siguen la configuración regional del usuario, no LC_ALL");
#endif
    const Salida s = correr({"planilla", "--fecha", "2024-05-02", "--pdf", ruta("dia.pdf")});
    QCOMPARE(s.codigo, 0);
    QVERIFY2(s.errores.isEmpty(), qPrintable(s.errores));
    const QString texto = TextoPdf::texto(ruta("dia.pdf"));
    QString falta;
    // Trips by time; feeds by loading order; a percentage recipe's kilograms are its pens' total
    // kilograms times its percentage, and its pens' shares their part of that total.
    QVERIFY2(TextoPdf::enOrden(texto,
                               {"Estancia La Ñata",
                                "Planilla de carga",
                                "3",
                                "06:30",
                                "Engorde Año",
                                "José Pérez",
                                "Maíz",
                                "1200,5",
                                "Silo de sorgo",
                                "2500",
                                "Núcleo proteico",
                                "300",
                                "Total del viaje",
                                "4000,5",
                                "1. Corral Sur: 30 %",
                                "2. Corral Año 1: 70 %",
                                "5",
                                "10:15",
                                "Recría Ñandú",
                                "Inés",
                                "Silo de sorgo",
                                "1800",
                                "Núcleo proteico",
                                "1200",
                                "Total del viaje",
                                "3000",
                                "1. Corral Recría: 66,6666666666667 %",
                                "2. Lote Ñ: 33,3333333333333 %",
                                "Página 1 de 1"},
                               &falta),
             qPrintable(falta + "\n" + texto));
    QVERIFY(!texto.contains("Avena")); // another day's trip

    QVERIFY(!QFile::exists(ruta("vacio.pdf")));
    QCOMPARE(correr({"planilla", "--fecha", "2024-01-01", "--pdf", ruta("vacio.pdf")}).codigo, 0);
    QVERIFY(TextoPdf::texto(ruta("vacio.pdf")).contains("No hay viajes planificados para este día."));
}

void TstPlanillaCli::diaDeTrescientosViajes() {
    const Salida s =
        correr({"planilla", "--fecha", "2024-06-01", "--pdf", ruta("grande.pdf"), "--papel", "carta"});
    QCOMPARE(s.codigo, 0);
    const QStringList paginas = TextoPdf::paginas(ruta("grande.pdf"));
    QVERIFY(paginas.size() > 5);
    int viajes = 0;
    for (qsizetype i = 0; i < paginas.size(); ++i) {
        const QString& p = paginas[i];
        QVERIFY2(p.contains(QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())), qPrintable(p));
        QVERIFY(p.contains("Estancia La Ñata"));
        // A trip's first line (its operator), its total and its pens are on the same page.
        const int comienzos = int(p.count("Operario Único"));
        QCOMPARE(int(p.count("Total del viaje")), comienzos);
        QCOMPARE(int(p.count("Descarga:")), comienzos);
        QVERIFY(comienzos > 0);
        viajes += comienzos;
    }
    QCOMPARE(viajes, kViajesGrandes);
}

void TstPlanillaCli::informeYHistorial() {
    const QStringList rango{"--desde", "2024-03-01", "--hasta", "2024-03-02"};
    const Salida columnas = correr(QStringList{"informe"} + rango + QStringList{"--por", "alimento"});
    QCOMPARE(columnas.codigo, 0);
    QCOMPARE(correr(QStringList{"informe"} + rango +
                    QStringList{"--por", "alimento", "--pdf", ruta("informe.pdf")})
                 .codigo,
             0);
    const QString informe = TextoPdf::texto(ruta("informe.pdf"));
    // The figures of every row of the text table, in the same order.
    QStringList cifras;
    // After the summary line and the headers.
    for (const QString& linea : columnas.salida.split(u'\n', Qt::SkipEmptyParts).mid(2))
        cifras << linea.split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts);
    QVERIFY(cifras.size() > 10);
    QString falta;
    QVERIFY2(TextoPdf::enOrden(informe, QStringList{"Precisión de carga", "Agrupación: Alimento"} + cifras,
                               &falta),
             qPrintable(falta + "\n" + informe));

    // With --cargas the report is followed by its loads, as the text list gives them.
    QCOMPARE(
        correr(QStringList{"informe"} + rango + QStringList{"--cargas", "--pdf", ruta("cargas.pdf")}).codigo,
        0);
    QStringList cargas{"Precisión de carga", "Cargas"};
    const Salida lista = correr(QStringList{"informe"} + rango + QStringList{"--cargas"});
    for (const QString& linea : lista.salida.split(u'\n', Qt::SkipEmptyParts).mid(1))
        cargas << linea.split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts).mid(0, 2);
    QVERIFY(cargas.size() > 4);
    QVERIFY2(TextoPdf::enOrden(TextoPdf::texto(ruta("cargas.pdf")), cargas, &falta), qPrintable(falta));

    QCOMPARE(correr(QStringList{"historial"} + rango + QStringList{"--pdf", ruta("historial.pdf")}).codigo,
             0);
    QVERIFY(TextoPdf::enOrden(TextoPdf::texto(ruta("historial.pdf")),
                              {"Sucesos guardados", "3 sucesos", "Maíz", "985", "Soja", "130", "Recría",
                               "Maíz", "520", "Pedro", "Página 1 de 1"}));
}

void TstPlanillaCli::erroresDeUso_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("codigo");
    QTest::newRow("sin fecha") << QStringList{"planilla", "--pdf", "x.pdf"} << 2;
    QTest::newRow("fecha imposible") << QStringList{"planilla", "--fecha", "2024-02-30", "--pdf", "x.pdf"}
                                     << 2;
    QTest::newRow("sin pdf") << QStringList{"planilla", "--fecha", "2024-05-02"} << 2;
    QTest::newRow("papel desconocido")
        << QStringList{"planilla", "--fecha", "2024-05-02", "--pdf", "x.pdf", "--papel", "oficio"} << 2;
    QTest::newRow("dos salidas") << QStringList{"informe",    "--desde", "2024-03-01", "--hasta",
                                                "2024-03-02", "--por",   "alimento",   "--csv",
                                                "a.csv",      "--pdf",   "b.pdf"}
                                 << 2;
    QTest::newRow("carpeta inexistente")
        << QStringList{"planilla", "--fecha", "2024-05-02", "--pdf", "/nonexistent-dir/x.pdf"} << 1;
}

void TstPlanillaCli::erroresDeUso() {
    QFETCH(QStringList, args);
    QFETCH(int, codigo);
    const Salida s = correr(args);
    QCOMPARE(s.codigo, codigo);
    QVERIFY(!s.errores.isEmpty());
    QVERIFY(!QFile::exists("x.pdf") && !QFile::exists("b.pdf"));
}

QTEST_GUILESS_MAIN(TstPlanillaCli)
#include "tst_planillacli.moc"
