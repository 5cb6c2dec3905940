// The accuracy report's arithmetic, checked by hand on a small plan kept through the history.
#include "BaseTemporal.h"

#include "db/BaseDatos.h"
#include "historial/CargasPrecision.h"
#include "historial/HistorialSucesos.h"
#include "historial/InformePrecision.h"
#include "historial/SalidaInforme.h"

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
    void toleranciaDeUnaCarga_data();
    void toleranciaDeUnaCarga();
    void toleranciaPorAlimento();
    void bandasYOperario();
    void semanaQueSeCompensa();
    void viajesDelDia();
};

void TstInformePrecision::unaCarga_data() {
    QTest::addColumn<QString>("sugerido");
    QTest::addColumn<QString>("real");
    QTest::addColumn<double>("tolerancia");
    QTest::addColumn<QStringList>("fila"); // as shown with a decimal comma
    QTest::addColumn<bool>("fuera");
    QTest::newRow("planeado 1000, cargado 985")
        << "1000"
        << "985" << 3.0 << QStringList{"Maiz", "1", "1000,0", "985,0", "-15,0",  "-1,50", "1,50",
                                       "0",    "0", "100,00", "15,0",  "100,00", "0,00",  "0,00"}
        << false;
    QTest::newRow("justo en la tolerancia")
        << "1000"
        << "1030" << 3.0 << QStringList{"Maiz", "1", "1000,0", "1030,0", "30,0", "3,00", "3,00",
                                        "0",    "0", "100,00", "30,0",   "0,00", "0,00", "0,00"}
        << false;
    QTest::newRow("apenas fuera") << "1000"
                                  << "1030" << 2.9
                                  << QStringList{"Maiz", "1", "1000,0", "1030,0", "30,0", "3,00", "3,00",
                                                 "1",    "0", "0,00",   "30,0",   "0,00", "0,00", "0,00"}
                                  << true;
    QTest::newRow("plan negativo: más de lo planeado es positivo")
        << "-100"
        << "-90" << 3.0 << QStringList{"Maiz", "1", "-100,0", "-90,0", "10,0", "10,00", "10,00",
                                       "1",    "0", "0,00",   "10,0",  "0,00", "0,00",  "0,00"}
        << true;
    QTest::newRow("sugerido no numérico")
        << "s/d"
        << "985" << 3.0 << QStringList{"Maiz", "1", "0,0", "0,0", "0,0", "", "", "0", "1", "", "", "", "", ""}
        << false;
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
    QCOMPARE(g.marcado(), fuera); // one load: judged alone or as the net, the same
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
    // Which groups stand out: those holding a load beyond 3 % either way (or loaded with nothing
    // planned), whatever their net; Maiz's +4 % and Corral 1's +5 % hide in nets within it.
    QStringList marcados, netos;
    for (const GrupoPrecision& g : informe.grupos) {
        if (g.marcado())
            marcados << g.grupo;
        if (g.fueraDeTolerancia(informe.tolerancia))
            netos << g.grupo;
    }
    const QHash<int, QStringList> esperados = {{int(Agrupacion::Alimento), {"Heno", "Maiz", "Soja"}},
                                               {int(Agrupacion::Operario), {"Juan", "Pedro"}},
                                               {int(Agrupacion::Dia), {"2024-03-01", "2024-03-02"}},
                                               {int(Agrupacion::Receta), {"Engorde", "Recria"}},
                                               {int(Agrupacion::Corral), {"Corral 1"}}};
    QCOMPARE(marcados, esperados.value(agrupacion));
    const QHash<int, QStringList> porNeto = {{int(Agrupacion::Alimento), {"Heno", "Soja"}},
                                             {int(Agrupacion::Operario), {"Pedro"}},
                                             {int(Agrupacion::Dia), {"2024-03-02"}},
                                             {int(Agrupacion::Receta), {"Recria"}},
                                             {int(Agrupacion::Corral), {}}};
    QCOMPARE(netos, porNeto.value(agrupacion));
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

void TstInformePrecision::toleranciaDeUnaCarga_data() {
    QTest::addColumn<double>("kg");         // -1: no bound in kilograms
    QTest::addColumn<double>("porcentaje"); // -1: no bound in percent
    QTest::addColumn<double>("sugerido");
    QTest::addColumn<double>("diferencia");
    QTest::addColumn<bool>("dentro");
    QTest::newRow("2 kg, 1,5 de más") << 2.0 << -1.0 << 10.0 << 1.5 << true;
    QTest::newRow("2 kg, 2,5 de menos") << 2.0 << -1.0 << 10.0 << -2.5 << false;
    QTest::newRow("2 kg, justo 2") << 2.0 << -1.0 << 10.0 << 2.0 << true;
    QTest::newRow("2 kg o 5 %: 4 de 100 entra por el %") << 2.0 << 5.0 << 100.0 << 4.0 << true;
    QTest::newRow("2 kg o 5 %: 6 de 100 no entra") << 2.0 << 5.0 << 100.0 << -6.0 << false;
    QTest::newRow("3 %, justo 3 de 100") << -1.0 << 3.0 << 100.0 << 3.0 << true;
    QTest::newRow("3 %, nada planeado y algo cargado") << -1.0 << 3.0 << 0.0 << 1.0 << false;
    QTest::newRow("3 %, nada planeado y nada cargado") << -1.0 << 3.0 << 0.0 << 0.0 << true;
}

void TstInformePrecision::toleranciaDeUnaCarga() {
    QFETCH(double, kg);
    QFETCH(double, porcentaje);
    QFETCH(double, sugerido);
    QFETCH(double, diferencia);
    QFETCH(bool, dentro);
    const ToleranciaCarga t{kg < 0 ? std::nullopt : std::optional<double>(kg),
                            porcentaje < 0 ? std::nullopt : std::optional<double>(porcentaje)};
    QCOMPARE(t.admite(diferencia, sugerido), dentro);
}

void TstInformePrecision::toleranciaPorAlimento() {
    // Sales with 2 kg of its own: 1,5 kg off is within, 2,5 kg off is not, whatever the general
    // percentage; the name matches whatever its case. Maiz follows the general percentage.
    BaseTemporal base;
    QVERIFY(!ToleranciasAlimento::guardar(BaseDatos::ConexionBD(), "Sales", {2.0, std::nullopt}));
    const QList<FilaEvento> filas = {{"CARGA", "01/03/2024", "08:00", "R", "sales", "10", "11.5", "J"},
                                     {"CARGA", "01/03/2024", "08:10", "R", "SALES", "10", "7.5", "J"},
                                     {"CARGA", "01/03/2024", "08:20", "R", "Maiz", "1000", "1040", "J"}};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    auto fuera = [](double general, QStringList* regla = nullptr) {
        InformePrecision informe;
        if (InformePrecision::calcularEnArchivo(BaseDatos::ConexionBD().databaseName(), Agrupacion::Alimento,
                                                QDate(2024, 3, 1), QDate(2024, 3, 1), general, &informe))
            return QStringList{"error"};
        if (regla)
            *regla << SalidaInforme::reglaTolerancia(informe, QLocale(QLocale::Spanish, QLocale::Argentina));
        QStringList r;
        for (const GrupoPrecision& g : informe.grupos)
            r << g.grupo.toLower() + u':' + QString::number(g.fuera);
        return r;
    };
    QStringList regla;
    QCOMPARE(fuera(0, &regla), QStringList({"maiz:1", "sales:1"}));
    QCOMPARE(fuera(50), QStringList({"maiz:0", "sales:1"}));
    QCOMPARE(regla, QStringList{"0 % general; Sales: 2 kg"});
    // Back to the general percentage.
    QVERIFY(!ToleranciasAlimento::guardar(BaseDatos::ConexionBD(), "SALES", {}));
    QCOMPARE(fuera(50), QStringList({"maiz:0", "sales:0"}));
}

void TstInformePrecision::bandasYOperario() {
    // The bands and the operator's scorecard, by hand. The range's first half ends on the 2nd.
    BaseTemporal base;
    const QList<FilaEvento> filas = {
        {"CARGA", "01/03/2024", "08:00", "R", "Maiz", "1000", "1010", "Juan"}, // +10 kg, 1 %
        {"CARGA", "01/03/2024", "08:10", "R", "Sales", "100", "98.5", "Juan"}, // -1,5 kg, 1,5 %
        {"CARGA", "02/03/2024", "08:00", "R", "Maiz", "500", "500", "Pedro"},  // exact
        {"CARGA", "04/03/2024", "08:00", "R", "Maiz", "1000", "1100", "Juan"}, // +100 kg, 10 %
        {"CARGA", "04/03/2024", "08:10", "R", "Soja", "1000", "997", "Juan"},  // -3 kg, 0,3 %
    };
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    InformePrecision informe;
    QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), Agrupacion::Operario, QDate(2024, 3, 1),
                                        QDate(2024, 3, 4), 3, &informe));
    QLocale local(QLocale::Spanish, QLocale::Argentina);
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    QCOMPARE(InformePrecision::encabezados(Agrupacion::Operario).size(), 19);
    QList<QStringList> r;
    for (const GrupoPrecision& g : informe.grupos)
        r << SalidaInforme::textos(g, Agrupacion::Operario, local);
    // Group, loads, kg planned, real, difference, %, mean %, out, no number | within tolerance %,
    // mean kg, within 2 %, within 5 kg, beyond 62,5 kg | kg over, kg under, 1st and 2nd half, trend.
    QCOMPARE(
        r, QList<QStringList>({{"Juan", "4", "3100,0", "3205,5", "105,5", "3,40", "3,20", "1", "0", "75,00",
                                "28,6", "75,00", "50,00", "25,00", "110,0", "4,5", "1,25", "5,15", "empeora"},
                               {"Pedro", "1", "500,0", "500,0", "0,0", "0,00", "0,00", "0", "0", "100,00",
                                "0,0", "100,00", "100,00", "0,00", "0,0", "0,0", "0,00", "", ""}}));
    QCOMPARE(InformePrecision::encabezados(Agrupacion::Alimento).size(), 14);
}

