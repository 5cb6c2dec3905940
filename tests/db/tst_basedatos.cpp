// The local database: schema, first start, the calcula_kg migration, settings and Jet meanings.
#include "BaseTemporal.h"

#include "db/Ajustes.h"
#include "db/BaseDatos.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

class TstBaseDatos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void esquemaNuevoConColumnasEnOrden();
    void significadosJet();
    void archivoQueNoEsBaseNoSeToca();
    void baseAjenaNoSeUsa();
    void migracionAgregaCalculaKg();
    void leerConexion();
    void guardarAjusteConApostrofo();
    void carpetaDatos();
};

void TstBaseDatos::esquemaNuevoConColumnasEnOrden() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(QFile::exists(base.archivo()));
    const QSqlDatabase db = BaseDatos::ConexionBD();
    auto columnas = [&](const QString& tabla) {
        QStringList r;
        const QSqlRecord rec = db.record(tabla);
        for (int i = 0; i < rec.count(); ++i)
            r << rec.fieldName(i);
        return r;
    };
    QCOMPARE(columnas("recetas"), QStringList({"id", "descripcion", "calcula_kg"}));
    QCOMPARE(columnas("alimentos"), QStringList({"id", "descripcion"}));
    QCOMPARE(columnas("operarios"), QStringList({"id", "descripcion"}));
    QCOMPARE(columnas("viajes"),
             QStringList({"id", "fecha", "hora", "id_receta", "id_op", "id_alim", "cantidad", "orden"}));
    QCOMPARE(columnas("descarga"), QStringList({"id", "rodeo", "por", "orden"}));
    QCOMPARE(columnas("tipo_conexion"), QStringList({"Id", "tipo", "direccion", "usuario", "contraseña"}));
    // Both settings rows exist from the start; the counter fills itself.
    QCOMPARE(base.filas("select Id, tipo from tipo_conexion order by Id"),
             QStringList({"1|directa", "2|web"}));
    QVERIFY(base.ejecutar("insert into tipo_conexion (tipo) values ('otra')"));
    QCOMPARE(base.valor("select Id from tipo_conexion where tipo = 'otra'").toInt(), 3);
}

void TstBaseDatos::significadosJet() {
    BaseTemporal base;
    QVERIFY(base.ok());
    // A true yes/no reads back -1 whatever true value is written; a missing one reads 0.
    QVERIFY(base.ejecutar("insert into recetas values (1, 'Uno', 1)"));
    QVERIFY(base.ejecutar("insert into recetas values (2, 'Dos', true)"));
    QVERIFY(base.ejecutar("insert into recetas values (3, 'Tres', -1)"));
    QVERIFY(base.ejecutar("insert into recetas (id, descripcion) values (4, 'Cuatro')"));
    QVERIFY(base.ejecutar("insert into recetas values (5, 'Cinco', null)"));
    QSqlQuery bound(BaseDatos::ConexionBD());
    bound.prepare("insert into recetas values (?, ?, ?)");
    bound.addBindValue(6);
    bound.addBindValue("Seis");
    bound.addBindValue(true);
    QVERIFY(bound.exec());
    QCOMPARE(base.filas("select id, calcula_kg from recetas order by id"),
             QStringList({"1|-1", "2|-1", "3|-1", "4|0", "5|0", "6|-1"}));
    QVERIFY(base.ejecutar("update recetas set calcula_kg = 7 where id = 4"));
    QCOMPARE(base.valor("select calcula_kg from recetas where id = 4").toInt(), -1);
    QCOMPARE(base.valor("select count(*) from recetas where calcula_kg = -1").toInt(), 5);

    // "/" divides as floating point on the amounts.
    QVERIFY(base.ejecutar("insert into descarga values (1, 'A', 1, 1), (1, 'B', 1, 2), (1, 'C', 1, 3)"));
    QCOMPARE(base.valor("select (d.por * 100) / (select sum(por) from descarga where id = 1) from descarga d "
                        "where rodeo = 'A'")
                 .toDouble(),
             100.0 / 3);
    // Text comparison and ordering ignore case, accented letters included.
    QCOMPARE(base.valor("select count(*) from descarga where Rodeo = 'b'").toInt(), 1);
    QVERIFY(base.ejecutar("insert into alimentos values (1, 'ñandú'), (2, 'Avena'), (3, 'maíz')"));
    QCOMPARE(base.valor("select id from alimentos where descripcion = 'ÑANDÚ'").toInt(), 1);
    QCOMPARE(base.filas("select descripcion from alimentos order by descripcion"),
             QStringList({"Avena", "maíz", "ñandú"}));
    QCOMPARE(base.valor("select count(*) from tipo_conexion where tipo = 'DIRECTA'").toInt(), 1);
    // Mixed-case names, and double quotes are never string literals.
    QCOMPARE(base.valor("select count(*) from VIAJES").toInt(), 0);
    QSqlQuery q(BaseDatos::ConexionBD());
    QVERIFY(!q.exec("select \"CONTRASEÑA\" from tipo_conexion"));
}

void TstBaseDatos::archivoQueNoEsBaseNoSeToca() {
    QTemporaryDir dir;
    const QString ruta = BaseDatos::archivo(dir.path());
    const QByteArray basura(
        "esto no es una base de datos, es un texto cualquiera que ocupa bastante espacio ...");
    {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(basura);
    }
    const auto error = BaseDatos::abrir(dir.path());
    QVERIFY(error);
    QVERIFY2(error->contains(ruta), qPrintable(*error));
    QVERIFY(!BaseDatos::abierta());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), basura);
}

