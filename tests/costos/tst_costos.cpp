// Stock and costs on the hand-made history of HistorialCostos.h: every figure below is worked out
// by hand in its comment.
#include "BaseTemporal.h"
#include "HistorialCostos.h"

#include "costos/InformeCostos.h"
#include "costos/InventarioStock.h"
#include "costos/SalidaCostos.h"

#include <QTest>

class TstCostos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { base_.reset(); }
    void stock_data();
    void stock();
    void merma();
    void costos_data();
    void costos();
    void nombresSinAlimento();
    void descargaRepetidaNoCambiaStock();
    void periodoLargoEnDosMitades();

private:
    std::unique_ptr<BaseTemporal> base_;
};

void TstCostos::initTestCase() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    QVERIFY(HistorialCostos::cargar());
}

void TstCostos::stock_data() {
    QTest::addColumn<QDate>("fecha");
    QTest::addColumn<QStringList>("filas"); // the CSV's rows, header left out
    // Maíz on 03-11: 8000 counted on 03-07, less 980 + 1000 + 1001.25; used 03-04..03-10:
    // 1005.5 + 995 + 1000 + 1020 + 980 + 1000 + 1001.25 = 7001.75, 1000.25 a day, 5.02 days.
    // Silaje: 25000 - 20005 = 4995; 14005 in 7 days, 2000.714 a day, 2.50 days.
    // Soja: 50 loaded, never received: -50, which lasts 0 days.
    QTest::newRow("hoy") << QDate(2024, 3, 11)
                         << QStringList{"1;Maíz;5018.75;1000.25;5.0", "2;Silaje De Maíz;4995;2000.714;2.5",
                                        "3;Soja;-50;7.143;0.0"};
    // 12000 + 5000 - 5000.5; used 03-01..03-04: 4005.5, 572.214 a day; 11999.5 * 7 / 4005.5 = 20.97.
    QTest::newRow("con ingreso del día")
        << QDate(2024, 3, 5)
        << QStringList{"1;Maíz;11999.5;572.214;21.0", "2;Silaje De Maíz;14997;1142.857;13.1", "3;Soja;0;0;"};
    QTest::newRow("día del conteo") << QDate(2024, 3, 7)
                                    << QStringList{"1;Maíz;8000;857.214;9.3",
                                                   "2;Silaje De Maíz;11000;1714.286;6.4", "3;Soja;0;0;"};
    QTest::newRow("antes de las cargas")
        << QDate(2024, 2, 28) << QStringList{"1;Maíz;12000;0;", "2;Silaje De Maíz;0;0;", "3;Soja;0;0;"};
}

void TstCostos::stock() {
    QFETCH(QDate, fecha);
    QFETCH(QStringList, filas);
    InventarioStock inventario;
    QVERIFY(!InventarioStock::calcular(BaseDatos::ConexionBD(), fecha, &inventario));
    const QStringList csv = QString::fromUtf8(SalidaCostos::csvStock(inventario.filas(fecha)))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(csv.mid(1), filas);
}

void TstCostos::merma() {
    // At the close of 03-07 Maíz should have had 17000 - 7020.5 = 9979.5 kg; 8000 were counted:
    // 1979.5 kg lost, 19.84 % of what the loads left.
    InventarioStock inventario;
    QVERIFY(!InventarioStock::calcular(BaseDatos::ConexionBD(), QDate(2024, 3, 31), &inventario));
    const QList<InventarioStock::Merma> mermas = inventario.mermas();
    QCOMPARE(mermas.size(), 1);
    QCOMPARE(mermas[0].nombre, QStringLiteral("Maíz"));
    QCOMPARE(mermas[0].fecha, QDate(2024, 3, 7));
    QCOMPARE(mermas[0].calculado, 9979500);
    QCOMPARE(mermas[0].gramos(), 1979500);
    QCOMPARE(*mermas[0].porcentaje(), 19.84);
}

