// tolvaro-cli recibir --directa against the tablet simulator: the CSV it writes, its endings and
// its exit codes.
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "LectorLibro.h"
#include "RespuestaSucesos.h"
#include "ServidorTableta.h"

#include "core/CsvEventos.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

namespace {
struct Salida {
    int codigo = -1;
    QByteArray salida;
    QString errores;
};

const QList<FilaEvento> kFilas = {{"CARGA", "15/06/2021", "10:30", "Receta A", "Maiz", "1000", "990", "Juan"},
                                  {"DESCARGA", "15/06/2021", "11:05", "Corral 1", "", "500", "480", "Juan"}};
} // namespace

class TstRecepcionCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void csvEnArchivo();
    void csvYLibroJuntos();
    void sinDatosYDireccionGuardada();
    void registroMalformadoNoCorta();
    void silencioDeLaTableta();
    void erroresDeUso();

private:
    Salida correr(const QStringList& args) {
        const SalidaCli s = correrCli(QStringList{"recibir"} + args, CorridaCli(base_->carpeta()));
        return {s.codigo, s.bytes, s.errores};
    }
    QString direccion() const { return QStringLiteral("127.0.0.1:%1").arg(tableta_->puerto()); }

    std::unique_ptr<BaseTemporal> base_;
    std::unique_ptr<ServidorTableta> tableta_;
    std::unique_ptr<RespuestaSucesos> sucesos_;
};

void TstRecepcionCli::init() {
    base_ = std::make_unique<BaseTemporal>();
    QVERIFY(base_->ejecutar("insert into operarios values (3, 'Juan')"));
    tableta_ = std::make_unique<ServidorTableta>();
    QVERIFY(tableta_->escuchar(QHostAddress::LocalHost, 0));
    sucesos_ = std::make_unique<RespuestaSucesos>();
    sucesos_->setRegistros({{{2021, 6, 15},
                             "\"'carga'\",\"06/15/2021\",\"3\",\" Receta A \",\"1\",\"Maiz*\",\"1000\","
                             "\"990\",\"10:30:00\",\"0\",\"3\","},
                            {{2021, 6, 15}, "'descarga',06/15/2021,Corral 1,500,480,11:05,"}});
    tableta_->setSucesos(sucesos_.get());
}

void TstRecepcionCli::cleanup() {
    tableta_.reset();
    sucesos_.reset();
    base_.reset();
}

void TstRecepcionCli::csvEnArchivo() {
    const QString archivo = QDir(base_->carpeta()).filePath("sucesos.csv");
    sucesos_->setModo(RespuestaSucesos::Modo::Partidos);
    const Salida s = correr(
        {"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30", "--csv", archivo});
    QCOMPARE(s.codigo, 0);
    QVERIFY2(s.errores.isEmpty(), qPrintable(s.errores));
    QVERIFY(s.salida.isEmpty());
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), CsvEventos::escribir(kFilas));
    QVERIFY(tableta_->llegadas().contains("Mandame los datos entre: 06/01/2021 y 06/30/2021 a; 0.5"));
    QTRY_VERIFY(tableta_->llegadas().contains("'desconectar'"));
}

void TstRecepcionCli::csvYLibroJuntos() {
    const QString csv = QDir(base_->carpeta()).filePath("sucesos.csv");
    const QString xlsx = QDir(base_->carpeta()).filePath("sucesos.xlsx");
    const Salida s = correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30",
                             "--xlsx", xlsx, "--csv", csv});
    QCOMPARE(s.codigo, 0);
    QVERIFY(s.salida.isEmpty());
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), CsvEventos::escribir(kFilas));
    QString error;
    const QJsonArray filas = LectorLibro::leer(xlsx, &error)["filas"].toArray();
    QVERIFY2(filas.size() == 3, qPrintable(error));
    QCOMPARE(filas[0][0]["valor"].toString(), QStringLiteral("TIPO DE SUCESO"));
    QCOMPARE(filas[1][1]["tipo"].toString(), QStringLiteral("fecha"));
    QCOMPARE(filas[1][1]["valor"].toString(), QStringLiteral("2021-06-15"));
    QCOMPARE(filas[1][6]["valor"].toDouble(), 990.0);
    QVERIFY(filas[2][4].isNull());
}

