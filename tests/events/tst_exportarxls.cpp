// "EXPORTAR XLS" in the events window, with the dialog layer answering the file name and the
// overwrite question: the columns as shown, the name's extension, the messages, the pointer.
#include "Archivos.h"
#include "LectorLibro.h"

#include "events/FrmSucesos.h"
#include "ui/Dialogos.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QList<FilaEvento> kFilas = {
    {"CARGA", "15/01/2020", "07:35", "Receta A", "Maiz", "1000", "1250.5", "Juan"},
    {"DESCARGA", "15/01/2020", "07:50", "Corral 1", "", "500", "480", "Juan"}};

Mensaje exito(const QString& ruta) {
    return {QStringLiteral(" Datos exportados en ") + QDir::toNativeSeparators(ruta), Icono::Informacion};
}

} // namespace

class TstExportarXls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Dialogos::activarModoPrueba(); }
    void init() { Dialogos::limpiar(); }
    void exportaLasColumnasComoSeMuestran();
    void listaVacia();
    void cancelarNoHaceNada();
    void archivoExistente_data();
    void archivoExistente();
    void fallaSinDejarArchivo();

private:
    // Clicks "EXPORTAR XLS" and waits for the job to end (the number of boxes shown grows or
    // the button comes back).
    void exportar(FrmSucesos& f, bool esperaTrabajo = true);
};

void TstExportarXls::exportar(FrmSucesos& f, bool esperaTrabajo) {
    auto* boton = f.findChild<QPushButton*>("CmdExportar");
    boton->click();
    if (!esperaTrabajo)
        return;
    // While the job runs the window shows the busy pointer and takes no second export.
    QCOMPARE(f.cursor().shape(), Qt::BusyCursor);
    QVERIFY(!boton->isEnabled());
    QTRY_VERIFY(boton->isEnabled());
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
}

void TstExportarXls::exportaLasColumnasComoSeMuestran() {
    QTemporaryDir dir;
    FrmSucesos f;
    f.agregarFilas(kFilas);
    // The user dragged "TIPO DE SUCESO" to the third place.
    f.findChild<QTableView*>("ListSuc")->horizontalHeader()->moveSection(0, 2);
    Dialogos::encolarRuta(dir.filePath("sucesos.xls"));
    exportar(f);

    const QString escrito = dir.filePath("sucesos.xlsx");
    QCOMPARE(Dialogos::dialogosDeRuta(), QStringList{"Guardar los sucesos como"});
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{exito(escrito)});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sucesos.xlsx"});

    QString error;
    const QJsonObject libro = LectorLibro::leer(escrito, &error);
    QVERIFY2(!libro.isEmpty(), qPrintable(error));
    const QJsonArray filas = libro["filas"].toArray();
    QStringList encabezados;
    for (const QJsonValue& c : filas[0].toArray())
        encabezados << c["valor"].toString();
    QCOMPARE(encabezados, QStringList({"FECHA", "HORA", "TIPO DE SUCESO", "RECETA/CORRAL", "ALIMENTO",
                                       "SUGERIDO", "REAL", "OPERARIO"}));
    // The moved column is still the event kind; the date is still read as a date.
    QCOMPARE(filas[1][0]["tipo"].toString(), QStringLiteral("fecha"));
    QCOMPARE(filas[1][2]["valor"].toString(), QStringLiteral("CARGA"));
    QCOMPARE(filas[1][6]["valor"].toDouble(), 1250.5);
    QVERIFY(filas[2][4].isNull());
}

void TstExportarXls::listaVacia() {
    QTemporaryDir dir;
    FrmSucesos f;
    Dialogos::encolarRuta(dir.filePath("vacio"));
    exportar(f);
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{exito(dir.filePath("vacio.xlsx"))});
    QCOMPARE(LectorLibro::leer(dir.filePath("vacio.xlsx"))["filas"].toArray().size(), 1);
}

void TstExportarXls::cancelarNoHaceNada() {
    QTemporaryDir dir;
    FrmSucesos f;
    f.agregarFilas(kFilas);
    Dialogos::encolarRuta(QString());
    exportar(f, false);
    QCOMPARE(Dialogos::dialogosDeRuta().size(), 1);
    QVERIFY(Dialogos::mostrados().isEmpty());
    QVERIFY(f.findChild<QPushButton*>("CmdExportar")->isEnabled());
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TstExportarXls::archivoExistente_data() {
    QTest::addColumn<bool>("reemplazar");
    QTest::newRow("no") << false;
    QTest::newRow("si") << true;
}

void TstExportarXls::archivoExistente() {
    QFETCH(bool, reemplazar);
    QTemporaryDir dir;
    const QString ruta = dir.filePath("sucesos.xlsx");
    QVERIFY(Archivos::escribir(ruta, "anterior"));
    FrmSucesos f;
    f.agregarFilas(kFilas);
    // Chosen without its extension: the question is about the file that would be written.
    Dialogos::encolarRuta(dir.filePath("sucesos"));
    Dialogos::encolarRespuesta(reemplazar ? Respuesta::Si : Respuesta::No);
    exportar(f, reemplazar);

    const Mensaje pregunta{QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta) +
                               QStringLiteral(" ya existe. ¿Desea reemplazarlo?"),
                           Icono::Pregunta, kTituloAplicacion, Botones::SiNo};
    if (!reemplazar) {
        QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{pregunta});
        QCOMPARE(Archivos::leer(ruta), QByteArray("anterior"));
        QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    } else {
        QCOMPARE(Dialogos::mostrados(), QList<Mensaje>({pregunta, exito(ruta)}));
        QVERIFY(Archivos::leer(ruta).startsWith("PK"));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sucesos.xlsx"});
}

void TstExportarXls::fallaSinDejarArchivo() {
    QTemporaryDir dir;
    FrmSucesos f;
    f.agregarFilas(kFilas);
    const QString carpeta = QDir::toNativeSeparators(dir.filePath("no-existe"));
    Dialogos::encolarRuta(dir.filePath("no-existe/sucesos.xlsx"));
    exportar(f);
    const Mensaje error{
        QStringLiteral("Error 2 (No existe la carpeta ") + carpeta +
            QStringLiteral(": no existe el archivo o la carpeta) in procedure CmdExportar_Click "
                           "of Formulario FrmSucesos"),
        Icono::Ninguno, kTituloAplicacion, Botones::Ok};
    QCOMPARE(Dialogos::mostrados(), QList<Mensaje>{error});
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

QTEST_MAIN(TstExportarXls)
#include "tst_exportarxls.moc"
