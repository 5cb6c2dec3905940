// The upload messages as built from the database, without the pacing.
#include "BaseTemporal.h"
#include "PlanSubida.h"

#include "db/BaseDatos.h"
#include "link/ProgramaDirecto.h"

#include <QLocale>
#include <QTest>

using namespace ProgramaDirecto;

class TstProgramaDirecto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void planMixtoKilosYPorcentajes();
    void tablasVacias();
    void terciosConQuinceCifras();
    void kilosConComaRegional();
    void acentosYCodigoDePagina();
    void comillaSimpleEnNombres();
    void valoresNulos();
    void fechaIlegibleEsError();
};

void TstProgramaDirecto::planMixtoKilosYPorcentajes() {
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    const Parte todo = construirTodo(BaseDatos::ConexionBD());
    QVERIFY(!todo.error);
    QCOMPARE(todo.mensajes, PlanSubida::esperadoMixto());
    // The catalogue parts count their rows for the progress bar but travel as one message.
    const Parte alimentos = construir(Seccion::Alimentos, BaseDatos::ConexionBD());
    QCOMPARE(alimentos.filas, 2);
    QCOMPARE(alimentos.mensajes.size(), 1);
}

void TstProgramaDirecto::tablasVacias() {
    BaseTemporal b;
    const Parte todo = construirTodo(BaseDatos::ConexionBD());
    QVERIFY(!todo.error);
    QCOMPARE(todo.mensajes, PlanSubida::esperadoVacio());
    // Only the feeds empty: the command word alone, operators still listed.
    QVERIFY(b.ejecutar("insert into operarios values (1, 'Ana'), (2, 'Luis')"));
    QCOMPARE(construir(Seccion::Alimentos, BaseDatos::ConexionBD()).mensajes,
             QList<QByteArray>{"'te paso' 'alimentos' "});
    QCOMPARE(construir(Seccion::Operarios, BaseDatos::ConexionBD()).mensajes,
             QList<QByteArray>{"'te paso' 'operarios' ('0','2','Luis',''),('0','1','Ana',''),"});
}

void TstProgramaDirecto::terciosConQuinceCifras() {
    BaseTemporal b;
    // Three pens of 1 kg: each a third of the load; a feed at 10 % of 3 kg.
    QVERIFY(b.ejecutar("insert into recetas values (1, 'R', -1)"));
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'A')"));
    QVERIFY(b.ejecutar("insert into viajes values (1, '2024-02-01', '06:00', 1, 0, 1, 10, 1)"));
    QVERIFY(b.ejecutar("insert into descarga values (1, 'X', 1, 1), (1, 'Y', 1, 2), (1, 'Z', 1, 3)"));
    const Parte d = construir(Seccion::DescargaPorcentaje, BaseDatos::ConexionBD());
    QCOMPARE(d.mensajes.size(), 3);
    QCOMPARE(d.mensajes.at(0),
             QByteArray("'te paso' 'descarga' ('0','20240201','1','1','X','33.3333333333333','1'),"));
    const Parte v = construir(Seccion::ViajesPorcentaje, BaseDatos::ConexionBD());
    QCOMPARE(v.mensajes,
             QList<QByteArray>{"'te paso' 'recetas' "
                               "('0','20240201','1','1','R','1','A','0.3','06:00','100','1','0'),"});
}