void TstCostos::costos_data() {
    QTest::addColumn<PorCosto>("por");
    QTest::addColumn<QStringList>("filas"); // the CSV's rows, header left out
    // Maíz: (990 + 1010 + 1000 + 1005.5 + 995) * 0.25 + (1000 + 1020 + 980 + 1000 + 1001.25) * 0.30
    //     = 1250.125 + 1500.375 = 2750.50, planned 5000 * 0.25 + 5000 * 0.30 = 2750.
    // Silaje: 14000 * 0.085 + (2020 + 1985 + 2000) * 0.0925 = 1190 + 555.4625 = 1745.46, planned
    //     1190 + 555 = 1745. Avena (no feed) and soja (no price yet) are worth 0.
    // Total: 4495.9625 = 4495.96 against 4495.
    QTest::newRow("alimento") << PorCosto::Alimento
                              << QStringList{"Avena;100;100;0.00;0.00;0.00",
                                             "Maíz;10000;10001.75;2750.00;2750.50;0.50",
                                             "Silaje De Maíz;20000;20005;1745.00;1745.46;0.46",
                                             "Soja;50;50;0.00;0.00;0.00",
                                             "TOTAL;30150;30156.75;4495.00;4495.96;0.96"};
    // Day 4: 1005.5 * 0.25 + 2000 * 0.085 = 421.375; day 6, Maíz's new price: 1000 * 0.30 +
    // 1997 * 0.085 = 469.745 against 470; day 10: 1001.25 * 0.30 + 2000 * 0.0925 = 485.375.
    QTest::newRow("día") << PorCosto::Dia << QStringList{"2024-03-01;3100;3090;420.00;417.50;-2.50",
                                                         "2024-03-02;3000;3000;420.00;421.65;1.65",
                                                         "2024-03-03;3000;3010;420.00;420.85;0.85",
                                                         "2024-03-04;3000;3005.5;420.00;421.38;1.38",
                                                         "2024-03-05;3000;2998;420.00;419.01;-0.99",
                                                         "2024-03-06;3000;2997;470.00;469.75;-0.25",
                                                         "2024-03-07;3000;3020;470.00;476.00;6.00",
                                                         "2024-03-08;3000;3000;485.00;480.85;-4.15",
                                                         "2024-03-09;3000;2985;485.00;483.61;-1.39",
                                                         "2024-03-10;3050;3051.25;485.00;485.38;0.38",
                                                         "TOTAL;30150;30156.75;4495.00;4495.96;0.96"};
    // Juan (odd days): Maíz 2985 * 0.25 + 2020 * 0.30 = 1352.25, Silaje 8013 * 0.085 + 1985 *
    // 0.0925 = 864.7175: 2216.9675; Pedro the rest, 2278.995. Each rounds on its own, so the rows
    // add up to a cent more than the total, which is rounded once from the loads.
    QTest::newRow("operario") << PorCosto::Operario
                              << QStringList{"Juan;15100;15103;2215.00;2216.97;1.97",
                                             "Pedro;15050;15053.75;2280.00;2279.00;-1.00",
                                             "TOTAL;30150;30156.75;4495.00;4495.96;0.96"};
    QTest::newRow("receta") << PorCosto::Receta
                            << QStringList{"Engorde;30000;30006.75;4495.00;4495.96;0.96",
                                           "Recria;150;150;0.00;0.00;0.00",
                                           "TOTAL;30150;30156.75;4495.00;4495.96;0.96"};
    // Each day's trip goes 1800 of 3000 kg to Corral 1: 0.6 of 4495.9625 = 2697.5775, and 0.4 =
    // 1798.385 to Corral 2.
    QTest::newRow("corral") << PorCosto::Corral
                            << QStringList{"Corral 1;18000;18000;2697.00;2697.58;0.58",
                                           "Corral 2;12000;12000;1798.00;1798.39;0.39",
                                           "TOTAL;30000;30000;4495.00;4495.96;0.96"};
}