void TstBaseDatos::baseAjenaNoSeUsa() {
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ajena");
        db.setDatabaseName(BaseDatos::archivo(dir.path()));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("create table otra (x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("ajena");
    const auto error = BaseDatos::abrir(dir.path());
    QVERIFY(error);
    QVERIFY2(error->contains("faltan las tablas"), qPrintable(*error));
}

void TstBaseDatos::migracionAgregaCalculaKg() {
    QTemporaryDir dir;
    {
        // An older database: recipes without the load type.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "vieja");
        db.setDatabaseName(BaseDatos::archivo(dir.path()));
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const char* sql :
             {"create table recetas (id INTEGER PRIMARY KEY, descripcion TEXT)",
              "create table alimentos (id INTEGER, descripcion TEXT)",
              "create table operarios (id INTEGER, descripcion TEXT)",
              "create table viajes (id INTEGER, fecha TEXT, hora TEXT, id_receta INTEGER, "
              "id_op INTEGER, id_alim INTEGER, cantidad REAL, orden INTEGER)",
              "create table descarga (id INTEGER, rodeo TEXT, por REAL, orden INTEGER)",
              "create table tipo_conexion (Id INTEGER PRIMARY KEY AUTOINCREMENT, tipo TEXT, "
              "direccion TEXT, usuario TEXT, contraseña TEXT)",
              "insert into recetas values (1, 'Engorde Novillos'), (2, 'Recría Vaquillonas')",
              "insert into tipo_conexion (tipo, direccion) values ('directa', '192.168.1.50')"})
            QVERIFY2(q.exec(sql), sql);
        db.close();
    }
    QSqlDatabase::removeDatabase("vieja");
    QVERIFY(!BaseDatos::abrir(dir.path()));
    QVERIFY(!comprobarTablas());
    QSqlQuery q(BaseDatos::ConexionBD());
    // The tables of later versions are added on opening: the event history and the preferences.
    QVERIFY(q.exec("select count(*) from historial_sucesos where tipo = 'CARGA' and fecha = '2024-01-01'"));
    QVERIFY(q.exec("select valor from preferencias where clave = 'x'"));
    QVERIFY(q.exec("select id, calcula_kg from recetas where calcula_kg = 0 order by id"));
    QStringList filas;
    while (q.next())
        filas << q.value(0).toString() + "|" + q.value(1).toString();
    QCOMPARE(filas, QStringList({"1|0", "2|0"}));
    // The new column follows the yes/no rule too, and a second check changes nothing.
    QVERIFY(QSqlQuery(BaseDatos::ConexionBD()).exec("update recetas set calcula_kg = 1 where id = 2"));
    QVERIFY(!comprobarTablas());
    QVERIFY(q.exec("select calcula_kg from recetas where id = 2") && q.next());
    QCOMPARE(q.value(0).toInt(), -1);
    q.finish();
    BaseDatos::cerrar();
}

void TstBaseDatos::leerConexion() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(base.ejecutar("delete from tipo_conexion where tipo = 'web'"));
    QVERIFY(base.ejecutar("update tipo_conexion set direccion = '10.0.0.9' where tipo = 'directa'"));
    // What a window showing the settings keeps: the last settings read.
    AjustesConexion actual;
    const auto leer = [&](const char* tipo) {
        const LecturaConexion l = ::leerConexion(tipo);
        if (l.ajustes)
            actual = *l.ajustes;
        return l.error;
    };
    QVERIFY(!leer("directa"));
    QCOMPARE(actual.direccion, QString("10.0.0.9"));
    // A missing "web" row is added holding only its type; the settings stay as they were.
    QVERIFY(!leer("web"));
    QCOMPARE(actual.direccion, QString("10.0.0.9"));
    QCOMPARE(
        base.filas("select tipo, direccion is null, usuario is null from tipo_conexion where tipo = 'web'"),
        QStringList({"web|1|1"}));
    // Null columns read as empty text.
    QVERIFY(!leer("web"));
    QCOMPARE(actual.direccion, QString());
    QCOMPARE(actual.usuario, QString());
    QCOMPARE(actual.clave, QString());
    QVERIFY(base.ejecutar("update tipo_conexion set direccion = 'srv', usuario = 'u', contraseña = 'c' "
                          "where tipo = 'web'"));
    QVERIFY(!leer("web"));
    QCOMPARE(actual.direccion + actual.usuario + actual.clave, QString("srvuc"));
}

void TstBaseDatos::guardarAjusteConApostrofo() {
    BaseTemporal base;
    QVERIFY(base.ok());
    QVERIFY(!guardarAjuste(CampoAjuste::Clave, "web", "cl'ave"));
    QVERIFY(!guardarAjuste(CampoAjuste::Usuario, "web", "o'brien"));
    QVERIFY(!guardarAjuste(CampoAjuste::Direccion, "web", "srv:8080/x"));
    QVERIFY(!guardarAjuste(CampoAjuste::Direccion, "directa", "192.168.0.7"));
    QCOMPARE(base.filas("select tipo, direccion, usuario, contraseña from tipo_conexion order by Id"),
             QStringList({"directa|192.168.0.7||", "web|srv:8080/x|o'brien|cl'ave"}));
}

void TstBaseDatos::carpetaDatos() {
    QTemporaryDir dir;
    const QString dentro = dir.filePath("nueva/carpeta");
    QCOMPARE(BaseDatos::carpetaDatos({"tolvaro", "--datos", dentro}), dentro);
    QVERIFY(QDir(dentro).exists());
    QCOMPARE(BaseDatos::carpetaDatos({"tolvaro", "--datos=" + dentro}), dentro);
}

QTEST_GUILESS_MAIN(TstBaseDatos)
#include "tst_basedatos.moc"
