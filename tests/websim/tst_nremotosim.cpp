// The web-service stand-in: what it answers to the statements the program sends, on a real MariaDB.
#include "ServicioWebPrueba.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QTest>

#include <memory>

namespace {

struct Respuesta {
    int estado = 0;
    QByteArray cuerpo;
};

} // namespace

class TstNremotoSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void consultaConClavesComoSeEscriben();
    void consultaSinFilasNoTraeLlave();
    void insertYDeleteResponden200();
    void sentenciaFallidaResponde500ConElMensaje();
    void fechasComparadasComoEnMysql();
    void apostrofosLleganIntactos();
    void acentosIdaYVuelta();
    void textosEscapadosEnJson();
    void rutaConYSinInterrogacion();
    void textoQueNoEsUtf8SeRechaza();
    void sentenciaGrandeLlegaEntera();
    void cuerposDeGetSeguidosNoSeMezclan();
    void fallasProvocadas();
    void semillaYEscapeUnicode();

private:
    Respuesta pedir(const QString& sql, const QString& ruta = QStringLiteral("/nremoto.php?"));
    QJsonArray filasJson(const QString& sql);

    std::unique_ptr<ServicioWebPrueba> web_;
    QNetworkAccessManager red_;
};

Respuesta TstNremotoSim::pedir(const QString& sql, const QString& ruta) {
    QNetworkRequest pedido(QUrl(QStringLiteral("http://") + web_->servidor() + ruta));
    pedido.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain; charset=utf-8"));
    std::unique_ptr<QNetworkReply> r(red_.sendCustomRequest(pedido, "GET", sql.toUtf8()));
    QSignalSpy fin(r.get(), &QNetworkReply::finished);
    if (!r->isFinished() && !fin.wait(10000))
        return {};
    return {r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), r->readAll()};
}

QJsonArray TstNremotoSim::filasJson(const QString& sql) {
    const Respuesta r = pedir(sql);
    if (r.estado != 200) {
        qWarning("%d %s", r.estado, r.cuerpo.constData());
        return {};
    }
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(r.cuerpo, &e);
    if (e.error != QJsonParseError::NoError || !doc.isArray())
        qWarning("no es un arreglo JSON: %s", r.cuerpo.constData());
    return doc.array();
}

void TstNremotoSim::initTestCase() {
    web_ = std::make_unique<ServicioWebPrueba>();
    if (web_->faltaMariaDb())
        QSKIP(qPrintable(web_->error()));
    QVERIFY2(web_->ok(), qPrintable(web_->error()));
}

void TstNremotoSim::cleanupTestCase() {
    web_.reset();
}

void TstNremotoSim::init() {
    for (const char* t :
         {"clientes", "Prg_Carga", "Alimentos", "lectura_carga_tracker", "lectura_descarga_tracker"})
        QVERIFY(web_->ejecutar(QStringLiteral("delete from ") + QLatin1String(t)));
}

void TstNremotoSim::consultaConClavesComoSeEscriben() {
    QVERIFY(web_->ejecutar("insert into clientes values (7, 'juan', 'secreto'), (8, 'ana', 'otra')"));
    // The connectivity probe: the key is the expression as written, the value today's date as text.
    const Respuesta sonda = pedir("SELECT distinct curdate() FROM clientes where id <> 0 ");
    QCOMPARE(sonda.estado, 200);
    QCOMPARE(sonda.cuerpo,
             "[{\"curdate()\":\"" + QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\"}]");

    // The login: every column by its name, numbers as strings, in column order.
    const Respuesta login = pedir("select * from clientes where user = 'juan' and password = 'secreto'");
    QCOMPARE(login.estado, 200);
    QCOMPARE(login.cuerpo, "[{\"id\":\"7\",\"user\":\"juan\",\"password\":\"secreto\"}]");

    // Aliases, case as written, NULL as null; several rows.
    const QJsonArray filas = filasJson("select id AS Id, user, null as nada from clientes order by id");
    QCOMPARE(filas.size(), 2);
    QCOMPARE(filas[0].toObject().keys(), QStringList({"Id", "nada", "user"}));
    QCOMPARE(filas[0].toObject()["Id"], QJsonValue("7"));
    QCOMPARE(filas[1].toObject()["user"], QJsonValue("ana"));
    QVERIFY(filas[1].toObject()["nada"].isNull());

    // Two columns of one name make one key, holding the last one's value.
    const Respuesta doble = pedir("select 1 as id, 2 as x, 3 as id");
    QCOMPARE(doble.cuerpo, "[{\"id\":\"3\",\"x\":\"2\"}]");
}