void TstCostos::costos() {
    QFETCH(PorCosto, por);
    QFETCH(QStringList, filas);
    InformeCostos informe;
    QVERIFY(!InformeCostos::calcular(BaseDatos::ConexionBD(), por, QDate(2024, 3, 1), QDate(2024, 3, 10),
                                     &informe));
    const QStringList csv =
        QString::fromUtf8(SalidaCostos::csvCostos(informe)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(csv.mid(1), filas);
}

void TstCostos::nombresSinAlimento() {
    InformeCostos informe;
    QVERIFY(!InformeCostos::calcular(BaseDatos::ConexionBD(), PorCosto::Dia, QDate(2024, 3, 1),
                                     QDate(2024, 3, 10), &informe));
    QCOMPARE(informe.sinAlimento, QStringList{"Avena"});
    QCOMPARE(informe.sinPrecio, QStringList{"Soja"});
    InventarioStock inventario;
    QVERIFY(!InventarioStock::calcular(BaseDatos::ConexionBD(), QDate(2024, 3, 10), &inventario));
    QCOMPARE(inventario.sinAlimento, QStringList{"Avena"});
}

void TstCostos::descargaRepetidaNoCambiaStock() {
    auto stock = [] {
        InventarioStock inventario;
        if (InventarioStock::calcular(BaseDatos::ConexionBD(), QDate(2024, 3, 11), &inventario))
            return QByteArray();
        return SalidaCostos::csvStock(inventario.filas(QDate(2024, 3, 11)));
    };
    const QByteArray antes = stock();
    QVERIFY(!antes.isEmpty());
    HistorialSucesos::Fusion f;
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), HistorialCostos::sucesos(),
                                        HistorialSucesos::kWeb, &f));
    QCOMPARE(f.agregados, 0);
    QCOMPARE(stock(), antes);
    // A history cut back behind its back (the last day's soja load and what followed it gone) is
    // read again whole, not trusted.
    QVERIFY(base_->ejecutar("delete from historial_sucesos where id >= "
                            "(select id from historial_sucesos where alimento = 'soja')"));
    QVERIFY(stock().contains("3;Soja;0;0;\r\n"));
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), HistorialCostos::sucesos(),
                                        HistorialSucesos::kWeb, &f));
    QCOMPARE(f.agregados, 3);
    QCOMPARE(stock(), antes);
}

void TstCostos::periodoLargoEnDosMitades() {
    // A trip loaded before midnight of the day a long period is cut at, and finished after it.
    const QList<FilaEvento> viaje = {
        {"CARGA", "09/02/2024", "23:50", "Engorde", "Maiz", "100", "110", "Juan"},
        {"CARGA", "10/02/2024", "00:05", "Engorde", "Maiz", "100", "90", "Juan"},
        {"DESCARGA", "10/02/2024", "00:10", "Corral 3", "", "150", "150", "Juan"},
        {"DESCARGA", "10/02/2024", "00:15", "Corral 4", "", "50", "50", "Juan"}};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), viaje, HistorialSucesos::kWeb));
    QVERIFY(!PreciosAlimento::guardar(BaseDatos::ConexionBD(), 1, QDate(2024, 1, 1), 0.2));
    for (PorCosto por : InformeCostos::todas()) {
        InformeCostos entero, partido;
        QVERIFY(!InformeCostos::calcular(BaseDatos::ConexionBD(), por, QDate(2024, 1, 10), QDate(2024, 3, 10),
                                         &entero));
        QVERIFY(!InformeCostos::calcularEnArchivo(base_->archivo(), por, QDate(2024, 1, 10),
                                                  QDate(2024, 3, 10), &partido));
        QCOMPARE(SalidaCostos::csvCostos(partido), SalidaCostos::csvCostos(entero));
    }
    InformeCostos corrales;
    QVERIFY(!InformeCostos::calcularEnArchivo(base_->archivo(), PorCosto::Corral, QDate(2024, 1, 10),
                                              QDate(2024, 3, 10), &corrales));
    // 200 kg at 0.20 = 40.00 shared 150 : 50.
    QCOMPARE(corrales.grupos[2].grupo, QStringLiteral("Corral 3"));
    QCOMPARE(corrales.grupos[2].costoReal(), 3000);
}

QTEST_GUILESS_MAIN(TstCostos)
#include "tst_costos.moc"
