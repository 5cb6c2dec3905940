// Reading the tablet's replies to an event request: dates, times, operators, cleaning of the
// fields, and no record lost however the replies are cut into arrivals.
#include "BaseTemporal.h"

#include "link/LecturaSuceso.h"
#include "link/RecepcionSucesos.h"

#include <QTest>

namespace {
const QDate kDesde(2021, 6, 1);
const QDate kHasta(2021, 6, 30);

QByteArray carga(const char* fecha, const char* operario, const char* receta = "Receta A",
                 const QByteArray& campo3 = "3", const char* hora = "10:30:00") {
    return QByteArray("\"'carga'\",\"") + fecha + "\",\"" + campo3 + "\",\"" + receta +
           "\",\"1\",\"Maiz\",\"1000\",\"990\",\"" + hora + "\",\"0\",\"" + operario + "\",";
}
QByteArray descarga(const char* fecha, const char* corral = "Corral 1", const char* hora = "11:05") {
    return QByteArray("'descarga',") + fecha + "," + corral + ",500,480," + hora + ",";
}

FilaEvento filaCarga(const QString& fecha, const QString& operario, const QString& receta = "Receta A") {
    return {"CARGA", fecha, "10:30", receta, "Maiz", "1000", "990", operario};
}
FilaEvento filaDescarga(const QString& fecha, const QString& operario, const QString& corral = "Corral 1") {
    return {"DESCARGA", fecha, "11:05", corral, "", "500", "480", operario};
}

QList<FilaEvento> filasDe(const QList<PasoRecepcion>& pasos) {
    QList<FilaEvento> r;
    for (const PasoRecepcion& p : pasos)
        if (p.fila)
            r << *p.fila;
    return r;
}
QStringList mensajesDe(const QList<PasoRecepcion>& pasos) {
    QStringList r;
    for (const PasoRecepcion& p : pasos)
        if (p.mensaje)
            r << p.mensaje->texto;
    return r;
}
const QString kFin = QStringLiteral("se descargaron todos los registros correctamente");
const QString kError13 = QStringLiteral(
    "Error 13 (No coinciden los tipos) en procedimiento ws_DataArrival de Formulario FrmSucesos");
} // namespace

class TstRecepcion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(base_.ok()); }
    void pedido();
    void fechas_data();
    void fechas();
    void horas();
    void camposLimpios();
    void operarios();
    void variosRegistrosEnUnaLlegada();
    void cortadoEnCualquierPunto();
    void finConRegistros();
    void sinDatos();
    void registrosMalformados();
    void textoSinFin();

private:
    BaseTemporal base_;
};

void TstRecepcion::pedido() {
    QCOMPARE(RecepcionSucesos::pedido(QDate(2021, 6, 5), QDate(2021, 12, 31)),
             QStringLiteral("Mandame los datos entre: 06/05/2021 y 12/31/2021 a; 0.5"));
}

void TstRecepcion::fechas_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("esperado"); // empty: not a date
    QTest::newRow("mes primero") << "06/15/2021"
                                 << "15/06/2021";
    QTest::newRow("dia primero, dia mayor a 12") << "15/06/2021"
                                                 << "15/06/2021";
    QTest::newRow("ambiguo: mes primero") << "06/05/2021"
                                          << "05/06/2021";
    QTest::newRow("sin barras") << "06152021"
                                << "15/06/2021";
    QTest::newRow("29 de febrero bisiesto") << "02/29/2024"
                                            << "29/02/2024";
    QTest::newRow("29 de febrero no bisiesto") << "02/29/2023"
                                               << "";
    QTest::newRow("31 de abril") << "04/31/2021"
                                 << "";
    QTest::newRow("ambos mayores a 12") << "13/13/2021"
                                        << "";
    QTest::newRow("mes cero") << "00/10/2021"
                              << "";
    QTest::newRow("letras") << "ab/cd/efgh"
                            << "";
    QTest::newRow("corta") << "6/5/21"
                           << "";
    QTest::newRow("vacia") << ""
                           << "";
}

void TstRecepcion::fechas() {
    QFETCH(QString, campo);
    QFETCH(QString, esperado);
    QCOMPARE(LecturaSuceso::fecha(campo).value_or(QString()), esperado);
}

