// The automatic backup's core: free names, the change count, the rules of when a backup is due,
// the rotation that never takes a manual archive, the second folder, and a cancel.
#include "AyudaMantenimiento.h"
#include "BaseTemporal.h"

#include "db/Ajustes.h"
#include "db/ContadorCambios.h"
#include "maint/AjustesRespaldo.h"
#include "maint/CatalogoRespaldos.h"
#include "maint/Mantenimiento.h"
#include "maint/Respaldo.h"
#include "maint/RespaldoAutomatico.h"

#include <QTemporaryDir>
#include <QTest>

using namespace AyudaMantenimiento;

class TstRespaldoAutomatico : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nombresLibres();
    void cuentaDeCambios_data();
    void cuentaDeCambios();
    void cuandoToca();
    void rotacionYSegundaCarpeta();
    void cancelarNoDejaArchivo();
    void respaldoCanceladoNoEsUnFallo();
};

void TstRespaldoAutomatico::nombresLibres() {
    QTemporaryDir d;
    const QString ruta = QDir(d.path()).filePath("BD_lun_7_12_2026_09_05.cab");
    QCOMPARE(Mantenimiento::rutaLibre(ruta), ruta);
    QVERIFY(escribir(ruta, "primero"));
    const QString segunda = QDir(d.path()).filePath("BD_lun_7_12_2026_09_05_2.cab");
    QCOMPARE(Mantenimiento::rutaLibre(ruta), segunda);
    QVERIFY(escribir(segunda, "segundo"));
    QCOMPARE(Mantenimiento::rutaLibre(ruta), QDir(d.path()).filePath("BD_lun_7_12_2026_09_05_3.cab"));
    // A gap left by a removed archive is not reused: the newest keeps the highest number.
    QVERIFY(QFile::remove(ruta));
    QCOMPARE(Mantenimiento::rutaLibre(ruta), QDir(d.path()).filePath("BD_lun_7_12_2026_09_05_3.cab"));

    const QDateTime m(QDate(2026, 12, 7), QTime(9, 5));
    QCOMPARE(CatalogoRespaldos::nombreAutomatico(m), "BD_lun_7_12_2026_09_05_auto.cab");
    int numero = 0;
    QCOMPARE(CatalogoRespaldos::fechaDelNombre("BD_lun_7_12_2026_09_05_auto_12.cab", &numero), m);
    QCOMPARE(numero, 12);
    QVERIFY(CatalogoRespaldos::esAutomatico("BD_lun_7_12_2026_09_05_auto_12.cab"));
    QVERIFY(!CatalogoRespaldos::esAutomatico("BD_lun_7_12_2026_09_05_2.cab"));
    QVERIFY(!CatalogoRespaldos::fechaDelNombre("copia.cab").isValid());
}

void TstRespaldoAutomatico::cuentaDeCambios_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("cambia");
    QTest::newRow("alta") << "insert into operarios values (1, 'José')" << true;
    QTest::newRow("cambio") << "update tipo_conexion set direccion = '10.0.0.9' where tipo = 'directa'"
                            << true;
    QTest::newRow("el mismo valor") << "update tipo_conexion set direccion = direccion" << false;
    QTest::newRow("baja") << "delete from tipo_conexion where tipo = 'web'" << true;
    QTest::newRow("historial")
        << "insert into historial_sucesos (tipo, fecha, hora) values ('CARGA', '2026-12-07', "
           "'06:30')"
        << true;
    QTest::newRow("preferencias") << "insert into preferencias values ('x', 'y')" << false;
}

void TstRespaldoAutomatico::cuentaDeCambios() {
    QFETCH(QString, sql);
    QFETCH(bool, cambia);
    BaseTemporal base;
    QVERIFY(base.ok());
    const qint64 antes = ContadorCambios::leer();
    QCOMPARE(antes, qint64(0));
    QVERIFY(base.ejecutar(sql));
    QCOMPARE(ContadorCambios::leer() != antes, cambia);
    QCOMPARE(PoliticaRespaldo::hayCambios(), cambia);
    // Opening the database again keeps the count and adds no trigger twice.
    BaseDatos::cerrar();
    QVERIFY(!BaseDatos::abrir(base.carpeta()));
    QCOMPARE(ContadorCambios::leer() != antes, cambia);
}

void TstRespaldoAutomatico::cuandoToca() {
    BaseTemporal base;
    QVERIFY(base.ok());
    const QDateTime ahora(QDate(2026, 12, 20), QTime(8, 0));
    // An empty database never backed up: nothing due.
    QVERIFY(!PoliticaRespaldo::tocaAlCerrar());
    QVERIFY(!PoliticaRespaldo::tocaAlIniciar(ahora));
    QVERIFY(base.ejecutar("insert into recetas values (1, 'Engorde', 0)"));
    QVERIFY(PoliticaRespaldo::tocaAlCerrar());
    QVERIFY(PoliticaRespaldo::tocaAlIniciar(ahora));
    QCOMPARE(PoliticaRespaldo::textoAntiguedad(ahora), "Nunca se hizo un respaldo");

    QVERIFY(!UltimoRespaldo::registrar("/x/BD.cab", 10, ContadorCambios::leer(), ahora.addDays(-12)));
    QVERIFY(!PoliticaRespaldo::tocaAlCerrar());
    QVERIFY(PoliticaRespaldo::tocaAlIniciar(ahora));
    QCOMPARE(PoliticaRespaldo::textoAntiguedad(ahora), "Último respaldo: hace 12 días");
    QVERIFY(!PoliticaRespaldo::tocaAlIniciar(ahora.addDays(-6)));

    AjustesRespaldo a = AjustesRespaldo::leer();
    a.alIniciar = false;
    a.dias = 30;
    QVERIFY(!a.guardar());
    QVERIFY(!PoliticaRespaldo::tocaAlIniciar(ahora));
    QVERIFY(!PoliticaRespaldo::atrasado(ahora));
    QCOMPARE(AjustesRespaldo::leer().dias, 30);
    QVERIFY(base.ejecutar("update recetas set descripcion = 'Recría'"));
    QVERIFY(PoliticaRespaldo::tocaAlCerrar());
    a.alCerrar = false;
    QVERIFY(!a.guardar());
    QVERIFY(!PoliticaRespaldo::tocaAlCerrar());
}

