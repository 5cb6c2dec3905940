// The event history: one form for the same event from either road, a download merged as a
// multiset, nothing ever removed, and a merge that fails leaving the history as it was.
#include "BaseTemporal.h"

#include "db/BaseDatos.h"
#include "historial/HistorialSucesos.h"

#include <QTest>

namespace {
const QString kContar = QStringLiteral("select count(*) from historial_sucesos");
}

class TstHistorial : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leerKilos_data();
    void leerKilos();
    void mismoSucesoPorAmbasVias();
    void multiconjuntoSinBorrar();
    void fusionFallidaNoDejaNada();
};

void TstHistorial::leerKilos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("esNumero");
    QTest::addColumn<double>("valor");
    QTest::newRow("entero") << "985" << true << 985.0;
    QTest::newRow("punto") << "1250.5" << true << 1250.5;
    QTest::newRow("coma") << " 1250,5 " << true << 1250.5;
    QTest::newRow("negativo") << "-3,5" << true << -3.5;
    QTest::newRow("ambos signos") << "1.250,5" << false << 0.0;
    QTest::newRow("dos comas") << "1,250,5" << false << 0.0;
    QTest::newRow("texto") << "s/d" << false << 0.0;
    QTest::newRow("vacío") << "" << false << 0.0;
    QTest::newRow("exponente") << "1e3" << false << 0.0;
}

void TstHistorial::leerKilos() {
    QFETCH(QString, texto);
    QFETCH(bool, esNumero);
    QFETCH(double, valor);
    const std::optional<double> v = EventoHistorial::leerKilos(texto);
    QCOMPARE(v.has_value(), esNumero);
    if (esNumero)
        QCOMPARE(*v, valor);
}

void TstHistorial::mismoSucesoPorAmbasVias() {
    BaseTemporal base;
    QVERIFY(base.ok());
    // The direct road dates dd/mm/yyyy and gives HH:mm; the web road passes on what the server
    // sends: yyyy-mm-dd, seconds, blanks, kilograms with a comma or as "200.0".
    const QList<FilaEvento> directa = {
        {"CARGA", "15/06/2021", "10:30", "Receta A", "Maiz", "1000", "985", "Juan"},
        {"DESCARGA", "15/06/2021", "11:05", "Corral 1", "", "600", "590,5", "Juan"}};
    const QList<FilaEvento> web = {
        {"CARGA", "2021-06-15", "10:30:00", " receta a ", "MAIZ", "1000.0", "985", "Juan"},
        {"DESCARGA", "2021-06-15 00:00:00", "11:05", "Corral 1", "", "600", "590.5", ""},
        {"DESCARGA", "", "", "", "", "", "", "0"}}; // half a row left by a download error
    HistorialSucesos::Fusion f;
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), directa, HistorialSucesos::kDirecta, &f));
    QCOMPARE(f.agregados, 2);
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), web, HistorialSucesos::kWeb, &f));
    QCOMPARE(f.agregados, 0);
    QCOMPARE(f.omitidos, 1);
    QCOMPARE(
        base.filas("select tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario, via, "
                   "texto_real from historial_sucesos order by id"),
        QStringList({"CARGA|2021-06-15|10:30|Receta A|Maiz|1000|985|Juan|directa|985",
                     "DESCARGA|2021-06-15|11:05|Corral 1||600|590.5|Juan|directa|590,5"}));
}

void TstHistorial::multiconjuntoSinBorrar() {
    BaseTemporal base;
    QVERIFY(base.ok());
    const FilaEvento a{"CARGA", "15/06/2021", "10:30", "Receta A", "Maiz", "1000", "985", "Juan"};
    const FilaEvento b{"CARGA", "15/06/2021", "10:40", "Receta A", "Soja", "s/d", "210", "Juan"};
    const FilaEvento c{"DESCARGA", "16/06/2021", "09:00", "Corral 2", "", "500", "500", "0"};
    auto fusionar = [](const QList<FilaEvento>& filas) {
        HistorialSucesos::Fusion f;
        const auto e =
            HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kDirecta, &f);
        return e ? -1 : f.agregados;
    };
    // An event that arrives k times is kept max(k, already kept) times.
    QCOMPARE(fusionar({a, b, a}), 3);
    QCOMPARE(fusionar({a, b}), 0);
    QCOMPARE(fusionar({a, a, a, b}), 1);
    // A download that no longer holds them removes nothing.
    QCOMPARE(fusionar({c}), 1);
    QCOMPARE(fusionar({}), 0);
    QCOMPARE(
        base.filas("select alimento, count(*) from historial_sucesos group by alimento order by alimento"),
        QStringList({"|1", "Maiz|3", "Soja|1"}));
    // A suggested value that is not a number is kept as NULL beside the text received.
    QCOMPARE(base.filas(
                 "select kg_sugerido is null, texto_sugerido from historial_sucesos where alimento = 'Soja'"),
             QStringList({"1|s/d"}));

    QList<HistorialSucesos::Guardado> lista;
    QVERIFY(
        !HistorialSucesos::listar(BaseDatos::ConexionBD(), QDate(2021, 6, 16), QDate(2021, 6, 16), &lista));
    QCOMPARE(lista.size(), 1);
    QCOMPARE(lista.first().evento.recetaCorral, QStringLiteral("Corral 2"));
}

void TstHistorial::fusionFallidaNoDejaNada() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(
        base.ejecutar("create trigger rechazo before insert on historial_sucesos when new.alimento = 'Avena' "
                      "begin select raise(abort, 'rechazado'); end"));
    const QList<FilaEvento> filas = {{"CARGA", "15/06/2021", "10:30", "R", "Maiz", "1", "1", "J"},
                                     {"CARGA", "15/06/2021", "10:31", "R", "Avena", "1", "1", "J"}};
    const auto e = HistorialSucesos::fusionar(BaseDatos::ConexionBD(), filas, HistorialSucesos::kWeb);
    QVERIFY(e);
    QVERIFY2(e->descripcion.contains("rechazado"), qPrintable(e->descripcion));
    QCOMPARE(base.valor(kContar).toInt(), 0);
    QCOMPARE(HistorialSucesos::mensajeError(*e).titulo, QStringLiteral("Error en FrmSucesos"));
}

QTEST_GUILESS_MAIN(TstHistorial)
#include "tst_historial.moc"