void TstRecepcion::horas() {
    QCOMPARE(LecturaSuceso::hora("10:30:59").value_or("x"), QStringLiteral("10:30"));
    QCOMPARE(LecturaSuceso::hora(" 7:05 ").value_or("x"), QStringLiteral("07:05"));
    QCOMPARE(LecturaSuceso::hora("2:05 PM").value_or("x"), QStringLiteral("14:05"));
    QCOMPARE(LecturaSuceso::hora("23:59").value_or("x"), QStringLiteral("23:59"));
    QVERIFY(!LecturaSuceso::hora("24:00"));
    QVERIFY(!LecturaSuceso::hora("10.30"));
    QVERIFY(!LecturaSuceso::hora(""));
}

void TstRecepcion::camposLimpios() {
    // Quotes and asterisks go from every field, the recipe is trimmed, the pen kept as received,
    // the text after the last comma is not a field.
    QCOMPARE(LecturaSuceso::campos("a\"*b,*\"c\"*,resto"), QStringList({"ab", "c"}));
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    const auto pasos = r.recibir("'carga',06/15/2021,3,\"  Receta *B*  \",x,*Maiz*,1*000,\"990\",10:30,0,7,"
                                 "'descarga',06/15/2021,  Corral \"9\" ,500,480,11:05,'fin'");
    QCOMPARE(filasDe(pasos), QList<FilaEvento>({{"CARGA", "15/06/2021", "10:30", "Receta B", "Maiz", "1000",
                                                 "990", "7 inexistente"},
                                                filaDescarga("15/06/2021", "7 inexistente", "  Corral 9 ")}));
}

void TstRecepcion::operarios() {
    QVERIFY(base_.ejecutar("insert into operarios values (3, 'Juan')"));
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    // A discharge before any load shows "0"; each load's operator then passes to the discharges.
    auto pasos = r.recibir(descarga("06/15/2021") + carga("06/15/2021", "3") + descarga("06/15/2021") +
                           carga("06/15/2021", "7") + descarga("06/16/2021") + "'fin'");
    QCOMPARE(filasDe(pasos),
             QList<FilaEvento>({filaDescarga("15/06/2021", "0"), filaCarga("15/06/2021", "Juan"),
                                filaDescarga("15/06/2021", "Juan"), filaCarga("15/06/2021", "7 inexistente"),
                                filaDescarga("16/06/2021", "7 inexistente")}));
    QCOMPARE(r.operarioActual(), QStringLiteral("7 inexistente"));
    // A new request starts again from operator "0".
    r.iniciar(kDesde, kHasta, "t");
    QCOMPARE(filasDe(r.recibir(descarga("06/15/2021"))),
             QList<FilaEvento>({filaDescarga("15/06/2021", "0")}));
}

void TstRecepcion::variosRegistrosEnUnaLlegada() {
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    // Complete records are listed as soon as they have their fields, without waiting for more.
    auto pasos =
        r.recibir(carga("06/15/2021", "1") + descarga("06/15/2021") + carga("06/16/2021", "1", "R2"));
    QCOMPARE(filasDe(pasos).size(), 3);
    QCOMPARE(filasDe(pasos).last(), filaCarga("16/06/2021", "1 inexistente", "R2"));
    QVERIFY(mensajesDe(pasos).isEmpty());
    QVERIFY(r.pendiente().isEmpty());
}

void TstRecepcion::cortadoEnCualquierPunto() {
    const QByteArray flujo =
        carga("06/15/2021", "5") + descarga("06/15/2021") + descarga("06/15/2021", "C2") + "'fin'";
    const QList<FilaEvento> esperadas = {filaCarga("15/06/2021", "5 inexistente"),
                                         filaDescarga("15/06/2021", "5 inexistente"),
                                         filaDescarga("15/06/2021", "5 inexistente", "C2")};
    // Cut once at every position (markers and fields cut in two included), and byte by byte.
    for (int corte = 0; corte <= flujo.size(); ++corte) {
        RecepcionSucesos r;
        r.iniciar(kDesde, kHasta, "t");
        auto pasos = r.recibir(flujo.left(corte));
        pasos += r.recibir(flujo.mid(corte));
        QCOMPARE(filasDe(pasos), esperadas);
        QCOMPARE(mensajesDe(pasos), QStringList({kFin}));
    }
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    QList<PasoRecepcion> pasos;
    for (char c : flujo)
        pasos += r.recibir(QByteArray(1, c));
    QCOMPARE(filasDe(pasos), esperadas);
    QCOMPARE(mensajesDe(pasos), QStringList({kFin}));
}

void TstRecepcion::finConRegistros() {
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    const auto pasos = r.recibir(carga("06/15/2021", "1") + "'fin'");
    QCOMPARE(pasos.size(), 2);
    QVERIFY(pasos[0].fila && !pasos[0].mensaje && !pasos[0].termina);
    QVERIFY(!pasos[1].fila && pasos[1].termina);
    QCOMPARE(*pasos[1].mensaje, (Mensaje{kFin, Icono::Informacion, "Tolvaro"}));
}

