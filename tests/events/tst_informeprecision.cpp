// The accuracy report's arithmetic, checked by hand on a small plan kept through the history.
#include "BaseTemporal.h"

#include "db/BaseDatos.h"
#include "events/HistorialSucesos.h"
#include "events/InformePrecision.h"
#include "events/SalidaInforme.h"

#include <QTest>

namespace {

// Two days of loads and discharges, and one load the day after (outside the range asked for).
const QList<FilaEvento> kPlan = {
    {"CARGA", "01/03/2024", "08:00", "Engorde", "Maiz", "1000", "985", "Juan"},   // -1.5 %
    {"CARGA", "01/03/2024", "08:10", "Engorde", "Maiz", "1000", "1040", "Juan"},  // +4 %
    {"CARGA", "01/03/2024", "08:20", "Engorde", "Soja", "200", "210", "Pedro"},   // +5 %
    {"CARGA", "2024-03-02", "08:00", "Recria", "maiz", "500", "500", "Pedro"},    // 0 %
    {"CARGA", "2024-03-02", "08:10", "Recria", "Soja", "s/d", "100", "Pedro"},    // no number
    {"CARGA", "2024-03-02", "08:20", "Recria", "Heno", "0", "20", "Pedro"},       // nothing planned
    {"DESCARGA", "01/03/2024", "09:00", "Corral 1", "", "1200", "1170", "Juan"},  // -2.5 %
    {"DESCARGA", "02/03/2024", "09:00", "Corral 1", "", "600", "630", "Pedro"},   // +5 %
    {"DESCARGA", "02/03/2024", "09:00", "Corral 2", "", "400", "?", "Pedro"},     // no number
    {"CARGA", "03/03/2024", "08:00", "Engorde", "Maiz", "1000", "2000", "Juan"}}; // outside the range

// group|events|suggested|real|difference|difference %|mean deviation %|beyond|without number
QStringList resumen(const InformePrecision& informe) {
    auto n = [](double v) { return QString::number(v, 'f', 4); };
    auto o = [&](const std::optional<double>& v) { return v ? n(*v) : QString(); };
    QStringList r;
    for (const GrupoPrecision& g : informe.grupos)
        r << QStringList{g.grupo,
                         QString::number(g.sucesos),
                         n(g.sugerido),
                         n(g.real),
                         n(g.diferencia()),
                         o(g.diferenciaPorcentaje()),
                         o(g.desvioMedio()),
                         QString::number(g.fuera),
                         QString::number(g.sinNumero)}
                 .join(u'|');
    return r;
}

} // namespace

class TstInformePrecision : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unaCarga_data();
    void unaCarga();
    void agrupaciones_data();
    void agrupaciones();
    void ordenAlfabetico();
    void enDosMitades();
};

void TstInformePrecision::unaCarga_data() {
    QTest::addColumn<QString>("sugerido");
    QTest::addColumn<QString>("real");
    QTest::addColumn<double>("tolerancia");
    QTest::addColumn<QStringList>("fila"); // as shown with a decimal comma
    QTest::addColumn<bool>("fuera");
    QTest::newRow("planeado 1000, cargado 985")
        << "1000"
        << "985" << 3.0 << QStringList{"Maiz", "1", "1000,0", "985,0", "-15,0", "-1,50", "1,50", "0", "0"}
        << false;
    QTest::newRow("justo en la tolerancia")
        << "1000"
        << "1030" << 3.0 << QStringList{"Maiz", "1", "1000,0", "1030,0", "30,0", "3,00", "3,00", "0", "0"}
        << false;
    QTest::newRow("apenas fuera") << "1000"
                                  << "1030" << 2.9 << QStringList{"Maiz", "1",    "1000,0", "1030,0", "30,0",
                                                                  "3,00", "3,00", "1",      "0"}
                                  << true;
    QTest::newRow("plan negativo: más de lo planeado es positivo")
        << "-100"
        << "-90" << 3.0 << QStringList{"Maiz", "1", "-100,0", "-90,0", "10,0", "10,00", "10,00", "1", "0"}
        << true;
    QTest::newRow("sugerido no numérico")
        << "s/d"
        << "985" << 3.0 << QStringList{"Maiz", "1", "0,0", "0,0", "0,0", "", "", "0", "1"} << false;
}

void TstInformePrecision::unaCarga() {
    QFETCH(QString, sugerido);
    QFETCH(QString, real);
    QFETCH(double, tolerancia);
    QFETCH(QStringList, fila);
    QFETCH(bool, fuera);
    GrupoPrecision g;
    g.grupo = QStringLiteral("Maiz");
    g.agregar(EventoHistorial::leerKilos(sugerido), EventoHistorial::leerKilos(real), tolerancia);
    QLocale local(QLocale::Spanish, QLocale::Argentina);
    local.setNumberOptions(QLocale::OmitGroupSeparator); // as Texto::regional() gives it
    QCOMPARE(SalidaInforme::textos(g, Agrupacion::Alimento, local), fila);
    QCOMPARE(g.fueraDeTolerancia(tolerancia), fuera);
}