void TstNremotoSim::consultaSinFilasNoTraeLlave() {
    const Respuesta r = pedir("select * from clientes where user = 'nadie' and password = ''");
    QCOMPARE(r.estado, 200);
    QCOMPARE(r.cuerpo, "[]");
    QCOMPARE(pedir("SELECT distinct curdate() FROM clientes where id <> 0 ").cuerpo, "[]");
}

void TstNremotoSim::insertYDeleteResponden200() {
    const Respuesta alta =
        pedir("INSERT INTO Prg_Carga (cliente, fecha, id_viaje, id_receta, receta, id_alim, "
              "alimento, kg, hora, base, orden, operario) values "
              "('7','20240115','3','2','Engorde','5','Maiz','12,5','0','100','1','4'),"
              "('7','20240115','3','2','Engorde','6','Soja','1200','0','100','2','4')");
    QCOMPARE(alta.estado, 200);
    QVERIFY(!alta.cuerpo.contains('{'));
    // Kilograms stay as sent; the date is a date.
    QCOMPARE(
        web_->filas(
            "select cliente, fecha, alimento, kg, hora, base, orden, operario from Prg_Carga order by orden"),
        QStringList({"7|2024-01-15|Maiz|12,5|0|100|1|4", "7|2024-01-15|Soja|1200|0|100|2|4"}));

    QCOMPARE(pedir("delete from Prg_Carga where cliente = 7").estado, 200);
    QCOMPARE(web_->valor("select count(*) from Prg_Carga").toInt(), 0);
    // A delete that finds nothing is still carried out.
    QCOMPARE(pedir("delete from Prg_Viajes where Cliente = 99").estado, 200);
}

void TstNremotoSim::sentenciaFallidaResponde500ConElMensaje() {
    const Respuesta sinTabla = pedir("select * from tabla_que_no_existe");
    QCOMPARE(sinTabla.estado, 500);
    QCOMPARE(sinTabla.cuerpo, "Table 'tolvaro.tabla_que_no_existe' doesn't exist");

    const Respuesta sintaxis =
        pedir("INSERT INTO Alimentos (Cliente, Id, Descripcion) values ('7','1','a''),");
    QCOMPARE(sintaxis.estado, 500);
    QVERIFY2(sintaxis.cuerpo.contains("You have an error in your SQL syntax"), sintaxis.cuerpo);

    QCOMPARE(pedir(QString()).estado, 500);
    // Only one statement per request, as the script takes it.
    QCOMPARE(pedir("delete from Alimentos; delete from clientes").estado, 500);
}

void TstNremotoSim::fechasComparadasComoEnMysql() {
    QVERIFY(web_->ejecutar(
        "insert into lectura_carga_tracker (cliente, fecha, hora, receta, kg_real, Operario) values "
        "(7, '2023-12-31', '23:00', 'R0', '1', 1), (7, '2024-01-01', '08:00', 'R1', '2', 1), "
        "(7, '2024-01-15', '09:30', 'R2', '3', 2), (7, '2024-01-15', '07:00', 'R3', '4', 2), "
        "(7, '2024-02-01', '10:00', 'R4', '5', 3), (8, '2024-01-15', '10:00', 'R5', '6', 3)"));
    const QJsonArray cargas =
        filasJson("select * from lectura_carga_tracker where cliente = 7 and fecha between "
                  "'20240101' and '20240131' order by fecha, hora");
    QStringList recetas;
    for (const auto& f : cargas)
        recetas << f.toObject()["receta"].toString();
    QCOMPARE(recetas, QStringList({"R1", "R3", "R2"}));
    QCOMPARE(cargas[0].toObject()["fecha"], QJsonValue("2024-01-01"));
    QCOMPARE(cargas[0].toObject().keys(), QStringList({"Operario", "alimento", "cliente", "fecha", "hora",
                                                       "id_alim", "kg_real", "kg_sug", "receta"}));
    QVERIFY(cargas[0].toObject()["alimento"].isNull());

    // The bare number, unquoted, as the discharge request sends it.
    QVERIFY(web_->ejecutar(
        "insert into lectura_descarga_tracker values (7, '2024-01-15', '09:00', 'C1', '100', '98'), "
        "(7, '2024-01-16', '09:00', 'C2', '1', '1')"));
    const Respuesta descargas =
        pedir("select * from lectura_descarga_tracker where cliente = 7 and fecha = 20240115");
    QCOMPARE(descargas.cuerpo,
             "[{\"cliente\":\"7\",\"fecha\":\"2024-01-15\",\"hora\":\"09:00\",\"corral\":\"C1\","
             "\"kg_sug\":\"100\",\"kg_real\":\"98\"}]");
}

