// The events list as a workbook: what each list text becomes, the workbook as an independent
// reader (openpyxl) sees it, the same cells under three locales, and failures that leave
// nothing behind.
#include "Archivos.h"
#include "LectorLibro.h"

#include "core/LibroXlsx.h"
#include "events/CeldasExportacion.h"
#include "events/ExportacionSucesos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLocale>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <csignal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

Q_DECLARE_METATYPE(CeldaLibro)

namespace {

// Every kind of cell the list can hold, including the awkward ones.
const QList<FilaEvento> kFilas = {
    {"CARGA", "15/01/2020", "07:35", "Engorde 1.5", "Maíz", "1300", "1250.5", "D'Angelo"},
    {"DESCARGA", "05/01/2020", "7:50", "Corral 1/2", "", "500", "-480.25", "Ñandú"},
    {"CARGA", "2020-01-15", "10:40:10", "=SUMA(A1:A2)", "Soja", "1.250,5", "0", "9 inexistente"},
};

QJsonObject celda(const char* tipo, const QJsonValue& valor) {
    return {{"tipo", tipo}, {"valor", valor}};
}
QJsonObject texto(const QString& t) {
    return celda("texto", t);
}

// What the reader must find in kFilas' workbook: kind and value of each cell, null for none.
QJsonArray esperado() {
    QJsonArray enc;
    for (const QString& e : FilaEvento::encabezados())
        enc << texto(e);
    return {enc,
            QJsonArray{texto("CARGA"), celda("fecha", "2020-01-15"), celda("hora", "07:35:00"),
                       texto("Engorde 1,5"), texto("Maíz"), celda("numero", 1300), celda("numero", 1250.5),
                       texto("D'Angelo")},
            QJsonArray{texto("DESCARGA"), celda("fecha", "2020-01-05"), celda("hora", "07:50:00"),
                       texto("Corral 1/2"), QJsonValue(), celda("numero", 500), celda("numero", -480.25),
                       texto("Ñandú")},
            QJsonArray{texto("CARGA"), texto("2020-01-15"), texto("10:40:10"), texto("=SUMA(A1:A2)"),
                       texto("Soja"), texto("1,250,5"), celda("numero", 0), texto("9 inexistente")}};
}

// Kind and value only, for comparison with esperado().
QJsonArray tiposYValores(const QJsonObject& libro) {
    QJsonArray filas;
    for (const QJsonValue& f : libro["filas"].toArray()) {
        QJsonArray fila;
        for (const QJsonValue& c : f.toArray())
            fila << (c.isNull() ? QJsonValue() : QJsonObject{{"tipo", c["tipo"]}, {"valor", c["valor"]}});
        filas << fila;
    }
    return filas;
}

Resultado exportar(const QString& destino, const QList<FilaEvento>& filas, const QList<int>& columnas = {}) {
    ExportacionSucesos e(destino, filas, columnas);
    return e.ejecutar();
}

QStringList contenido(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Child mode: writes kFilas under the locale the process was started with and says which
// decimal point that locale has, for Qt and for the C library.
int escribirEnEsteLocale(const QString& destino) {
    const Resultado r = exportar(destino, kFilas);
    std::printf("%s %s %s\n", qPrintable(QLocale::system().name()),
                qPrintable(QString(QLocale::system().decimalPoint())), std::localeconv()->decimal_point);
    return r.ok ? 0 : 1;
}

} // namespace

class TstExportacion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void celdas_data();
    void celdas();
    void libroLeidoPorOtroLector();
    void listaVacia();
    void mismasCeldasEnTresLocales();
    void fallosNoDejanArchivo_data();
    void fallosNoDejanArchivo();
    void nombreLibro();
    void destruidaAMitad();

private:
    QJsonObject leer(const QString& archivo) {
        QString error;
        const QJsonObject o = LectorLibro::leer(archivo, &error);
        if (o.isEmpty())
            qWarning().noquote() << error;
        return o;
    }
};