void TstRecepcionCli::sinDatosYDireccionGuardada() {
    // Without HOST the saved "directa" address is used.
    QVERIFY(
        base_->ejecutar("update tipo_conexion set direccion = '" + direccion() + "' where tipo = 'directa'"));
    Salida s = correr({"--directa", "--desde", "2021-06-01", "--hasta", "2021-06-30"});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida, CsvEventos::escribir(kFilas));

    s = correr({"--directa", "--desde", "2022-01-01", "--hasta", "2022-01-31"});
    QCOMPARE(s.codigo, 0);
    QCOMPARE(s.salida, CsvEventos::escribir({}));
    QCOMPARE(s.errores.trimmed(),
             "No existen datos en la tablet " + direccion() + " entre las fechas 01/01/2022 y 31/01/2022");
}

void TstRecepcionCli::registroMalformadoNoCorta() {
    sucesos_->setModo(RespuestaSucesos::Modo::TodosJuntos);
    sucesos_->setRegistros({{{2021, 6, 15}, "'descarga',02/30/2021,Corral 1,500,480,11:05,"},
                            {{2021, 6, 15}, "'descarga',06/15/2021,Corral 2,500,480,11:05,"}});
    const Salida s = correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30"});
    // The rows are still written; the exit code and the closing line say one record was not read.
    QCOMPARE(s.codigo, 1);
    QCOMPARE(s.errores.trimmed(),
             "Error 13 (No coinciden los tipos) en procedimiento ws_DataArrival de Formulario "
             "FrmSucesos\nSe listaron 2 filas; 1 registro no se pudo leer");
    QCOMPARE(s.salida,
             CsvEventos::escribir({{"DESCARGA", "", "", "", "", "", "", ""},
                                   {"DESCARGA", "15/06/2021", "11:05", "Corral 2", "", "500", "480", "0"}}));
}

void TstRecepcionCli::silencioDeLaTableta() {
    const QString archivo = QDir(base_->carpeta()).filePath("cortado.csv");
    sucesos_->setDemora(4000);
    const QString libro = QDir(base_->carpeta()).filePath("cortado.xlsx");
    const Salida s = correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30",
                             "--csv", archivo, "--xlsx", libro, "--espera", "1"});
    QCOMPARE(s.codigo, 1);
    QVERIFY(s.errores.contains("no respondió"));
    QVERIFY(!QFile::exists(archivo)); // nothing that could pass for a whole download
    QVERIFY(!QFile::exists(libro));

    // A tablet that cannot be reached fails the same way.
    const quint16 puerto = tableta_->puerto();
    tableta_.reset();
    const Salida r = correr({"--directa", QStringLiteral("127.0.0.1:%1").arg(puerto), "--desde", "2021-06-01",
                             "--hasta", "2021-06-30"});
    QCOMPARE(r.codigo, 1);
    QVERIFY(r.salida.isEmpty());
}

void TstRecepcionCli::erroresDeUso() {
    QCOMPARE(correr({"--directa", direccion(), "--desde", "2021-06-01"}).codigo, 2);
    QCOMPARE(correr({"--directa", direccion(), "--desde", "2021-13-01", "--hasta", "2021-06-30"}).codigo, 2);
    QCOMPARE(
        correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30", "--otra"}).codigo,
        2);
    QCOMPARE(
        correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30", "--csv"}).codigo,
        2);
    QCOMPARE(
        correr({"--directa", direccion(), "--desde", "2021-06-01", "--hasta", "2021-06-30", "--xlsx"}).codigo,
        2);
    // No HOST and no saved address.
    const Salida s = correr({"--directa", "--desde", "2021-06-01", "--hasta", "2021-06-30"});
    QCOMPARE(s.codigo, 2);
    QVERIFY(s.errores.contains("dirección"));
    QCOMPARE(sucesos_->pedidos(), 0);
    const Salida ayuda = correr({"--directa", "--help"});
    QCOMPARE(ayuda.codigo, 0);
    QVERIFY(ayuda.salida.contains("--desde"));
}

QTEST_GUILESS_MAIN(TstRecepcionCli)
#include "tst_recepcioncli.moc"
