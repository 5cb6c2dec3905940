// tolvaro-cli against the web service stand-in (nremoto-sim with its own MariaDB): what the remote
// tables hold after "enviar --web", what "recibir --web" lists, and how failures end.
#include "BaseTemporal.h"
#include "CorridaCli.h"
#include "LectorLibro.h"
#include "ServicioWebPrueba.h"

#include <QDir>
#include <QJsonArray>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {

using Salida = SalidaCli;

} // namespace

class TstNremoto : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ServicioWebPrueba> web_;
    std::unique_ptr<BaseTemporal> base_;

    Salida cli(QStringList args, const QString& servidor = {}, bool agregarServidor = true) {
        if (agregarServidor && !args.contains(QStringLiteral("--servidor")))
            args << QStringLiteral("--servidor") << (servidor.isEmpty() ? web_->servidor() : servidor);
        // A comma as decimal separator, as on the farm's machines.
        return correrCli(args, CorridaCli(base_->carpeta()).regional().espera(90000));
    }

    static QStringList credenciales(const QString& clave = QStringLiteral("cl'a\\ve")) {
        return {QStringLiteral("--usuario"), QStringLiteral("juan"), QStringLiteral("--clave"), clave};
    }

    static quint16 puertoLibre() {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost);
        return s.serverPort(); // closed when `s` goes: nobody listens there
    }