void TstNremotoSim::apostrofosLleganIntactos() {
    QCOMPARE(pedir("INSERT INTO Alimentos (Cliente, Id, Descripcion) values "
                   "('7','1','O\\'Higgins'),('7','2','D''Angelo'),('7','3','C:\\\\granos')")
                 .estado,
             200);
    QCOMPARE(web_->filas("select Descripcion from Alimentos order by Id"),
             QStringList({"O'Higgins", "D'Angelo", "C:\\granos"}));
    QCOMPARE(pedir("select Descripcion from Alimentos where Descripcion = 'O\\'Higgins' or Descripcion = "
                   "'D''Angelo' "
                   "order by Id")
                 .cuerpo,
             "[{\"Descripcion\":\"O'Higgins\"},{\"Descripcion\":\"D'Angelo\"}]");
}

void TstNremotoSim::acentosIdaYVuelta() {
    // Sent in a request, stored as the same letters.
    QCOMPARE(
        pedir("INSERT INTO Alimentos (Cliente, Id, Descripcion) values ('7','1','Maíz ñandú Ü €')").estado,
        200);
    QCOMPARE(web_->filas("select Descripcion from Alimentos"), QStringList({"Maíz ñandú Ü €"}));
    // Stored, answered as UTF-8, and found by a condition written with accents.
    QVERIFY(web_->ejecutar("insert into clientes values (9, 'josé', 'contraseña')"));
    const Respuesta r = pedir("select * from clientes where user = 'josé' and password = 'contraseña'");
    QCOMPARE(r.cuerpo, QString("[{\"id\":\"9\",\"user\":\"josé\",\"password\":\"contraseña\"}]").toUtf8());
}

void TstNremotoSim::textosEscapadosEnJson() {
    QVERIFY(web_->ejecutar("insert into Alimentos values (7, 1, 'dice \"hola\" \\\\ a/b\\ttab')"));
    const Respuesta r = pedir("select Descripcion from Alimentos");
    QCOMPARE(r.cuerpo, "[{\"Descripcion\":\"dice \\\"hola\\\" \\\\ a/b\\ttab\"}]");
    QCOMPARE(QJsonDocument::fromJson(r.cuerpo).array()[0].toObject()["Descripcion"],
             QJsonValue("dice \"hola\" \\ a/b\ttab"));
}

void TstNremotoSim::rutaConYSinInterrogacion() {
    QCOMPARE(pedir("select 1 as uno", "/nremoto.php").cuerpo, "[{\"uno\":\"1\"}]");
    QCOMPARE(pedir("select 1 as uno", "/nremoto.php?").cuerpo, "[{\"uno\":\"1\"}]");
    QCOMPARE(pedir("select 1 as uno", "/otro.php?").estado, 404);
    // Only GET carries a statement.
    QNetworkRequest pedido(QUrl(web_->direccion()));
    pedido.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain"));
    std::unique_ptr<QNetworkReply> post(red_.post(pedido, QByteArray("select 1")));
    QSignalSpy fin(post.get(), &QNetworkReply::finished);
    QVERIFY(fin.wait(10000));
    QVERIFY(post->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200);
    // Every request is in the log, with its status.
    QVERIFY(web_->pedidos().contains("GET /nremoto.php 200 select 1 as uno"));
}

void TstNremotoSim::textoQueNoEsUtf8SeRechaza() {
    // The same insert in Windows-1252 bytes: the server refuses it rather than storing other letters.
    QNetworkRequest pedido(QUrl(web_->direccion()));
    const QByteArray latin1 =
        QString("INSERT INTO Alimentos (Cliente, Id, Descripcion) values ('7','1','Maíz')").toLatin1();
    std::unique_ptr<QNetworkReply> r(red_.sendCustomRequest(pedido, "GET", latin1));
    QSignalSpy fin(r.get(), &QNetworkReply::finished);
    QVERIFY(fin.wait(10000));
    QCOMPARE(r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 500);
    QVERIFY2(r->readAll().contains("Incorrect string value"), "");
    QCOMPARE(web_->valor("select count(*) from Alimentos").toInt(), 0);
}

void TstNremotoSim::sentenciaGrandeLlegaEntera() {
    // All the rows of a table travel in one statement.
    QString sql =
        "INSERT INTO Prg_Carga (cliente, fecha, id_viaje, id_receta, receta, id_alim, alimento, kg, hora, "
        "base, orden, operario) values ";
    for (int i = 0; i < 5000; ++i)
        sql += QString("('7','20240115','%1','2','Engorde número %1','5','Maíz','%1,5','0','100','1','4'),")
                   .arg(i);
    sql.chop(1);
    QCOMPARE(pedir(sql).estado, 200);
    QCOMPARE(web_->filas("select count(*), count(distinct id_viaje), max(id_viaje) from Prg_Carga"),
             QStringList({"5000|5000|4999"}));
    QCOMPARE(web_->filas("select receta, kg from Prg_Carga where id_viaje = 4999"),
             QStringList({"Engorde número 4999|4999,5"}));
}

