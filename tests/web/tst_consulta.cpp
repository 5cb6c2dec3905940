// The request convention and the two web exchanges against an in-process stand-in: statements
// sent, values as texts, ordering, time limit and unusable servers, and the main window's upload.
#include "BaseTemporal.h"
#include "ServidorFalso.h"

#include "app/FrmPrincipal.h"
#include "ui/Dialogos.h"
#include "web/DescargaWeb.h"
#include "web/EnvioWeb.h"
#include "web/TuplasWeb.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

struct FinEnvio {
    bool listo = false;
    Mensaje mensaje;
    bool exito = false;
};

FinEnvio correr(EnvioWeb& e) {
    FinEnvio f;
    QObject::connect(&e, &EnvioWeb::terminado, [&f](const Mensaje& m, bool ok) { f = {true, m, ok}; });
    e.iniciar();
    (void)QTest::qWaitFor([&] { return f.listo; }, 20000);
    return f;
}

struct FinDescarga {
    bool listo = false;
    DescargaWeb::Fin fin = DescargaWeb::Fin::Error;
    Mensaje mensaje;
    QList<FilaEvento> filas;
};

FinDescarga correr(DescargaWeb& d) {
    FinDescarga f;
    QObject::connect(&d, &DescargaWeb::fila, [&f](const FilaEvento& r) { f.filas << r; });
    QObject::connect(&d, &DescargaWeb::terminado, [&f](DescargaWeb::Fin fin, const Mensaje& m) {
        f.listo = true;
        f.fin = fin;
        f.mensaje = m;
    });
    d.iniciar();
    (void)QTest::qWaitFor([&] { return f.listo; }, 20000);
    return f;
}

const QByteArray kSondeoOk = "[{\"curdate()\":\"2024-01-20\"}]";

// A service with client 7: loads and discharges as given, everything else "OK".
ServidorFalso::Respuesta servicio(const QString& sql, const QByteArray& cargas,
                                  const QHash<QString, QByteArray>& descargas) {
    if (sql.startsWith(u"SELECT distinct curdate()"))
        return {200, kSondeoOk};
    if (sql.startsWith(u"select * from clientes"))
        return {200,
                sql.contains(u"'juan'") ? QByteArray("[{\"id\":7,\"user\":\"juan\"}]") : QByteArray("[]")};
    if (sql.startsWith(u"select * from lectura_carga_tracker"))
        return {200, cargas};
    if (sql.startsWith(u"select * from lectura_descarga_tracker"))
        return {200, descargas.value(sql.section(u' ', -1), "[]")};
    return {200, "OK"};
}

QByteArray carga(const char* fecha, const char* hora, const char* receta, const char* kgReal,
                 const char* op) {
    return QByteArray("{\"cliente\":\"7\",\"fecha\":\"") + fecha + "\",\"hora\":\"" + hora +
           "\",\"receta\":\"" + receta + "\",\"id_alim\":\"5\",\"alimento\":\"Maiz\",\"kg_real\":" + kgReal +
           ",\"Operario\":\"" + op + "\",\"kg_sug\":\"100\"}";
}

} // namespace