void TstRespaldoAutomatico::rotacionYSegundaCarpeta() {
    QTemporaryDir datos;
    QVERIFY(escribir(QDir(datos.path()).filePath("base.db"), QByteArray("datos ").repeated(5000)));
    const QStringList archivos{QDir(datos.path()).filePath("base.db")};
    const QString carpeta = QDir(datos.path()).filePath("respaldos");
    const QDateTime momento(QDate(2026, 12, 7), QTime(9, 5));
    // A manual archive in the same folder, older than all: the rotation never takes it.
    QVERIFY(QDir().mkpath(carpeta));
    const QString manual = QDir(carpeta).filePath("BD_dom_1_11_2026_10_00.cab");
    QVERIFY(escribir(manual, "manual"));

    QTemporaryDir usb;
    const QString faltante = QDir(usb.path()).filePath("no-montado");
    for (int i = 0; i < 4; ++i) {
        RespaldoAutomatico r(archivos, carpeta, 2, i < 2 ? faltante : usb.path());
        r.setMomento(momento);
        const ResultadoCon<RespaldoHecho> res = r.ejecutar();
        QVERIFY2(res.ok, qPrintable(res.descripcion));
        const RespaldoHecho& v = res.valor;
        QCOMPARE(QFileInfo(v.ruta).fileName(),
                 i == 0 ? QString("BD_lun_7_12_2026_09_05_auto.cab")
                        : QString("BD_lun_7_12_2026_09_05_auto_%1.cab").arg(i + 1));
        // A missing second folder is told, never a failure.
        QCOMPARE(v.aviso.contains(QDir::toNativeSeparators(faltante)), i < 2);
        QCOMPARE(v.copia.isEmpty(), i < 2);
    }
    QCOMPARE(QDir(carpeta).entryList({"*.cab"}, QDir::Files, QDir::Name),
             QStringList({"BD_dom_1_11_2026_10_00.cab", "BD_lun_7_12_2026_09_05_auto_3.cab",
                          "BD_lun_7_12_2026_09_05_auto_4.cab"}));
    QCOMPARE(leer(manual), QByteArray("manual"));
    for (const QString& n : QDir(carpeta).entryList({"*_auto_*.cab"}, QDir::Files))
        QCOMPARE(correr("cabextract", {"-t", QDir(carpeta).filePath(n)}), 0);
    QCOMPARE(QDir(usb.path()).entryList({"*.cab"}, QDir::Files, QDir::Name),
             QStringList({"BD_lun_7_12_2026_09_05_auto_3.cab", "BD_lun_7_12_2026_09_05_auto_4.cab"}));

    const QList<EntradaRespaldo> lista = CatalogoRespaldos::listar({carpeta, usb.path(), carpeta});
    QCOMPARE(lista.size(), 5);
    QVERIFY(lista.first().ruta.endsWith("_auto_4.cab"));
    QVERIFY(!lista.last().automatico);
}

void TstRespaldoAutomatico::cancelarNoDejaArchivo() {
    QTemporaryDir datos;
    QVERIFY(escribir(QDir(datos.path()).filePath("base.db"), QByteArray("datos ").repeated(2 << 20)));
    const QString carpeta = QDir(datos.path()).filePath("respaldos");
    RespaldoAutomatico r({QDir(datos.path()).filePath("base.db")}, carpeta, 10);
    const Resultado res = r.ejecutar([&r](int p) {
        if (p >= 5)
            r.cancelar();
    });
    QVERIFY(res.cancelado);
    QVERIFY(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TstRespaldoAutomatico::respaldoCanceladoNoEsUnFallo() {
    // Cancelled while the archive is being written: the job ends as cancelled, not as a failure
    // with the archive writer's own "cancelled" error.
    QTemporaryDir datos;
    const QString base = QDir(datos.path()).filePath("base.db");
    QVERIFY(escribir(base, QByteArray("datos ").repeated(2 << 20)));
    Respaldo r({base}, QDir(datos.path()).filePath("copia.cab"));
    const Resultado res = r.ejecutar([&r](int p) {
        if (p >= 5)
            r.cancelar();
    });
    QVERIFY(res.cancelado);
    QVERIFY(!QFileInfo::exists(QDir(datos.path()).filePath("copia.cab")));
}

QTEST_GUILESS_MAIN(TstRespaldoAutomatico)
#include "tst_respaldoautomatico.moc"
