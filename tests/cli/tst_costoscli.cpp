// tolvaro-cli precio, ingreso, conteo, stock and costos end to end on the hand-made history of
// HistorialCostos.h: what is typed on the command line gives the figures worked out by hand.
#include "Archivos.h"
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "HistorialCostos.h"
#include "LectorLibro.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

namespace {
using Salida = SalidaCli;
} // namespace

class TstCostosCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { base_.reset(); }
    void movimientosYStock();
    void costos();
    void erroresDeUso();

private:
    Salida correr(const QStringList& args) {
        return correrCli(args, CorridaCli(base_->carpeta()).regional());
    }
    QString ruta(const QString& nombre) const { return QDir(base_->carpeta()).filePath(nombre); }
    std::unique_ptr<BaseTemporal> base_;
};

void TstCostosCli::initTestCase() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ok());
    // The catalogue and the history only: prices and stock come through the commands.
    QVERIFY(
        base_->ejecutar("insert into alimentos (id, descripcion) values (1, 'Maíz'), (2, 'Silaje De Maíz'), "
                        "(3, 'Soja')"));
    QVERIFY(!HistorialSucesos::fusionar(BaseDatos::ConexionBD(), HistorialCostos::sucesos(),
                                        HistorialSucesos::kDirecta));
    BaseDatos::cerrar(); // the commands open it themselves
}

void TstCostosCli::movimientosYStock() {
    // Prices and kilograms with a point or the regional comma.
    const QList<QStringList> ordenes = {
        {"precio", "1", "0,25", "--desde", "2024-03-01"},
        {"precio", "1", "0.30", "--desde", "2024-03-06"},
        {"precio", "2", "0.085", "--desde", "2024-03-01"},
        {"precio", "2", "0,0925", "--desde", "2024-03-08"},
        {"ingreso", "1", "12000", "--fecha", "2024-02-28", "--nota", "Acopio Sur"},
        {"ingreso", "1", "5000,0", "--fecha", "2024-03-05"},
        {"conteo", "1", "8000", "--fecha", "2024-03-07"},
        {"ingreso", "2", "25000", "--fecha", "2024-03-01"},
    };
    for (const QStringList& o : ordenes) {
        const Salida s = correr(o);
        QVERIFY2(s.codigo == 0, qPrintable(o.join(' ') + ": " + s.errores));
    }
    QCOMPARE(correr({"precio", "2", "0,0925", "--desde", "2024-03-08"}).salida,
             QStringLiteral("Precio de Silaje De Maíz desde 08/03/2024: 0.0925 por kg\n"));

    const Salida s = correr({"stock", "--fecha", "2024-03-11", "--csv", ruta("stock.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.errores,
             QStringLiteral("Aviso: ningún alimento se llama \"Avena\" (sus cargas no descuentan stock)\n"));
    QCOMPARE(Archivos::leer(ruta("stock.csv")),
             QByteArray("alimento_id;alimento;stock_kg;uso_diario_kg;dias_restantes\r\n"
                        "1;Maíz;5018.75;1000.25;5.0\r\n"
                        "2;Silaje De Maíz;4995;2000.714;2.5\r\n"
                        "3;Soja;-50;7.143;0.0\r\n"));
}

void TstCostosCli::costos() {
    // Prices from movimientosYStock. On standard output without a file.
    Salida s = correr({"costos", "--desde", "2024-03-01", "--hasta", "2024-03-10", "--por", "alimento"});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida.split("\r\n").value(2), QStringLiteral("Maíz;10000;10001.75;2750.00;2750.50;0.50"));
    QVERIFY(s.errores.contains("Aviso: Soja tiene cargas antes de su primer precio (valen 0)"));

    s = correr({"costos", "--desde", "2024-03-01", "--hasta", "2024-03-10", "--por", "corral", "--csv",
                ruta("corrales.csv")});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(Archivos::leer(ruta("corrales.csv")),
             QByteArray("grupo;kg_planificado;kg_real;costo_planificado;"
                        "costo_real;diferencia\r\n"
                        "Corral 1;18000;18000;2697.00;2697.58;0.58\r\n"
                        "Corral 2;12000;12000;1798.00;1798.39;0.39\r\n"
                        "TOTAL;30000;30000;4495.00;4495.96;0.96\r\n"));

    // The workbook: the same figures as numbers, money in currency format.
    s = correr({"costos", "--desde", "2024-03-01", "--hasta", "2024-03-10", "--por", "dia", "--xlsx",
                ruta("dias.xlsx")});
    QCOMPARE(s.codigo, 0);
    QString error;
    const QJsonArray filas = LectorLibro::leer(ruta("dias.xlsx"), &error)["filas"].toArray();
    QVERIFY2(!filas.isEmpty(), qPrintable(error));
    QCOMPARE(filas.size(), 12); // header, 10 days, TOTAL
    const QJsonArray dia6 = filas[6].toArray();
    QCOMPARE(dia6[0]["tipo"].toString(), QStringLiteral("fecha"));
    QCOMPARE(dia6[0]["valor"].toString(), QStringLiteral("2024-03-06"));
    QCOMPARE(dia6[2]["valor"].toDouble(), 2997.0);
    QCOMPARE(dia6[4]["valor"].toDouble(), 469.75);
    QCOMPARE(dia6[4]["formato"].toString(), QStringLiteral("#,##0.00"));
    QCOMPARE(filas[11][0]["valor"].toString(), QStringLiteral("TOTAL"));
    QCOMPARE(filas[11][5]["valor"].toDouble(), 0.96);
}

void TstCostosCli::erroresDeUso() {
    const QList<QStringList> malos = {
        {"precio", "1", "0.25"},
        {"precio", "uno", "0.25", "--desde", "2024-03-01"},
        {"precio", "1", "-3", "--desde", "2024-03-01"},
        {"ingreso", "1", "mucho", "--fecha", "2024-03-01"},
        {"conteo", "1", "10", "--fecha", "2024-02-30"},
        {"stock", "--fecha", "ayer"},
        {"costos", "--desde", "2024-03-01", "--hasta", "2024-03-10", "--por", "semana"},
        {"costos", "--desde", "2024-03-01", "--hasta", "2024-03-10", "--por", "dia", "--csv", "a", "--xlsx",
         "b"},
    };
    for (const QStringList& args : malos) {
        const Salida s = correr(args);
        QVERIFY2(s.codigo == 2, qPrintable(args.join(' ')));
        QVERIFY(!s.errores.isEmpty());
    }
    const Salida s = correr({"ingreso", "9", "10", "--fecha", "2024-03-01"});
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.errores, QStringLiteral("No existe el alimento 9\n"));
}

QTEST_GUILESS_MAIN(TstCostosCli)
#include "tst_costoscli.moc"