class TstConsulta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        Dialogos::activarModoPrueba();
        Dialogos::limpiar();
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void recorteYEscape() {
        QCOMPARE(Recortar_Respuesta(u"[{\"a\":1},{\"a\":2}]"_qs), u"{\"a\":1},{\"a\":2}"_qs);
        QCOMPARE(Recortar_Respuesta(u"({'id':'7'})"_qs), u"{'id':'7'}"_qs);
        QCOMPARE(Recortar_Respuesta(u"[]"_qs), QString());
        QCOMPARE(recortarRespuesta(u"xx{y}z"), QStringView(u"{y}"));
        QCOMPARE(escaparMysql(u"D'Angelo"_qs), u"D''Angelo"_qs);
        QCOMPARE(escaparMysql(u"C:\\tmp\\'x"_qs), u"C:\\\\tmp\\\\''x"_qs);
        QCOMPARE(sentenciaIngreso(u"o'k"_qs, u"\\"_qs),
                 u"select * from clientes where user = 'o''k' and password = '\\\\'"_qs);
        QCOMPARE(idDeIngreso(u"[{\"id\":7}]"_qs), std::optional<QString>(u"7"_qs));
        QCOMPARE(idDeIngreso(u"[{\"id\":\" 12 \"}]"_qs), std::optional<QString>(u"12"_qs));
        QVERIFY(!idDeIngreso(u"[{\"id\":\"7 or 1=1\"}]"_qs));
        QVERIFY(!idDeIngreso(u"[{\"user\":\"x\"}]"_qs));
    }

    void fechasYSentencias() {
        const QDate d(2024, 1, 15);
        for (const char* t : {"2024-01-15", "2024-01-15 00:00:00", "15/01/2024", "20240115"})
            QCOMPARE(DescargaWeb::leerFecha(ValorJson::texto(QString::fromLatin1(t))),
                     std::optional<QDate>(d));
        for (const char* t : {"2024-02-30", "", "hola", "15-01"})
            QVERIFY(!DescargaWeb::leerFecha(ValorJson::texto(QString::fromLatin1(t))));
        QVERIFY(!DescargaWeb::leerFecha(ValorJson::nulo()));
        QCOMPARE(DescargaWeb::sentenciaCargas(u"7"_qs, QDate(2024, 1, 1), QDate(2024, 1, 31)),
                 u"select * from lectura_carga_tracker where cliente = 7 and fecha between '20240101' and "
                 "'20240131' order by fecha, hora"_qs);
        QCOMPARE(DescargaWeb::sentenciaDescargas(u"7"_qs, d),
                 u"select * from lectura_descarga_tracker where cliente = 7 and fecha = 20240115"_qs);
    }

    void tuplasEnOrdenInversoYTextos() {
        BaseTemporal base;
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        for (const char* sql :
             {"insert into recetas values (2, 'Engorde', 0)", "insert into alimentos values (5, 'Maiz')",
              "insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 1200, 1)",
              "insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 12.5, 2)",
              "insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 7, 3)",
              "insert into descarga values (3, '9', 40, 1)", "insert into descarga values (3, 'P', 12.5, 2)"})
            QVERIFY(base.ejecutar(QString::fromUtf8(sql)));
        const TuplasWeb::Tuplas c = TuplasWeb::carga(u"7"_qs);
        QCOMPARE(c.filas, 3);
        QCOMPARE(c.texto, u"('7','20240115','3','2','Engorde','5','Maiz','7','0','100','3','4'),"
                          "('7','20240115','3','2','Engorde','5','Maiz','12,5','0','100','2','4'),"
                          "('7','20240115','3','2','Engorde','5','Maiz','1200','0','100','1','4')"_qs);
        QCOMPARE(
            TuplasWeb::descarga(u"7"_qs).texto,
            u"('7','2024-01-15','3','2','P','12.5','0','0','2'),('7','2024-01-15','3','2','9','40','0','0','1')"_qs);
        QCOMPARE(TuplasWeb::operarios(u"7"_qs).filas, 0);
        QCOMPARE(TuplasWeb::operarios(u"7"_qs).texto, QString());
    }

    void envioSinPlanYRespuestaEnArreglo() {
        BaseTemporal base;
        ServidorFalso srv([](const QString& sql) { return servicio(sql, {}, {}); });
        EnvioWeb envio({srv.servidor(), u"juan"_qs, u"x"_qs});
        const FinEnvio f = correr(envio);
        QVERIFY(f.listo && f.exito);
        QCOMPARE(f.mensaje, (Mensaje{u"Se envió correctamente la informacion al servidor"_qs,
                                     Icono::Informacion, u"Informacion... Exitosa"_qs}));
        QCOMPARE(srv.sentencias.size(), 7);
        QCOMPARE(srv.sentencias.mid(2), QStringList({u"delete from Prg_Carga where cliente = 7"_qs,
                                                     u"delete from Alimentos where Cliente = 7"_qs,
                                                     u"delete from Operarios where Cliente = 7"_qs,
                                                     u"delete from Prg_Viajes where Cliente = 7"_qs,
                                                     u"delete from Prg_Descarga where cliente = 7"_qs}));
        QVERIFY(srv.rutas.first().startsWith(u"GET /nremoto.php?"));
    }

    void envioMensajesDeFalla() {
        BaseTemporal base;
        QVERIFY(base.ejecutar(u"insert into recetas values (2, 'Engorde', 0)"_qs));
        QVERIFY(base.ejecutar(u"insert into alimentos values (5, 'Maiz')"_qs));
        QVERIFY(base.ejecutar(u"insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 1200, 1)"_qs));
        // An INSERT refused, even with a JSON body, stops the run with the table's message.
        ServidorFalso rechaza([](const QString& sql) {
            if (sql.startsWith(u"INSERT"))
                return ServidorFalso::Respuesta{500, "{\"error\":\"x\"}"};
            return servicio(sql, {}, {});
        });
        EnvioWeb e1({rechaza.servidor(), u"juan"_qs, u"x"_qs});
        // Every failure that a reply of the server caused carries its status and reply on a second line.
        QCOMPARE(correr(e1).mensaje,
                 (Mensaje{u"ERROR Carga Formula\nRespuesta del servidor: HTTP 500: {\"error\":\"x\"}"_qs,
                          Icono::Critico, u"Error"_qs}));
        QCOMPARE(rechaza.sentencias.size(), 8);

        // The reason is the reply's first 200 characters, on one line.
        const QByteArray largo = "Data too long for column 'receta'\r\n" + QByteArray(300, 'x');
        ServidorFalso detalla([&](const QString& sql) {
            if (sql.startsWith(u"INSERT"))
                return ServidorFalso::Respuesta{500, largo};
            return servicio(sql, {}, {});
        });
        EnvioWeb e4({detalla.servidor(), u"juan"_qs, u"x"_qs});
        QCOMPARE(
            correr(e4).mensaje.texto,
            u"ERROR Carga Formula\nRespuesta del servidor: HTTP 500: Data too long for column 'receta'  "_qs +
                QString(200 - 35, u'x'));

        ServidorFalso sinId([](const QString& sql) {
            if (sql.startsWith(u"select * from clientes"))
                return ServidorFalso::Respuesta{200, "[{\"user\":\"juan\"}]"};
            return servicio(sql, {}, {});
        });
        EnvioWeb e2({sinId.servidor(), u"juan"_qs, u"x"_qs});
        const Mensaje m2 = correr(e2).mensaje;
        QCOMPARE(m2.titulo, u"Error en Conexion_Web "_qs);
        QCOMPARE(m2.texto,
                 u"Error 424 (La respuesta del servidor no trae el id del cliente) en procedimiento "
                 "Conexion_Web de Formulario FrmPrincipal\n"
                 "Respuesta del servidor: HTTP 200: [{\"user\":\"juan\"}]"_qs);
        QCOMPARE(sinId.sentencias.size(), 2); // nothing deleted with an unknown account

        ServidorFalso sinSondeo([](const QString&) { return ServidorFalso::Respuesta{200, "<html>"}; });
        EnvioWeb e3({sinSondeo.servidor(), u"juan"_qs, u"x"_qs});
        QCOMPARE(correr(e3).mensaje,
                 (Mensaje{u"Error de comunicacion con el servidor, compruebe la conexion a internet\n"
                          "Respuesta del servidor: HTTP 200: <html>"_qs,
                          Icono::Exclamacion}));
    }

    void servidorMudoOConBasura() {
        BaseTemporal base;
        ServidorFalso mudo([](const QString& sql) { return servicio(sql, {}, {}); });
        mudo.setModo(ServidorFalso::Modo::Callar);
        EnvioWeb e1({mudo.servidor(), u"juan"_qs, u"x"_qs});
        e1.cliente()->setLimiteMs(300);
        QElapsedTimer t;
        t.start();
        const FinEnvio f1 = correr(e1);
        QVERIFY(f1.listo);
        QVERIFY(t.elapsed() < 5000);
        QCOMPARE(f1.mensaje.texto,
                 u"Error 4 (El servidor no respondió en 0.3 segundos) en procedimiento Conexion_Web "
                 "de Formulario FrmPrincipal"_qs);
        QCOMPARE(f1.mensaje.icono, Icono::Critico);

        ServidorFalso basura([](const QString& sql) { return servicio(sql, {}, {}); });
        basura.setModo(ServidorFalso::Modo::Basura);
        DescargaWeb d({basura.servidor(), u"juan"_qs, u"x"_qs}, QDate(2024, 1, 1), QDate(2024, 1, 31));
        const FinDescarga f2 = correr(d);
        QVERIFY(f2.listo);
        QCOMPARE(f2.fin, DescargaWeb::Fin::Error);
        QVERIFY2(f2.mensaje.texto.startsWith(u"Error ") &&
                     f2.mensaje.texto.endsWith(u") en procedimiento Recibir_web de Formulario Form1"),
                 qPrintable(f2.mensaje.texto));
        QCOMPARE(f2.mensaje.titulo, u"Error en Form1"_qs);

        // A connection lost halfway through a reply: the part that came ("[{\"curd...", "[{\"id\":7,...")
        // still holds a "{", yet the run must stop instead of going on and reporting success.
        ServidorFalso cortado([](const QString& sql) { return servicio(sql, {}, {}); });
        cortado.setModo(ServidorFalso::Modo::Cortar);
        EnvioWeb e3({cortado.servidor(), u"juan"_qs, u"x"_qs});
        const FinEnvio f3 = correr(e3);
        QVERIFY(f3.listo);
        QVERIFY(!f3.exito);
        QCOMPARE(f3.mensaje.texto, u"Error 2 (La respuesta del servidor llegó incompleta) en procedimiento "
                                   "Conexion_Web de Formulario FrmPrincipal\n"
                                   "Respuesta del servidor: HTTP 200: [{\"curdate()\":"_qs);
        QCOMPARE(cortado.sentencias.size(), 1);

        // The limit counts silence: replies that keep arriving in pieces for longer than the limit
        // in all are not cut off.
        ServidorFalso lento([](const QString& sql) { return servicio(sql, {}, {}); });
        lento.setModo(ServidorFalso::Modo::Goteo);
        EnvioWeb e4({lento.servidor(), u"juan"_qs, u"x"_qs});
        e4.cliente()->setLimiteMs(300);
        const FinEnvio f4 = correr(e4);
        QVERIFY2(f4.exito, qPrintable(f4.mensaje.texto));
    }

    void descargaAgrupaYSaltaRepetidas() {
        BaseTemporal base;
        QVERIFY(base.ejecutar(u"insert into operarios values (4, 'Juan')"_qs));
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
        const QByteArray a = carga("2024-01-15", "08:00", "R", "1250.5", "4");
        const QByteArray b = carga("2024-01-15", "08:00", "R", "\"7,5\"", "4");
        const QByteArray c = carga("2024-01-16", "07:00", "S", "3", "99");
        const QByteArray cargas = "[" + a + "," + a + "," + b + "," + a + "," + c + "]";
        const QHash<QString, QByteArray> descargas{
            {u"20240115"_qs,
             "[{\"fecha\":\"2024-01-15\",\"hora\":\"09:00\",\"corral\":\"X\",\"kg_sug\":1,\"kg_real\":2}]"},
            {u"20240116"_qs,
             "[{\"fecha\":\"2024-01-16\",\"hora\":\"08:00\",\"corral\":\"Y\",\"kg_sug\":3,\"kg_real\":4}]"}};
        ServidorFalso srv([&](const QString& sql) { return servicio(sql, cargas, descargas); });
        DescargaWeb d({srv.servidor(), u"juan"_qs, u"x"_qs}, QDate(2024, 1, 1), QDate(2024, 1, 31));
        const FinDescarga f = correr(d);
        QCOMPARE(f.fin, DescargaWeb::Fin::Normal);
        QStringList vistas;
        for (const FilaEvento& r : f.filas)
            vistas << r.celdas().join(u'|');
        QCOMPARE(vistas, QStringList({u"CARGA|2024-01-15|08:00|R|Maiz|100|1250,5|Juan"_qs,
                                      u"CARGA|2024-01-15|08:00|R|Maiz|100|7,5|Juan"_qs,
                                      u"CARGA|2024-01-15|08:00|R|Maiz|100|1250,5|Juan"_qs,
                                      u"DESCARGA|2024-01-15|09:00|X||1|2|"_qs,
                                      u"CARGA|2024-01-16|07:00|S|Maiz|100|3|99 inexistente"_qs,
                                      u"DESCARGA|2024-01-16|08:00|Y||3|4|"_qs}));
        QCOMPARE(srv.sentencias.size(), 5);
        QCOMPARE(d.operarioActual(), u"99 inexistente"_qs);
    }

    void descargaSigueTrasFilasIlegibles() {
        BaseTemporal base;
        // A first row without a date, a null amount, a date that is no date: each is reported and
        // passed over (the last one listed as it came), the rest listed, and the end counts them.
        // No discharges are asked for a day no row had.
        const QByteArray sinFecha =
            "{\"fecha\":null,\"hora\":\"07:00\",\"receta\":\"R\",\"alimento\":\"M\",\"kg_real\":1,"
            "\"Operario\":\"4\",\"kg_sug\":\"1\"}";
        const QByteArray cargas = "[" + sinFecha + "," + carga("2024-01-15", "08:00", "R", "1", "4") + "," +
                                  carga("2024-01-15", "09:00", "R", "null", "4") + "," +
                                  carga("hola", "09:30", "R", "2", "4") + "," +
                                  carga("2024-01-16", "10:00", "S", "3", "4") + "]";
        const QHash<QString, QByteArray> descargas{
            {u"20240115"_qs, "[{\"fecha\":\"2024-01-15\",\"hora\":\"11:00\",\"corral\":\"X\",\"kg_sug\":1,"
                             "\"kg_real\":2},{\"fecha\":\"2024-01-15\",\"hora\":\"12:00\",\"corral\":null,"
                             "\"kg_sug\":1,\"kg_real\":2}]"},
            {u"20240116"_qs, "[{\"fecha\":\"2024-01-16\",\"hora\":\"11:00\",\"corral\":\"Y\",\"kg_sug\":3,"
                             "\"kg_real\":4}]"}};
        ServidorFalso srv([&](const QString& sql) { return servicio(sql, cargas, descargas); });
        DescargaWeb d({srv.servidor(), u"juan"_qs, u"x"_qs}, QDate(2024, 1, 1), QDate(2024, 1, 31));
        QStringList avisos;
        connect(&d, &DescargaWeb::registroIlegible, this, [&](const Mensaje& m) { avisos << m.texto; });
        const FinDescarga f = correr(d);
        const QString nulo =
            errorProcedimiento(u"94"_qs, u"Uso no válido de Null"_qs, u"Recibir_web"_qs, u"Form1"_qs).texto;
        const QString noFecha =
            errorProcedimiento(u"13"_qs, u"No coinciden los tipos"_qs, u"Recibir_web"_qs, u"Form1"_qs).texto;
        QCOMPARE(avisos, QStringList({nulo, nulo, noFecha, nulo}));
        QStringList vistas;
        for (const FilaEvento& r : f.filas)
            vistas << r.tipo + u'|' + r.fecha + u'|' + r.hora;
        QCOMPARE(vistas, QStringList({u"CARGA|2024-01-15|08:00"_qs, u"CARGA|hola|09:30"_qs,
                                      u"DESCARGA|2024-01-15|11:00"_qs, u"CARGA|2024-01-16|10:00"_qs,
                                      u"DESCARGA|2024-01-16|11:00"_qs}));
        QCOMPARE(f.fin, DescargaWeb::Fin::Incompleta);
        QCOMPARE(f.mensaje,
                 (Mensaje{u"Se listaron 5 filas; 4 registros no se pudieron leer"_qs, Icono::Exclamacion}));
        QCOMPARE(srv.sentencias.size(), 5);

        ServidorFalso vacio([&](const QString& sql) { return servicio(sql, "[]", {}); });
        DescargaWeb v({vacio.servidor(), u"juan"_qs, u"x"_qs}, QDate(2024, 2, 1), QDate(2024, 1, 1));
        const FinDescarga g = correr(v);
        QCOMPARE(g.fin, DescargaWeb::Fin::SinDatos);
        QCOMPARE(g.mensaje, (Mensaje{u"No existen datos a mostrar"_qs, Icono::Exclamacion}));

        // A query the server refused is a failure, not an empty range.
        ServidorFalso roto([&](const QString& sql) {
            if (sql.startsWith(u"select * from lectura_carga_tracker"))
                return ServidorFalso::Respuesta{500, "Unknown column 'fecha'"};
            return servicio(sql, {}, {});
        });
        DescargaWeb r({roto.servidor(), u"juan"_qs, u"x"_qs}, QDate(2024, 1, 1), QDate(2024, 1, 31));
        const FinDescarga h = correr(r);
        QCOMPARE(h.fin, DescargaWeb::Fin::Error);
        QCOMPARE(
            h.mensaje,
            (Mensaje{
                u"No existen datos a mostrar\nRespuesta del servidor: HTTP 500: Unknown column 'fecha'"_qs,
                Icono::Exclamacion}));
    }

    void ventanaPrincipalSigueRespondiendo() {
        BaseTemporal base;
        ServidorFalso srv([](const QString& sql) { return servicio(sql, {}, {}); });
        FrmPrincipal w;
        w.show();
        w.findChild<QRadioButton*>(u"OptWeb"_qs)->click();
        w.findChild<QLineEdit*>(u"TxtServ"_qs)->setText(srv.servidor());
        w.findChild<QLineEdit*>(u"TXTUS"_qs)->setText(u"juan"_qs);
        w.findChild<QLineEdit*>(u"TXTPASS"_qs)->setText(u"x"_qs);
        auto* env = w.findChild<QPushButton*>(u"CmdEnv"_qs);
        env->click();
        // While the statements travel the window shows it is working and the exchange waits.
        QVERIFY(!env->isEnabled());
        QVERIFY(!w.findChild<QPushButton*>(u"Command3"_qs)->isEnabled());
        QVERIFY(w.findChild<QProgressBar*>(u"Bar"_qs)->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!Dialogos::mostrados().isEmpty(), 10000);
        QCOMPARE(Dialogos::mostrados().last().titulo, u"Informacion... Exitosa"_qs);
        QVERIFY(env->isEnabled());
        QVERIFY(!w.findChild<QProgressBar*>(u"Bar"_qs)->isVisible());
        QCOMPARE(w.findChild<QLabel*>(u"Lbl"_qs)->text(), FrmPrincipal::kProgramacionEnviada);
        QCOMPARE(srv.sentencias.size(), 7);
    }
};

QTEST_MAIN(TstConsulta)
#include "tst_consulta.moc"