void TstExportacion::celdas_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("principal");
    QTest::addColumn<QString>("transformado");
    QTest::addColumn<CeldaLibro>("celda");
    auto fila = [](const char* nombre, const QString& t, bool principal, const QString& tr,
                   const CeldaLibro& c) { QTest::newRow(nombre) << t << principal << tr << c; };
    using C = CeldaLibro;
    fila("decimal con punto", "1250.5", false, "1250,5", C::deNumero(1250.5));
    fila("entero", "985", false, "985", C::deNumero(985));
    fila("negativo", "-3.25", false, "-3,25", C::deNumero(-3.25));
    fila("con signo +", "+7", false, "+7", C::deNumero(7));
    fila("miles y coma", "1.250,5", false, "1,250,5", C::deTexto("1,250,5"));
    fila("coma sin decimales", "5.", false, "5,", C::deTexto("5,"));
    fila("fecha dd/mm/yyyy", "15/01/2020", false, "2020/01/15", C::deFecha({2020, 1, 15}));
    fila("fecha d/m/yyyy", "5/1/2020", false, "2020/01/05", C::deFecha({2020, 1, 5}));
    fila("dia primero", "05/01/2020", false, "2020/01/05", C::deFecha({2020, 1, 5}));
    fila("fecha imposible", "31/02/2020", false, "31/02/2020", C::deTexto("31/02/2020"));
    fila("anio de dos cifras", "15/01/20", false, "15/01/20", C::deTexto("15/01/20"));
    fila("barra que no es fecha", "Corral 1.5/2", false, "Corral 1.5/2", C::deTexto("Corral 1.5/2"));
    fila("ya anio primero", "2020/01/15", false, "2020/01/15", C::deFecha({2020, 1, 15}));
    fila("antes de 1900", "15/01/1899", false, "1899/01/15", C::deTexto("1899/01/15"));
    fila("fecha con guiones", "2020-01-15", false, "2020-01-15", C::deTexto("2020-01-15"));
    fila("hora HH:mm", "07:35", false, "07:35", C::deHora({7, 35}));
    fila("hora H:mm", "7:05", false, "7:05", C::deHora({7, 5}));
    fila("hora con segundos", "10:40:10", false, "10:40:10", C::deTexto("10:40:10"));
    fila("hora imposible", "24:00", false, "24:00", C::deTexto("24:00"));
    fila("vacio", "", false, "", C::vacia());
    fila("nombre con punto", "Engorde 1.5", false, "Engorde 1,5", C::deTexto("Engorde 1,5"));
    fila("formula", "=SUMA(A1)", false, "=SUMA(A1)", C::deTexto("=SUMA(A1)"));
    fila("apostrofo", "D'Angelo", false, "D'Angelo", C::deTexto("D'Angelo"));
    fila("acentos", "Ñandú", false, "Ñandú", C::deTexto("Ñandú"));
    fila("cifras arabes", "١٢٣", false, "١٢٣", C::deTexto("١٢٣"));
    fila("desbordado", QString(400, u'9'), false, QString(400, u'9'), C::deTexto(QString(400, u'9')));
    // The main text only has its dots turned into commas: it is never read as a date.
    fila("principal", "CARGA", true, "CARGA", C::deTexto("CARGA"));
    fila("principal con punto", "1.5", true, "1,5", C::deNumero(1.5));
    fila("principal con barra", "15/01/2020", true, "15/01/2020", C::deTexto("15/01/2020"));
}

void TstExportacion::celdas() {
    QFETCH(QString, texto);
    QFETCH(bool, principal);
    QFETCH(QString, transformado);
    QFETCH(CeldaLibro, celda);
    QCOMPARE(CeldasExportacion::transformar(texto, principal), transformado);
    // The export's shortcut and the two steps give the same cell.
    for (const CeldaLibro& c :
         {CeldasExportacion::celda(texto, principal),
          CeldasExportacion::tecleada(CeldasExportacion::transformar(texto, principal))}) {
        QCOMPARE(int(c.tipo), int(celda.tipo));
        QCOMPARE(c.texto, celda.texto);
        QCOMPARE(c.numero, celda.numero);
        QCOMPARE(c.fecha, celda.fecha);
        QCOMPARE(c.hora, celda.hora);
    }
}