void TstInformePrecision::semanaQueSeCompensa() {
    // A week of 126 loads of 8 feeds, 27 of them 5 to 10 % off, over and under in turn so that
    // every feed's net stays within 3 %: 27 loads out, in the 5 feeds that hold them.
    BaseTemporal base;
    const QList<int> desvios = {5, -5, 8, -8, 10, -10, 6}; // percent, in turn
    const int fueraPorAlimento[8] = {7, 6, 6, 4, 4, 0, 0, 0};
    int vistos[8] = {};
    QList<FilaEvento> filas;
    for (int i = 0; i < 126; ++i) {
        const int a = i % 8;
        const int k = vistos[a]++;
        const double real = k < fueraPorAlimento[a] ? 1000 + 10 * desvios[k] : 1000 + (k % 2 ? 5 : -5);
        filas << FilaEvento{"CARGA",
                            QDate(2024, 3, 4).addDays(i / 18).toString("dd/MM/yyyy"),
                            QTime(6, 0).addSecs(60 * (i % 18)).toString("HH:mm"),
                            "Engorde",
                            QStringLiteral("Alimento %1").arg(a + 1),
                            "1000",
                            QString::number(real),
                            "Juan"};
    }
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    InformePrecision informe;
    QVERIFY(!InformePrecision::calcular(BaseDatos::ConexionBD(), Agrupacion::Alimento, QDate(2024, 3, 4),
                                        QDate(2024, 3, 10), 3, &informe));
    QCOMPARE(SalidaInforme::resumen(informe),
             QStringLiteral("27 de 126 cargas fuera de la tolerancia, en 5 de 8 grupos"));
    for (const GrupoPrecision& g : informe.grupos) {
        const int a = g.grupo.right(1).toInt() - 1;
        QCOMPARE(g.fuera, fueraPorAlimento[a]);
        QCOMPARE(g.marcado(), fueraPorAlimento[a] > 0);
        QVERIFY(!g.fueraDeTolerancia(3)); // what hid them: every net within 3 %
        // The loads behind the group: exactly its own, judged as the group counts them.
        CargasPrecision lista;
        QVERIFY(!CargasPrecision::listar(BaseDatos::ConexionBD(), informe, g.grupo, &lista));
        QCOMPARE(lista.cargas.size(), qsizetype(g.sucesos));
        int fuera = 0;
        for (const CargaPrecision& c : lista.cargas) {
            QCOMPARE(c.alimento, g.grupo);
            fuera += c.dentro ? 0 : 1;
        }
        QCOMPARE(fuera, g.fuera);
    }
}