private Q_SLOTS:
    void initTestCase() {
        web_ = std::make_unique<ServicioWebPrueba>();
        if (web_->faltaMariaDb())
            QSKIP(qPrintable(web_->error()));
        QVERIFY2(web_->ok(), qPrintable(web_->error()));
        // The password holds an apostrophe and a backslash: the login must still find it.
        QVERIFY(web_->ejecutar(QStringLiteral("insert into clientes values (7, 'juan', 'cl''a\\\\ve')")));
        QVERIFY(web_->ejecutar(QStringLiteral("insert into clientes values (8, 'otro', 'x')")));
    }

    void init() {
        base_ = std::make_unique<BaseTemporal>();
        QVERIFY(base_->ok());
        for (const char* t : {"Prg_Carga", "Prg_Descarga", "Prg_Viajes", "Operarios", "Alimentos",
                              "lectura_carga_tracker", "lectura_descarga_tracker"})
            QVERIFY(web_->ejecutar(QStringLiteral("delete from ") + QLatin1String(t)));
    }
    void cleanup() { base_.reset(); }

    void enviarLlenaLasTablasRemotas() {
        for (const char* sql :
             {"insert into recetas values (2, 'Engorde', 0)", "insert into recetas values (3, 'Pct', -1)",
              "insert into alimentos values (5, 'Maiz')", "insert into alimentos values (6, 'D''Angelo')",
              "insert into alimentos values (8, 'Back\\slash')", "insert into operarios values (4, 'Juan')",
              "insert into operarios values (9, 'O''Brien')",
              "insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 1200, 1)",
              "insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 6, 12.5, 2)",
              "insert into viajes values (4, '2024-01-16', '09:00', 3, 9, 5, 60, 1)",
              "insert into viajes values (4, '2024-01-16', '09:00', 3, 9, 8, 40, 2)",
              "insert into descarga values (3, '9', 40, 1)", "insert into descarga values (3, 'C''1', 60, 2)",
              "insert into descarga values (4, 'A', 1000, 1)",
              "insert into descarga values (4, 'B', 7000, 2)"})
            QVERIFY(base_->ejecutar(QString::fromUtf8(sql)));
        // The account's old programme goes; another account's stays.
        QVERIFY(web_->ejecutar(
            QStringLiteral("insert into Prg_Carga (cliente, receta) values (7, 'vieja'), (8, 'ajena')")));
        QVERIFY(web_->ejecutar(QStringLiteral("insert into Prg_Viajes (Cliente) values (7), (8)")));

        const qsizetype antes = web_->pedidos().size();
        const Salida s = cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales());
        QCOMPARE(s.codigo, 0);
        QCOMPARE(s.salida.trimmed(), QStringLiteral("Se envió correctamente la informacion al servidor"));

        QCOMPARE(web_->filas(
                     QStringLiteral("select cliente, fecha, id_viaje, id_receta, receta, id_alim, alimento, "
                                    "kg, hora, base, orden, operario from Prg_Carga where cliente = 7 "
                                    "order by id_viaje, orden")),
                 QStringList({u"7|2024-01-15|3|2|Engorde|5|Maiz|1200|0|100|1|4"_qs,
                              u"7|2024-01-15|3|2|Engorde|6|D'Angelo|12,5|0|100|2|4"_qs,
                              u"7|2024-01-16|4|3|Pct|5|Maiz|4800|0|100|1|9"_qs,
                              u"7|2024-01-16|4|3|Pct|8|Back\\slash|3200|0|100|2|9"_qs}));
        QCOMPARE(web_->filas(QStringLiteral("select receta from Prg_Carga where cliente = 8")),
                 QStringList{QStringLiteral("ajena")});
        QCOMPARE(web_->filas(QStringLiteral("select Cliente from Prg_Viajes")),
                 QStringList{QStringLiteral("8")});
        QCOMPARE(web_->filas(QStringLiteral("select Cliente, Id, Nick, Clave from Operarios order by Id")),
                 QStringList({u"7|4|Juan|"_qs, u"7|9|O'Brien|"_qs}));
        QCOMPARE(web_->filas(QStringLiteral("select Cliente, Id, Descripcion from Alimentos order by Id")),
                 QStringList({u"7|5|Maiz"_qs, u"7|6|D'Angelo"_qs, u"7|8|Back\\slash"_qs}));
        QCOMPARE(web_->filas(
                     QStringLiteral("select cliente, fecha, id_viaje, id_receta, corral, porc, hora, base, "
                                    "orden from Prg_Descarga order by id_viaje, orden")),
                 QStringList({u"7|2024-01-15|3|2|9|40|0|0|1"_qs, u"7|2024-01-15|3|2|C'1|60|0|0|2"_qs,
                              u"7|2024-01-16|4|3|A|12.5|0|0|1"_qs, u"7|2024-01-16|4|3|B|87.5|0|0|2"_qs}));

        // Probe, login, five deletes, four inserts; the rows read last come first.
        const QStringList pedidos = web_->pedidos().mid(antes);
        QCOMPARE(pedidos.size(), 11);
        QVERIFY(
            pedidos.at(0).endsWith(QStringLiteral("SELECT distinct curdate() FROM clientes where id <> 0 ")));
        QVERIFY(pedidos.at(6).endsWith(QStringLiteral("delete from Prg_Descarga where cliente = 7")));
        QVERIFY(
            pedidos.at(7).contains(QStringLiteral("values ('7','20240116','4','3','Pct','8','Back\\\\slash',"
                                                  "'3200','0','100','2','9'),('7','20240116'")));
    }

    void enviarSinPlanInformaExito() {
        const Salida s = cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales());
        QCOMPARE(s.codigo, 0);
        QCOMPARE(web_->valor(QStringLiteral("select count(*) from Prg_Carga")).toInt(), 0);
    }

    void enviarConLosDatosGuardados() {
        QVERIFY(base_->ejecutar(u"update tipo_conexion set direccion = '"_qs + web_->servidor() +
                                u"', usuario = 'juan', \"contraseña\" = 'cl''a\\ve' where tipo = 'web'"_qs));
        const Salida s = cli({QStringLiteral("enviar"), QStringLiteral("--web")}, {}, false);
        QCOMPARE(s.codigo, 0);
        QCOMPARE(s.salida.trimmed(), QStringLiteral("Se envió correctamente la informacion al servidor"));
    }

    void insercionRechazada() {
        QVERIFY(base_->ejecutar(QStringLiteral("insert into operarios values (4, 'Juan')")));
        QVERIFY(web_->ejecutar(QStringLiteral("drop table Operarios")));
        const Salida s = cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales());
        QVERIFY(web_->ejecutar(QStringLiteral("create table Operarios (Cliente INT, Id INT, Nick TEXT, "
                                              "Clave TEXT) DEFAULT CHARSET = utf8mb4")));
        QCOMPARE(s.codigo, 1);
        QCOMPARE(s.errores.trimmed(), QStringLiteral("ERROR en operarios\nRespuesta del servidor: HTTP 500: "
                                                     "Table 'tolvaro.Operarios' doesn't exist"));
    }

    void nombresLargosYRazonDelServidor() {
        // Names as long as the editors take arrive whole.
        const QString largo = QString(290, u'n') + QStringLiteral("ñandú-fin");
        for (const QString& sql :
             {u"insert into recetas values (2, '%1', 0)"_qs, u"insert into alimentos values (5, '%1')"_qs,
              u"insert into operarios values (4, '%1')"_qs,
              u"insert into viajes values (3, '2024-01-15', '08:00', 2, 4, 5, 1200, 1)"_qs,
              u"insert into descarga values (3, '%1', 100, 1)"_qs})
            QVERIFY(base_->ejecutar(sql.contains(u"%1") ? sql.arg(largo) : sql));
        // A statement the server refuses: its first line as always, the server's reason under it.
        QVERIFY(web_->fallarCuandoContenga(u"INSERT INTO Prg_Carga"_qs, 500,
                                           u"Data too long for column 'receta' at row 1"_qs));
        const Salida r = cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales());
        QVERIFY(web_->quitarFallas());
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.errores.trimmed(),
                 u"ERROR Carga Formula\nRespuesta del servidor: HTTP 500: Data too long for "
                 "column 'receta' at row 1"_qs);

        const Salida s = cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales());
        QVERIFY2(s.codigo == 0, qPrintable(s.errores));
        QCOMPARE(web_->filas(u"select receta, alimento from Prg_Carga where cliente = 7"_qs),
                 QStringList{largo + u'|' + largo});
        QCOMPARE(web_->filas(u"select corral from Prg_Descarga"_qs), QStringList{largo});
        QCOMPARE(web_->filas(u"select Nick from Operarios"_qs), QStringList{largo});
        QCOMPARE(web_->filas(u"select Descripcion from Alimentos"_qs), QStringList{largo});
    }

    void recibirListaPorFecha() {
        QVERIFY(base_->ejecutar(QStringLiteral("insert into operarios values (4, 'Juan')")));
        QVERIFY(web_->ejecutar(QStringLiteral(
            "insert into lectura_carga_tracker (cliente, fecha, hora, receta, id_alim, alimento, kg_real, "
            "Operario, "
            "kg_sug) values (7, '2024-01-15', '08:00', 'Engorde', 5, 'Maiz', '100', 4, '110'), "
            "(7, '2024-01-15', '08:00', 'Engorde', 5, 'Maiz', '100', 4, '110'), "
            "(7, '2024-01-15', '09:00', 'Engorde', 6, 'Soja', '50,5', 77, '50'), "
            "(7, '2024-01-16', '07:00', 'Recria', 5, 'Maiz', '20', 4, '20'), "
            "(8, '2024-01-15', '07:00', 'Ajena', 5, 'Maiz', '1', 4, '1')")));
        QVERIFY(web_->ejecutar(QStringLiteral(
            "insert into lectura_descarga_tracker (cliente, fecha, hora, corral, kg_sug, kg_real) values "
            "(7, '2024-01-15', '10:00', 'C1', '150', '149'), (7, '2024-01-16', '08:00', 'C2', '20', '21'), "
            "(7, '2024-01-17', '08:00', 'C3', '1', '1'), (8, '2024-01-15', '08:00', 'Ajeno', '1', '1')")));
        const QString csv = base_->carpeta() + QStringLiteral("/sucesos.csv");
        const QString xlsx = base_->carpeta() + QStringLiteral("/sucesos.xlsx");
        const qsizetype antes = web_->pedidos().size();
        const Salida s = cli(QStringList{QStringLiteral("recibir"), QStringLiteral("--web"),
                                         QStringLiteral("--desde"), QStringLiteral("2024-01-01"),
                                         QStringLiteral("--hasta"), QStringLiteral("2024-01-31"),
                                         QStringLiteral("--csv"), csv, QStringLiteral("--xlsx"), xlsx} +
                             credenciales());
        QCOMPARE(s.codigo, 0);
        QVERIFY(s.salida.isEmpty());
        // The workbook holds the same rows, typed: the server's "50,5" is a number, its
        // "2024-01-15" stays the text it is.
        const QJsonArray libro = LectorLibro::leer(xlsx)[QStringLiteral("filas")].toArray();
        QCOMPARE(libro.size(), 6);
        QCOMPARE(libro[1][1][QStringLiteral("valor")].toString(), QStringLiteral("2024-01-15"));
        QCOMPARE(libro[1][2][QStringLiteral("tipo")].toString(), QStringLiteral("hora"));
        QCOMPARE(libro[2][6][QStringLiteral("valor")].toDouble(), 50.5);
        QVERIFY(libro[3][4].isNull());
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lineas =
            QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lineas.mid(1),
                 QStringList({u"CARGA,2024-01-15,08:00,Engorde,Maiz,110,100,Juan"_qs,
                              u"CARGA,2024-01-15,09:00,Engorde,Soja,50,\"50,5\",77 inexistente"_qs,
                              u"DESCARGA,2024-01-15,10:00,C1,,150,149,"_qs,
                              u"CARGA,2024-01-16,07:00,Recria,Maiz,20,20,Juan"_qs,
                              u"DESCARGA,2024-01-16,08:00,C2,,20,21,"_qs}));
        const QStringList pedidos = web_->pedidos().mid(antes);
        QVERIFY(pedidos.at(2).endsWith(
            QStringLiteral("select * from lectura_carga_tracker where cliente = 7 and "
                           "fecha between '20240101' and '20240131' order by fecha, hora")));
        QVERIFY(pedidos.at(3).endsWith(
            QStringLiteral("select * from lectura_descarga_tracker where cliente = 7 and fecha = 20240115")));
        QCOMPARE(pedidos.size(), 5);
    }

    void recibirConFilasIlegibles() {
        // A null amount on the server: that row is reported and left out, the others are written,
        // and the exit code says the download was not whole.
        QVERIFY(web_->ejecutar(QStringLiteral(
            "insert into lectura_carga_tracker (cliente, fecha, hora, receta, id_alim, alimento, kg_real, "
            "Operario, kg_sug) values (7, '2024-01-15', '08:00', 'Engorde', 5, 'Maiz', null, 4, '110'), "
            "(7, '2024-01-15', '09:00', 'Engorde', 6, 'Soja', '50', 4, '50')")));
        const QString csv = base_->carpeta() + QStringLiteral("/sucesos.csv");
        const Salida s =
            cli(QStringList{QStringLiteral("recibir"), QStringLiteral("--web"), QStringLiteral("--desde"),
                            QStringLiteral("2024-01-01"), QStringLiteral("--hasta"),
                            QStringLiteral("2024-01-31"), QStringLiteral("--csv"), csv} +
                credenciales());
        QCOMPARE(s.codigo, 1);
        QCOMPARE(s.errores.trimmed(),
                 u"Error 94 (Uso no válido de Null) en procedimiento Recibir_web de Formulario "
                 "Form1\nSe listó 1 fila; 1 registro no se pudo leer"_qs);
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1),
                 QStringList{u"CARGA,2024-01-15,09:00,Engorde,Soja,50,50,4 inexistente"_qs});
    }

    void recibirRangoVacio() {
        QVERIFY(
            web_->ejecutar(QStringLiteral("insert into lectura_carga_tracker (cliente, fecha, hora) values "
                                          "(7, '2024-01-15', '08:00')")));
        const Salida s = cli(QStringList{QStringLiteral("recibir"), QStringLiteral("--web"),
                                         QStringLiteral("--desde"), QStringLiteral("2024-02-01"),
                                         QStringLiteral("--hasta"), QStringLiteral("2024-01-01")} +
                             credenciales());
        QCOMPARE(s.codigo, 0);
        QCOMPARE(s.errores.trimmed(), QStringLiteral("No existen datos a mostrar"));
        QCOMPARE(s.salida.trimmed(),
                 QStringLiteral("TIPO DE SUCESO,FECHA,HORA,RECETA/CORRAL,ALIMENTO,SUGERIDO,REAL,OPERARIO"));
    }

    void ingresoIncorrecto() {
        const Salida e =
            cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales(u"mala"_qs));
        QCOMPARE(e.codigo, 1);
        QCOMPARE(e.errores.trimmed(),
                 QStringLiteral("Los datos de usuario o password remotos, no son correctos\n"
                                "Respuesta del servidor: HTTP 200: []"));
        const Salida r = cli(
            QStringList{QStringLiteral("recibir"), QStringLiteral("--web"), QStringLiteral("--desde"),
                        QStringLiteral("2024-01-01"), QStringLiteral("--hasta"), QStringLiteral("2024-01-31"),
                        QStringLiteral("--xlsx"), base_->carpeta() + QStringLiteral("/x.xlsx")} +
            credenciales(u"' or ''='"_qs));
        QCOMPARE(r.codigo, 1);
        QVERIFY(!QFile::exists(base_->carpeta() + QStringLiteral("/x.xlsx")));
        QCOMPARE(r.errores.trimmed(),
                 QStringLiteral("Los datos de usuario o password remotos, no son correctos\n"
                                "Respuesta del servidor: HTTP 200: []"));
        QVERIFY(r.salida.isEmpty());
    }

    void servidorCaido() {
        const QString nadie = QStringLiteral("127.0.0.1:") + QString::number(puertoLibre());
        const Salida e =
            cli(QStringList{QStringLiteral("enviar"), QStringLiteral("--web")} + credenciales(), nadie);
        QCOMPARE(e.codigo, 1);
        QCOMPARE(e.errores.trimmed(),
                 QStringLiteral("Error 1 (El servidor rechazó la conexión) en procedimiento "
                                "Conexion_Web de Formulario FrmPrincipal"));
        QVERIFY(e.ms < 30000);
        const Salida r = cli(QStringList{QStringLiteral("recibir"), QStringLiteral("--web"),
                                         QStringLiteral("--desde"), QStringLiteral("2024-01-01"),
                                         QStringLiteral("--hasta"), QStringLiteral("2024-01-31")} +
                                 credenciales(),
                             nadie);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.errores.trimmed(),
                 QStringLiteral("Error 1 (El servidor rechazó la conexión) en procedimiento "
                                "Recibir_web de Formulario Form1"));
    }

    void erroresDeUso() {
        QCOMPARE(cli({QStringLiteral("recibir"), QStringLiteral("--web"), QStringLiteral("--desde"),
                      QStringLiteral("2024-13-01"), QStringLiteral("--hasta"), QStringLiteral("2024-01-31")})
                     .codigo,
                 2);
        QCOMPARE(cli({QStringLiteral("enviar"), QStringLiteral("--web"), QStringLiteral("--nada")}).codigo,
                 2);
        QCOMPARE(cli({QStringLiteral("enviar"), QStringLiteral("--web"), QStringLiteral("--usuario")}).codigo,
                 2);
        const Salida ayuda = cli({QStringLiteral("recibir"), QStringLiteral("--help")});
        QCOMPARE(ayuda.codigo, 0);
        QVERIFY(ayuda.salida.contains(QStringLiteral("--web")));
    }
};

QTEST_GUILESS_MAIN(TstNremoto)
#include "tst_nremoto.moc"