void TstRecepcion::sinDatos() {
    RecepcionSucesos r;
    r.iniciar(QDate(2021, 6, 5), QDate(2021, 7, 20), "192.168.0.9");
    const auto pasos = r.recibir("'no'");
    QCOMPARE(pasos.size(), 1);
    QVERIFY(pasos[0].termina && !pasos[0].fila);
    QCOMPARE(*pasos[0].mensaje,
             (Mensaje{"No existen datos en la tablet 192.168.0.9 entre las fechas 05/06/2021 y 20/07/2021",
                      Icono::Exclamacion, "Tolvaro"}));
    // Text without a marker is no reply at all.
    QVERIFY(r.recibir("hola, que tal,,,,,,,,,,,,").isEmpty());
}

void TstRecepcion::registrosMalformados() {
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    // Each bad record gives its error, keeps the row with the columns set before it, and the
    // next record is read normally.
    const auto pasos = r.recibir(carga("02/30/2021", "1") +                    // invalid date
                                 carga("06/15/2021", "1", "R", "3", "25:99") + // invalid time
                                 carga("06/15/2021", "1", "R", "40000") +      // field 3 overflows
                                 carga("06/15/2021", "1", "R", "tres") +       // field 3 not a number
                                 carga("06/15/2021", "1", "R", QByteArray("5\0xyz", 5)) + // nor this
                                 "'descarga',06/15/2021,C,500," +                         // fields missing
                                 descarga("13/13/2021") + descarga("06/17/2021") + "'fin'");
    const FilaEvento completa = {"CARGA", "15/06/2021", "10:30", "R", "Maiz", "1000", "990", "1 inexistente"};
    QCOMPARE(filasDe(pasos), QList<FilaEvento>({{"CARGA", "", "", "", "", "", "", ""},
                                                {"CARGA", "15/06/2021", "", "", "", "", "", ""},
                                                completa,
                                                completa,
                                                completa,
                                                {"DESCARGA", "", "", "", "", "", "", ""},
                                                filaDescarga("17/06/2021", "1 inexistente")}));
    QCOMPARE(
        mensajesDe(pasos),
        QStringList({kError13, kError13,
                     "Error 6 (Desbordamiento) en procedimiento ws_DataArrival de Formulario FrmSucesos",
                     kError13, kError13,
                     "Error 9 (El subíndice está fuera del intervalo) en procedimiento ws_DataArrival de "
                     "Formulario FrmSucesos",
                     kError13, "Se listaron 7 filas; 7 registros no se pudieron leer"}));
    for (const PasoRecepcion& p : pasos)
        if (p.mensaje && !p.termina)
            QCOMPARE(p.mensaje->titulo, QStringLiteral("Error en FrmSucesos"));
    // The end no longer claims every record came: it counts the rows listed and the records lost.
    QVERIFY(pasos.last().termina);
    QCOMPARE(pasos.last().mensaje->icono, Icono::Exclamacion);
    QCOMPARE(r.filasListadas(), 7);
    QCOMPARE(r.ilegibles(), 7);
    // A new request starts the count again; a download without errors keeps the old message.
    r.iniciar(kDesde, kHasta, "t");
    QCOMPARE(mensajesDe(r.recibir(descarga("06/17/2021") + "'fin'")), QStringList({kFin}));
}

void TstRecepcion::textoSinFin() {
    // A marker followed by endless text without commas: the buffer stays bounded, the text is
    // reported as an unreadable record, and a record after it is read normally.
    RecepcionSucesos r;
    r.iniciar(kDesde, kHasta, "t");
    QList<PasoRecepcion> pasos = r.recibir("'carga',");
    for (int i = 0; i < 200; ++i) {
        pasos += r.recibir(QByteArray(1000, 'x'));
        QVERIFY(r.pendiente().size() < 70 * 1024);
    }
    pasos += r.recibir(descarga("06/17/2021") + "'fin'");
    QCOMPARE(filasDe(pasos), QList<FilaEvento>({filaDescarga("17/06/2021", "0")}));
    QCOMPARE(
        mensajesDe(pasos),
        QStringList({"Error 9 (El subíndice está fuera del intervalo) en procedimiento ws_DataArrival de "
                     "Formulario FrmSucesos",
                     "Se listó 1 fila; 1 registro no se pudo leer"}));
}

QTEST_GUILESS_MAIN(TstRecepcion)
#include "tst_recepcion.moc"