void TstInformePrecision::viajesDelDia() {
    // The tablet keeps no trip: one starts with the day, after a discharge, or with another recipe.
    BaseTemporal base;
    const QList<FilaEvento> filas = {{"CARGA", "01/03/2024", "08:00", "R1", "Maiz", "10", "10", "J"},
                                     {"CARGA", "01/03/2024", "08:05", "R1", "Soja", "10", "10", "J"},
                                     {"DESCARGA", "01/03/2024", "08:30", "Corral 1", "", "20", "20", "J"},
                                     {"CARGA", "01/03/2024", "09:00", "R1", "Maiz", "10", "10", "J"},
                                     {"CARGA", "01/03/2024", "09:05", "R2", "Maiz", "10", "10", "J"},
                                     {"DESCARGA", "01/03/2024", "09:30", "Corral 2", "", "20", "20", "J"},
                                     {"CARGA", "02/03/2024", "08:00", "R2", "Maiz", "10", "10", "J"}};
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta));
    for (Agrupacion a : {Agrupacion::Alimento, Agrupacion::Corral}) {
        InformePrecision informe;
        informe.agrupacion = a;
        informe.desde = QDate(2024, 3, 1);
        informe.hasta = QDate(2024, 3, 2);
        CargasPrecision lista;
        QVERIFY(!CargasPrecision::listar(BaseDatos::ConexionBD(), informe, std::nullopt, &lista));
        QStringList viajes;
        for (const CargaPrecision& c : lista.cargas)
            viajes << c.recetaCorral + u':' + QString::number(c.viaje);
        QCOMPARE(viajes, a == Agrupacion::Alimento ? QStringList({"R1:1", "R1:1", "R1:2", "R2:3", "R2:1"})
                                                   : QStringList({"Corral 1:1", "Corral 2:3"}));
    }
}

QTEST_GUILESS_MAIN(TstInformePrecision)
#include "tst_informeprecision.moc"