void TstProgramaDirecto::kilosConComaRegional() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    BaseTemporal b;
    QVERIFY(PlanSubida::cargarMixto(b));
    QVERIFY(b.ejecutar("update descarga set por = 1000.5 where rodeo = 'Lote B'"));
    QVERIFY(b.ejecutar("update descarga set por = 62.5 where rodeo = 'Corral 1'"));
    QVERIFY(b.ejecutar("insert into viajes values (5, '2024-01-17', '09:00', 1, 7, 1, 12345.25, 1)"));
    const Parte a = construir(Seccion::ViajesKg, BaseDatos::ConexionBD());
    // Planned kilograms keep the regional separator, without grouping.
    QCOMPARE(a.mensajes.at(0), QByteArray(PlanSubida::esperadoMixto().at(0)).replace("2800.5", "2800,5"));
    QVERIFY(a.mensajes.at(2).contains("'12345,25'"));
    // Computed and percentage values always travel with ".".
    const Parte bb = construir(Seccion::ViajesPorcentaje, BaseDatos::ConexionBD());
    QVERIFY2(bb.mensajes.at(0).contains("'625.125'"), bb.mensajes.at(0).constData());
    const Parte c = construir(Seccion::DescargaKg, BaseDatos::ConexionBD());
    QVERIFY(c.mensajes.at(0).contains("'62.5'"));
    const Parte d = construir(Seccion::DescargaPorcentaje, BaseDatos::ConexionBD());
    QVERIFY2(d.mensajes.at(1).contains("'40.0119976004799'"), d.mensajes.at(1).constData());
}

void TstProgramaDirecto::acentosYCodigoDePagina() {
    // Every folded letter, in a text where the order of the replacements cannot matter.
    QCOMPARE(plegarAcentos(QStringLiteral("ñÑáéíóúüÁÉÍÓÚÜ")), QStringLiteral("nNaeiouuAEIOUU"));
    QCOMPARE(plegarAcentos(QStringLiteral("çº àè Ç")), QStringLiteral("çº àè Ç"));
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'Ñandú'), (2, 'Garçon nº2 €'), (3, 'Łódź')"));
    const Parte p = construir(Seccion::Alimentos, BaseDatos::ConexionBD());
    // ç, º and € pass unchanged in Windows-1252; letters outside it become "?".
    QCOMPARE(p.mensajes.at(0), QByteArray("'te paso' 'alimentos' ('0','3','?od?'),('0','2','Gar\xE7on n\xBA"
                                          "2 \x80'),('0','1','Nandu'),"));
}

void TstProgramaDirecto::comillaSimpleEnNombres() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into operarios values (1, 'O''Higgins')"));
    const Parte p = construir(Seccion::Operarios, BaseDatos::ConexionBD());
    // The quote would close the value for the tablet: it travels as an acute accent.
    QCOMPARE(p.mensajes.at(0), QByteArray("'te paso' 'operarios' ('0','1','O\xB4Higgins',''),"));
}

void TstProgramaDirecto::valoresNulos() {
    BaseTemporal b;
    // A percentage trip without pens: nothing to compute the kilograms from, sent as 0.
    QVERIFY(b.ejecutar("insert into recetas values (1, 'R', -1), (2, 'K', 0)"));
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'A')"));
    QVERIFY(b.ejecutar("insert into viajes values (1, '2024-02-01', '06:00', 1, 0, 1, 50, 1)"));
    const Parte v = construir(Seccion::ViajesPorcentaje, BaseDatos::ConexionBD());
    QVERIFY(!v.error);
    QVERIFY(v.mensajes.at(0).contains("'A','0','06:00'"));
    // A kilogram trip without kilograms cannot be sent.
    QVERIFY(b.ejecutar("insert into viajes values (2, '2024-02-01', '06:00', 2, 0, 1, null, 1)"));
    const Parte k = construir(Seccion::ViajesKg, BaseDatos::ConexionBD());
    QVERIFY(k.error);
    QCOMPARE(k.error->numero, QStringLiteral("94"));
    QVERIFY(construirTodo(BaseDatos::ConexionBD()).mensajes.isEmpty());
}

void TstProgramaDirecto::fechaIlegibleEsError() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into recetas values (1, 'K', 0)"));
    QVERIFY(b.ejecutar("insert into viajes values (2, '', '06:00', 1, 0, 1, 5, 1)"));
    QVERIFY(b.ejecutar("insert into descarga values (2, 'X', 100, 1)"));
    const Parte c = construir(Seccion::DescargaKg, BaseDatos::ConexionBD());
    QVERIFY(c.error);
    QCOMPARE(c.error->numero, QStringLiteral("13"));
}

QTEST_GUILESS_MAIN(TstProgramaDirecto)
#include "tst_programadirecto.moc"
