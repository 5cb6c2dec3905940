// The end of a direct download, decided in one place for the windows and the command line: how it
// ended, whether it is kept, and that rows reach the history as read, without reading them again.
#include "BaseTemporal.h"

#include "events/DescargaSucesos.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const QByteArray kCarga = "'carga',06/15/2021,3,Receta A,1,Maiz,1000,990,10:30:15,0,3,";
const QByteArray kDescarga = "'descarga',06/15/2021,Corral 1,500,480,11:05,";
const QByteArray kIlegible = "'descarga',99/99/2021,Corral 1,500,480,11:05,";
using Fin = DescargaSucesos::Fin;
} // namespace

class TstDescargaSucesos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        QVERIFY(base_.ok());
        QVERIFY(base_.ejecutar("delete from historial_sucesos"));
    }
    void fin_data();
    void fin();
    void seGuardaLoLeido();

private:
    BaseTemporal base_;
};

void TstDescargaSucesos::fin_data() {
    QTest::addColumn<QList<QByteArray>>("llegadas");
    QTest::addColumn<bool>("cortar");
    QTest::addColumn<int>("fin");
    QTest::addColumn<int>("filas");
    QTest::addColumn<int>("avisos");
    QTest::addColumn<bool>("guardable");
    QTest::addColumn<bool>("entera");
    QTest::addColumn<int>("guardadas"); // a half-read row is listed, never kept
    QTest::newRow("completa") << QList<QByteArray>{kCarga + kDescarga, "'fin'"} << false << int(Fin::Completa)
                              << 2 << 0 << true << true << 2;
    QTest::newRow("sin datos") << QList<QByteArray>{"'no'"} << false << int(Fin::SinDatos) << 0 << 0 << true
                               << true << 0;
    QTest::newRow("ilegibles") << QList<QByteArray>{kCarga + kIlegible + "'fin'"} << false
                               << int(Fin::Incompleta) << 2 << 1 << true << false << 1;
    // Nothing after the tablet's last word belongs to the download.
    QTest::newRow("después del fin") << QList<QByteArray>{kCarga + "'fin'" + kDescarga, kDescarga + "'fin'"}
                                     << false << int(Fin::Completa) << 1 << 0 << true << true << 1;
    QTest::newRow("cortada") << QList<QByteArray>{kCarga} << true << int(Fin::Cortada) << 1 << 0 << false
                             << false << 0;
}

void TstDescargaSucesos::fin() {
    QFETCH(QList<QByteArray>, llegadas);
    QFETCH(bool, cortar);
    QFETCH(int, fin);
    QFETCH(int, filas);
    QFETCH(int, avisos);
    QFETCH(bool, guardable);
    QFETCH(bool, entera);
    QFETCH(int, guardadas);
    DescargaSucesos d;
    QSignalSpy aviso(&d, &DescargaSucesos::aviso);
    QSignalSpy terminada(&d, &DescargaSucesos::terminada);
    d.iniciarDirecta({2021, 6, 1}, {2021, 6, 30}, QStringLiteral("10.0.0.5"));
    QVERIFY(d.enCurso());
    for (const QByteArray& l : llegadas)
        d.recibir(l);
    if (cortar)
        d.cortar();
    QCOMPARE(int(d.fin()), fin);
    QCOMPARE(terminada.size(), 1);
    QCOMPARE(d.filas().size(), filas);
    QCOMPARE(aviso.size(), avisos);
    QCOMPARE(d.guardable(), guardable);
    QCOMPARE(d.entera(), entera);
    QVERIFY(!d.guardar(BaseDatos::ConexionBD()));
    QCOMPARE(base_.valor("select count(*) from historial_sucesos").toInt(), guardadas);
}

void TstDescargaSucesos::seGuardaLoLeido() {
    DescargaSucesos d;
    d.iniciarDirecta({2021, 6, 1}, {2021, 6, 30}, QStringLiteral("10.0.0.5"));
    d.recibir(kCarga + kDescarga + "'fin'");
    QCOMPARE(d.via(), QStringLiteral("directa"));
    // The row carries what was read; its texts are only what the list shows.
    FilaEvento f = d.filas().first();
    QCOMPARE(f.lectura->dia, QDate(2021, 6, 15));
    QCOMPARE(f.lectura->minuto, QTime(10, 30));
    QCOMPARE(f.lectura->sugerido, 1000.0);
    QVERIFY(!d.guardar(BaseDatos::ConexionBD()));
    QCOMPARE(
        base_.filas("select tipo, fecha, hora, kg_sugerido, kg_real, via from historial_sucesos order by id"),
        QStringList(
            {"CARGA|2021-06-15|10:30|1000|990|directa", "DESCARGA|2021-06-15|11:05|500|480|directa"}));
}

QTEST_GUILESS_MAIN(TstDescargaSucesos)
#include "tst_descargasucesos.moc"