void TstInformePrecision::agrupaciones_data() {
    QTest::addColumn<int>("agrupacion");
    QTest::addColumn<QStringList>("filas");
    QTest::newRow("alimento") << int(Agrupacion::Alimento)
                              << QStringList{"Heno|1|0.0000|20.0000|20.0000|||1|0",
                                             "Maiz|3|2500.0000|2525.0000|25.0000|1.0000|1.8333|1|0",
                                             "Soja|2|200.0000|210.0000|10.0000|5.0000|5.0000|1|1"};
    QTest::newRow("operario") << int(Agrupacion::Operario)
                              << QStringList{"Juan|2|2000.0000|2025.0000|25.0000|1.2500|2.7500|1|0",
                                             "Pedro|4|700.0000|730.0000|30.0000|4.2857|2.5000|2|1"};
    QTest::newRow("día") << int(Agrupacion::Dia)
                         << QStringList{"2024-03-01|3|2200.0000|2235.0000|35.0000|1.5909|3.5000|2|0",
                                        "2024-03-02|3|500.0000|520.0000|20.0000|4.0000|0.0000|1|1"};
    QTest::newRow("receta") << int(Agrupacion::Receta)
                            << QStringList{"Engorde|3|2200.0000|2235.0000|35.0000|1.5909|3.5000|2|0",
                                           "Recria|3|500.0000|520.0000|20.0000|4.0000|0.0000|1|1"};
    QTest::newRow("corral") << int(Agrupacion::Corral)
                            << QStringList{"Corral 1|2|1800.0000|1800.0000|0.0000|0.0000|3.7500|1|0",
                                           "Corral 2|1|0.0000|0.0000|0.0000|||0|1"};
}

void TstInformePrecision::agrupaciones() {
    QFETCH(int, agrupacion);
    QFETCH(QStringList, filas);
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), kPlan, HistorialSucesos::kDirecta));
    InformePrecision informe;
    QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), Agrupacion(agrupacion), QDate(2024, 3, 1),
                                        QDate(2024, 3, 2), 3, &informe));
    QCOMPARE(resumen(informe), filas);
    // Which groups stand out: beyond 3 % either way, or loaded with nothing planned.
    QStringList fuera;
    for (const GrupoPrecision& g : informe.grupos)
        if (g.fueraDeTolerancia(informe.tolerancia))
            fuera << g.grupo;
    const QHash<int, QStringList> esperados = {{int(Agrupacion::Alimento), {"Heno", "Soja"}},
                                               {int(Agrupacion::Operario), {"Pedro"}},
                                               {int(Agrupacion::Dia), {"2024-03-02"}},
                                               {int(Agrupacion::Receta), {"Recria"}},
                                               {int(Agrupacion::Corral), {}}};
    QCOMPARE(fuera, esperados.value(agrupacion));
}

void TstInformePrecision::ordenAlfabetico() {
    // Accented and Spanish letters sort where a reader looks for them, not after "Z".
    BaseTemporal base;
    QList<FilaEvento> filas;
    for (const char* alimento : {"Zanahoria", "Ñandú", "Álfalfa", "Nabo"})
        filas << FilaEvento{"CARGA", "01/03/2024", "08:00", "R", QString::fromUtf8(alimento), "1", "1", "J"};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    InformePrecision informe;
    QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), Agrupacion::Alimento, QDate(2024, 3, 1),
                                        QDate(2024, 3, 1), 3, &informe));
    QStringList grupos;
    for (const GrupoPrecision& g : informe.grupos)
        grupos << g.grupo;
    QCOMPARE(grupos, QStringList({"Álfalfa", "Nabo", "Ñandú", "Zanahoria"}));
}

void TstInformePrecision::enDosMitades() {
    // A year read as two halves on two connections gives the report read in one pass, groups
    // spanning both halves (in either spelling) added up.
    BaseTemporal base;
    QList<FilaEvento> filas = kPlan;
    filas << FilaEvento{"CARGA", "20/11/2024", "08:00", "Engorde", "MAIZ", "400", "390", "Juan"}
          << FilaEvento{"CARGA", "21/11/2024", "08:00", "Engorde", "Avena", "300", "330", "Juan"};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    for (Agrupacion a : InformePrecision::todas()) {
        InformePrecision unaVez, mitades;
        QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), a, QDate(2024, 1, 1),
                                            QDate(2024, 12, 31), 3, &unaVez));
        QVERIFY(!InformePrecision::calcularEnArchivo(BaseDatos::ConexionBD().databaseName(), a,
                                                     QDate(2024, 1, 1), QDate(2024, 12, 31), 3, &mitades));
        QCOMPARE(resumen(mitades), resumen(unaVez));
    }
}

QTEST_GUILESS_MAIN(TstInformePrecision)
#include "tst_informeprecision.moc"