void TstExportacion::libroLeidoPorOtroLector() {
    QTemporaryDir dir;
    const QString destino = dir.filePath("sucesos.xlsx");
    ExportacionSucesos e(destino, kFilas);
    QList<int> avance;
    const ResultadoCon<QString> r = e.ejecutar([&avance](int p) { avance << p; });
    QVERIFY2(r.ok, qPrintable(r.descripcion));
    QCOMPARE(r.valor, destino);
    QCOMPARE(avance.last(), 100);
    QCOMPARE(contenido(dir.path()), QStringList{"sucesos.xlsx"});

    const QJsonObject libro = leer(destino);
    QVERIFY(!libro.isEmpty());
    QCOMPARE(libro["hojas"].toArray(), QJsonArray{"Sucesos"});
    QCOMPARE(tiposYValores(libro), esperado());
    QCOMPARE(libro["formulas"].toInt(), 0);

    // Looks: a bold, frozen header row with a filter; numbers right-aligned; dates and times in
    // the list's forms; every column wide enough for its longest value, within reason.
    const QJsonArray filas = libro["filas"].toArray();
    for (const QJsonValue& c : filas[0].toArray())
        QVERIFY(c["negrita"].toBool());
    QVERIFY(!filas[1][0]["negrita"].toBool());
    QCOMPARE(libro["congelado"].toString(), QStringLiteral("A2"));
    QCOMPARE(libro["filtro"].toString(), QStringLiteral("A1:H4"));
    // Numbers keep the default alignment, which puts them on the right; nothing pushes them left.
    QVERIFY(filas[1][6]["alineacion"].isNull() || filas[1][6]["alineacion"].toString() == "right");
    QCOMPARE(filas[1][1]["formato"].toString(), QStringLiteral("dd/mm/yyyy"));
    QCOMPARE(filas[1][2]["formato"].toString(), QStringLiteral("hh:mm"));
    const QJsonArray anchos = libro["anchos"].toArray();
    QCOMPARE(anchos.size(), 8);
    QVERIFY(anchos[0].toDouble() >= QStringLiteral("TIPO DE SUCESO").size());
    QVERIFY(anchos[3].toDouble() >= QStringLiteral("=SUMA(A1:A2)").size());
    for (const QJsonValue& a : anchos)
        QVERIFY(a.toDouble() >= 8 && a.toDouble() <= 62);
}

void TstExportacion::listaVacia() {
    QTemporaryDir dir;
    QVERIFY(exportar(dir.filePath("vacio.xlsx"), {}).ok);
    const QJsonObject libro = leer(dir.filePath("vacio.xlsx"));
    QCOMPARE(tiposYValores(libro), QJsonArray{esperado()[0]});
    QCOMPARE(libro["filtro"].toString(), QStringLiteral("A1:H1"));
}

void TstExportacion::mismasCeldasEnTresLocales() {
    // The locales are generated on the machine (localedef, see scripts/install-deps.sh); each
    // writer runs in a process of its own started under that locale, as a user would start it.
    QTemporaryDir dir;
    QJsonObject anterior;
    for (const char* nombre : {"C.UTF-8", "es_AR.UTF-8", "en_US.UTF-8"}) {
        const QString destino = dir.filePath(QStringLiteral("%1.xlsx").arg(nombre));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", nombre);
        env.insert("LANG", nombre);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {"--escribir", destino});
        QVERIFY(p.waitForFinished(60000));
        const QString dice = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        QVERIFY2(p.exitCode() == 0, qPrintable(dice + QString::fromUtf8(p.readAllStandardError())));
        if (qstrcmp(nombre, "es_AR.UTF-8") == 0)
            QVERIFY2(dice == QStringLiteral("es_AR , ,"), qPrintable("locale es_AR.UTF-8 missing? " + dice));
        if (qstrcmp(nombre, "en_US.UTF-8") == 0)
            QVERIFY2(dice == QStringLiteral("en_US . ."), qPrintable("locale en_US.UTF-8 missing? " + dice));

        const QJsonObject libro = leer(destino);
        QCOMPARE(tiposYValores(libro), esperado());
        if (!anterior.isEmpty())
            QCOMPARE(libro, anterior); // looks included
        anterior = libro;
    }
}