void TstNremotoSim::cuerposDeGetSeguidosNoSeMezclan() {
    // Two requests written back to back on one connection, the first announcing 100-continue: each body
    // is its own statement and is not read as the start of the next request.
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, web_->puerto());
    QVERIFY(s.waitForConnected(5000));
    auto pedido = [](const QByteArray& sql, const QByteArray& extra) {
        return "GET /nremoto.php? HTTP/1.1\r\nHost: x\r\n" + extra +
               "Content-Length: " + QByteArray::number(sql.size()) + "\r\n\r\n" + sql;
    };
    s.write(pedido("select 'a{' as uno", "Expect: 100-continue\r\n") + pedido("select 2 as dos", ""));
    QByteArray leido;
    QTRY_VERIFY_WITH_TIMEOUT((leido += s.readAll()).contains("[{\"dos\":\"2\"}]"), 10000);
    QVERIFY2(leido.contains("[{\"uno\":\"a{\"}]"), leido);
    QCOMPARE(leido.count("HTTP/1.1 200"), 2);
}

void TstNremotoSim::fallasProvocadas() {
    QVERIFY(web_->fallarCuandoContenga("INSERT INTO Operarios", 503, "[{\"id\":\"1\"}]"));
    const Respuesta r = pedir("INSERT INTO Operarios (Cliente, Id, Nick, Clave) values ('7','1','Pedro','')");
    QCOMPARE(r.estado, 503);
    QCOMPARE(r.cuerpo, "[{\"id\":\"1\"}]");
    QCOMPARE(web_->valor("select count(*) from Operarios").toInt(), 0);
    // Other statements go through.
    QCOMPARE(pedir("INSERT INTO Alimentos (Cliente, Id, Descripcion) values ('7','1','Maiz')").estado, 200);
    QVERIFY(web_->quitarFallas());
    QCOMPARE(pedir("INSERT INTO Operarios (Cliente, Id, Nick, Clave) values ('7','1','Pedro','')").estado,
             200);
    QCOMPARE(web_->filas("select * from Operarios"), QStringList({"7|1|Pedro|"}));
}

void TstNremotoSim::semillaYEscapeUnicode() {
    // A second stand-in on the same database: seeded from a file of several statements, and writing
    // non-ASCII text as \\u escapes the way PHP's encoder does by default.
    QTemporaryFile semilla;
    QVERIFY(semilla.open());
    semilla.write(QString("insert into Alimentos values (7, 1, 'Maíz/ñ 😀');\n"
                          "-- a comment\ninsert into Alimentos values (7, 2, 'a;b');\n")
                      .toUtf8());
    semilla.close();
    QProcess sim;
    sim.start(qEnvironmentVariable("TOLVARO_BIN") + "/tools/nremoto-sim/nremoto-sim",
              {"--socket", web_->socket(), "--semilla", semilla.fileName(), "--escapar-unicode"});
    QByteArray salida;
    QTRY_VERIFY_WITH_TIMEOUT((salida += sim.readAllStandardOutput()).contains('\n'), 10000);
    const auto m =
        QRegularExpression("escuchando en 127\\.0\\.0\\.1:(\\d+)").match(QString::fromUtf8(salida));
    QVERIFY2(m.hasMatch(), salida);

    QNetworkRequest pedido(QUrl("http://127.0.0.1:" + m.captured(1) + "/nremoto.php?"));
    std::unique_ptr<QNetworkReply> r(
        red_.sendCustomRequest(pedido, "GET", "select Descripcion from Alimentos order by Id"));
    QSignalSpy fin(r.get(), &QNetworkReply::finished);
    QVERIFY(fin.wait(10000));
    const QByteArray cuerpo = r->readAll();
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(cuerpo, "[{\"Descripcion\":\"Ma\\u00edz\\/\\u00f1 \\ud83d\\ude00\"},{\"Descripcion\":\"a;b\"}]");
    QCOMPARE(QJsonDocument::fromJson(cuerpo).array()[0].toObject()["Descripcion"], QJsonValue("Maíz/ñ 😀"));
}

QTEST_GUILESS_MAIN(TstNremotoSim)
#include "tst_nremotosim.moc"