void TstExportacion::fallosNoDejanArchivo_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("descripcion");
    QTest::newRow("carpeta inexistente") << "carpeta"
                                         << "No existe la carpeta";
    QTest::newRow("destino es una carpeta") << "es carpeta"
                                            << "No se puede escribir";
    QTest::newRow("texto demasiado largo") << "largo"
                                           << "32767";
    QTest::newRow("disco lleno") << "lleno"
                                 << "archivo temporal de la hoja";
    QTest::newRow("cancelado") << "cancelado"
                               << "cancelada";
}

void TstExportacion::fallosNoDejanArchivo() {
    QFETCH(QString, caso);
    QFETCH(QString, descripcion);
    QTemporaryDir dir;
    QString destino = dir.filePath("sucesos.xlsx");
    QVERIFY(Archivos::escribir(destino, "anterior"));
    QStringList antes = contenido(dir.path());

    QList<FilaEvento> filas(caso == "lleno" || caso == "cancelado" ? 20000 : 3, kFilas[0]);
    if (caso == "carpeta")
        destino = dir.filePath("no/existe.xlsx");
    if (caso == "es carpeta") {
        destino = dir.filePath("carpeta.xlsx");
        QVERIFY(QDir(dir.path()).mkdir("carpeta.xlsx"));
        antes = contenido(dir.path());
    }
    if (caso == "largo")
        filas[2].recetaCorral = QString(40000, u'x');

    ExportacionSucesos e(destino, filas);
    Resultado r;
    if (caso == "lleno") {
#ifndef Q_OS_UNIX
        QSKIP("Windows has no file-size limit to stand in for a full disk");
#else
        // A file may grow no further than 256 KB: writes fail as on a full disk.
        rlimit anterior{};
        getrlimit(RLIMIT_FSIZE, &anterior);
        const auto senal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = anterior;
        limite.rlim_cur = 256 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        r = e.ejecutar();
        setrlimit(RLIMIT_FSIZE, &anterior);
        std::signal(SIGXFSZ, senal);
#endif
    } else if (caso == "cancelado") {
        r = e.ejecutar([&e](int p) {
            if (p >= 50)
                e.cancelar();
        });
        QVERIFY(r.cancelado);
    } else {
        r = e.ejecutar();
    }
    QVERIFY(!r.ok);
    QVERIFY2(r.descripcion.contains(descripcion), qPrintable(r.descripcion));
    QVERIFY(r.numero != 0 || r.cancelado);
    QCOMPARE(contenido(dir.path()), antes);
    QCOMPARE(Archivos::leer(dir.filePath("sucesos.xlsx")), QByteArray("anterior"));
}

void TstExportacion::nombreLibro() {
    const QList<std::pair<QString, QString>> casos = {
        {"/d/sucesos", "/d/sucesos.xlsx"},         {"/d/sucesos.xls", "/d/sucesos.xlsx"},
        {"/d/sucesos.XLS", "/d/sucesos.xlsx"},     {"/d/sucesos.xlsx", "/d/sucesos.xlsx"},
        {"/d/Engorde 1.5", "/d/Engorde 1.5.xlsx"}, {"/d/sucesos.csv", "/d/sucesos.csv.xlsx"},
        {"/d.xls/sucesos", "/d.xls/sucesos.xlsx"}};
    for (const auto& [elegido, escrito] : casos)
        QCOMPARE(ExportacionSucesos::nombreLibro(elegido), escrito);
}

void TstExportacion::destruidaAMitad() {
    // The window closed during an export: the job stops before its copy of the rows goes, and
    // nothing is left under the name.
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("sucesos.xlsx"));
    TrabajoPropio<ExportacionSucesos> e(
        new ExportacionSucesos(destino, QList<FilaEvento>(200000, kFilas.first())));
    QSignalSpy avance(e.get(), &Trabajo::avance);
    e->iniciar();
    QTRY_VERIFY(avance.size() > 1);
    e.reset();
    QCOMPARE(contenido(dir.path()), QStringList());
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--escribir") == 0)
        return escribirEnEsteLocale(QString::fromLocal8Bit(argv[2]));
    TstExportacion t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_exportacion.moc"
