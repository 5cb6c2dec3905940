// Import of a farm's Access database: the legacy files row by row, every kind of bad input (each
// leaving nothing written), the value mappings, and the programme the imported plan then sends.
#include "BaseTemporal.h"

#include "access/ImportacionAccess.h"
#include "access/LecturaAislada.h"
#include "access/ValoresAccess.h"
#include "db/BaseDatos.h"
#include "link/ProgramaDirecto.h"
#include "web/TuplasWeb.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <thread>

namespace {

QString legado(const QString& nombre) {
    return QDir(qEnvironmentVariable("TOLVARO_SOURCE"))
        .filePath(QStringLiteral("tests/fixtures/legacy/") + nombre);
}

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool guardar(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(datos) == datos.size();
}

// Every row of our six tables in a database file, "tabla: v1|v2|...", with the storage class of
// each amount, NULL for a null and every digit of a REAL.
QStringList volcar(const QString& archivo) {
    static const char* const consultas[] = {
        "select 'recetas', id, descripcion, calcula_kg, typeof(calcula_kg) from recetas order by rowid",
        "select 'alimentos', * from alimentos order by rowid",
        "select 'operarios', * from operarios order by rowid",
        "select 'viajes', id, fecha, hora, id_receta, id_op, id_alim, typeof(cantidad), cantidad, orden "
        "from viajes order by rowid",
        "select 'descarga', id, rodeo, typeof(por), por, orden from descarga order by rowid",
        "select 'tipo_conexion', * from tipo_conexion order by Id",
    };
    QStringList r;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("volcado"));
        db.setDatabaseName(archivo);
        if (db.open()) {
            for (const char* sql : consultas) {
                QSqlQuery q(db);
                if (!q.exec(QString::fromUtf8(sql)))
                    r << q.lastError().text();
                while (q.next()) {
                    QStringList c;
                    for (int i = 1; i < q.record().count(); ++i) {
                        const QVariant v = q.value(i);
                        c << (v.isNull()                        ? QStringLiteral("NULL")
                              : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                                : v.toString());
                    }
                    r << q.value(0).toString() + QStringLiteral(": ") + c.join(u'|');
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("volcado"));
    return r;
}

const QStringList kCatalogos = {
    "alimentos: 1|Maíz Partido",   "alimentos: 2|Silo De Maíz",    "alimentos: 3|Expeller De Soja",
    "alimentos: 4|Núcleo Mineral", "alimentos: 5|Heno De Alfalfa", "operarios: 1|José Peña",
    "operarios: 2|Martín Ibáñez",
};
const QStringList kViaje1 = {
    "viajes: 1|2026-12-07|06:30|1|1|1|real|1500|1",
    "viajes: 1|2026-12-07|06:30|1|1|2|real|2800.5|2",
    "viajes: 1|2026-12-07|06:30|1|1|3|real|420|3",
};
const QStringList kDescarga1 = {"descarga: 1|Corral 1|real|40|1", "descarga: 1|Corral 2|real|60|2"};

// Jet 4 layout, for damaging a copy of a fixture where it hurts.
constexpr int kPagina = 4096;
int paginaDe(const QByteArray& d, char tipo, const QString& contiene) {
    const QByteArray buscado(reinterpret_cast<const char*>(contiene.utf16()), contiene.size() * 2);
    for (int p = 0; p * kPagina < d.size(); ++p)
        if (d.at(p * kPagina) == tipo && d.mid(p * kPagina, kPagina).contains(buscado))
            return p;
    return -1;
}
int paginaDeDatos(const QByteArray& d, int definicion) {
    for (int p = 0; p * kPagina < d.size(); ++p)
        if (d.at(p * kPagina) == 1 &&
            qFromLittleEndian<quint32>(d.constData() + p * kPagina + 4) == quint32(definicion))
            return p;
    return -1;
}
QByteArray ceros(QByteArray d, int pagina) {
    d.replace(pagina * kPagina, kPagina, QByteArray(kPagina, '\0'));
    return d;
}
QByteArray invertido(QByteArray d, int posicion) {
    d[posicion] = char(~d.at(posicion));
    return d;
}
// viajes.cantidad declared as Text (type 10) in the table definition.
QByteArray cantidadDeTexto(QByteArray d) {
    const int p = paginaDe(d, 2, QStringLiteral("cantidad")) * kPagina;
    const int columnas = qFromLittleEndian<quint16>(d.constData() + p + 45);
    const int indices = int(qFromLittleEndian<quint32>(d.constData() + p + 51));
    for (int i = 0; i < columnas; ++i) {
        const int c = p + 63 + indices * 12 + i * 25;
        if (d.at(c) == 7)
            d[c] = 10;
    }
    return d;
}
// A column entry of a table definition (the page holding `columna`), changed by `cambiar`.
template <typename F> QByteArray conColumna(QByteArray d, const QString& columna, int tipo, F cambiar) {
    const int p = paginaDe(d, 2, columna) * kPagina;
    const int columnas = qFromLittleEndian<quint16>(d.constData() + p + 45);
    const int indices = int(qFromLittleEndian<quint32>(d.constData() + p + 51));
    for (int i = 0; i < columnas; ++i) {
        const int c = p + 63 + indices * 12 + i * 25;
        if (d.at(c) == tipo)
            cambiar(d, c);
    }
    return d;
}
QByteArray ucs2(const QString& t) {
    return QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
}
// One name changed in one page only (the catalogue's, or a table's definition).
QByteArray renombrado(QByteArray d, int pagina, const QString& nombre) {
    const int i = int(d.indexOf(ucs2(nombre), qsizetype(pagina) * kPagina));
    if (i >= 0 && i < (pagina + 1) * kPagina)
        d[i + 2] = 'z';
    return d;
}

// The same file with none of our tables: their names changed in the catalogue.
QByteArray sinNuestrasTablas(QByteArray d) {
    for (const QString t : {"recetas", "alimentos", "operarios", "viajes", "descarga", "tipo_conexion"}) {
        const QByteArray nombre(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
        QByteArray otro = nombre;
        otro[0] = 'x';
        d.replace(nombre, otro);
    }
    return d;
}
QByteArray baseSqlite(const QString& carpeta) {
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("otra.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sqlite"));
        db.setDatabaseName(ruta);
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("create table recetas (id integer)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sqlite"));
    return contenido(ruta);
}

} // namespace

class TstImportacionAccess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void archivosDelLegado_data();
    void archivosDelLegado();
    void valoresExtremosDeUnArchivo();
    void reemplazoGuardaAnterior();
    void entradaMalaNoEscribeNada_data();
    void entradaMalaNoEscribeNada();
    void cancelarNoEscribeNada();
    void parcialListaLoQueQuedaFuera();
    void conservaLasTablasPropias();
    void enHilosJuntoALaConexionCompartida();
    void fechas_data();
    void fechas();
    void conversiones();
    void programaIgualAlTipeado();
};

void TstImportacionAccess::archivosDelLegado_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<QStringList>("filas");
    QTest::addColumn<QString>("resumen");

    QStringList actual = {"recetas: 1|Engorde Novillos|0|integer", "recetas: 2|Recría Vaquillonas|-1|integer",
                          "recetas: 3|Tambo Alta Producción|0|integer"};
    actual << kCatalogos << kViaje1
           << QStringList{"viajes: 2|2026-12-08|07:15|2|2|2|real|60|1",
                          "viajes: 2|2026-12-08|07:15|2|2|5|real|35|2",
                          "viajes: 2|2026-12-08|07:15|2|2|4|real|5|3"}
           << kDescarga1
           << QStringList{"descarga: 2|Vaquillonas Ñ|real|1800|1", "descarga: 2|Lote 4|real|1200|2",
                          "tipo_conexion: 1|directa|192.168.1.50|NULL|NULL",
                          "tipo_conexion: 2|web|feed.example.net|estancia|cl'ave"};
    QTest::newRow("base.mdb")
        << "base.mdb" << actual
        << "Se importó base.mdb: 3 recetas, 5 alimentos, 2 operarios, 6 filas de viajes, 4 de "
           "descarga y la configuración de conexión.";

    // Without calcula_kg every recipe is a kilogram recipe; the missing "web" row is created empty.
    QStringList antigua = {"recetas: 1|Engorde Novillos|0|integer",
                           "recetas: 2|Recría Vaquillonas|0|integer"};
    antigua << kCatalogos << kViaje1 << kDescarga1
            << QStringList{"tipo_conexion: 1|directa|192.168.1.50|NULL|NULL",
                           "tipo_conexion: 2|web|NULL|NULL|NULL"};
    QTest::newRow("base-antigua.mdb")
        << "base-antigua.mdb" << antigua
        << "Se importó base-antigua.mdb: 2 recetas, 5 alimentos, 2 operarios, 3 filas de viajes, 2 de "
           "descarga y la "
           "configuración de conexión. Faltaban en el archivo: columna recetas.calcula_kg.";
}

void TstImportacionAccess::archivosDelLegado() {
    QFETCH(QString, archivo);
    QFETCH(QStringList, filas);
    QFETCH(QString, resumen);
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("base.db"));
    ResumenImportacion r;
    QString error;
    QVERIFY2(ImportacionAccess::importar(legado(archivo), destino, &r, &error), qPrintable(error));
    QCOMPARE(volcar(destino), filas);
    QCOMPARE(r.texto(archivo), resumen);
    // Only the database: no temporary or previous file beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"base.db"});
    // It opens as this program's database, and a new recipe still gets -1 as true.
    QVERIFY(!BaseDatos::abrir(dir.path()));
    QSqlQuery q(BaseDatos::ConexionBD());
    QVERIFY(q.exec("insert into recetas values (9, 'Nueva', 1)"));
    QVERIFY(q.exec("select calcula_kg from recetas where id = 9") && q.next());
    QCOMPARE(q.value(0).toInt(), -1);
    q.finish();
    BaseDatos::cerrar();
}

// The fixture with other values written over its own: every digit of a Double, dates of 1999 and
// 2038, a text with every character that quoting could break.
void TstImportacionAccess::valoresExtremosDeUnArchivo() {
    const auto doble = [](double v) {
        QByteArray b(8, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    const auto ucs2 = [](const QString& t) {
        return QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
    };
    QByteArray d = contenido(legado("base.mdb"));
    const double tercio = 1.0 / 3;
    QCOMPARE(d.count(doble(2800.5)), 1);
    d.replace(doble(2800.5), doble(tercio));
    d.replace(doble(46363.0), doble(36525.0)); // trip 1: 1999-12-31
    d.replace(doble(46364.0), doble(50424.0)); // trip 2: 2038-01-19
    const QString raro = QStringLiteral("a'b\"c\\dñ");
    QCOMPARE(raro.size(), 8);
    d.replace(ucs2("estancia"), ucs2(raro));
    // A comma, which the tablet takes for the end of a value, in a feed's name.
    QCOMPARE(d.count(ucs2("Maíz Partido")), 1);
    d.replace(ucs2("Maíz Partido"), ucs2("Maíz,Partido"));
    QTemporaryDir dir;
    const QString mdb = dir.filePath("raro.mdb");
    QVERIFY(guardar(mdb, d));
    QString error;
    ResumenImportacion resumen;
    QVERIFY2(ImportacionAccess::importar(mdb, dir.filePath("base.db"), &resumen, &error), qPrintable(error));
    const QStringList filas = volcar(dir.filePath("base.db"));
    QVERIFY(filas.contains("alimentos: 1|Maíz Partido"));
    QCOMPARE(resumen.sinComa, QStringList{"alimentos 1 (Maíz,Partido)"});
    QVERIFY(resumen.texto(mdb).endsWith(" se cambió por un espacio la coma de: alimentos 1 (Maíz,Partido)."));
    QVERIFY(
        filas.contains("viajes: 1|1999-12-31|06:30|1|1|2|real|" + QString::number(tercio, 'g', 17) + "|2"));
    QVERIFY(filas.contains("viajes: 2|2038-01-19|07:15|2|2|5|real|35|2"));
    QVERIFY(filas.contains("tipo_conexion: 2|web|feed.example.net|" + raro + "|cl'ave"));
}

void TstImportacionAccess::reemplazoGuardaAnterior() {
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("base.db"));
    QVERIFY(ImportacionAccess::importar(legado("base-antigua.mdb"), destino, nullptr, nullptr));
    const QByteArray antes = contenido(destino);
    QVERIFY(ImportacionAccess::importar(legado("base.mdb"), destino, nullptr, nullptr, true));
    QCOMPARE(contenido(destino + ".anterior"), antes);
    QCOMPARE(volcar(destino).size(), 22);
}

void TstImportacionAccess::entradaMalaNoEscribeNada_data() {
    QTest::addColumn<QByteArray>("datos");
    QTest::addColumn<QString>("motivo");
    static QTemporaryDir trabajo;
    const QByteArray base = contenido(legado("base.mdb"));
    QVERIFY(base.size() == 48 * kPagina);
    const int viajes = paginaDe(base, 2, QStringLiteral("cantidad"));
    const int descarga = paginaDe(base, 2, QStringLiteral("rodeo"));
    QVERIFY(viajes > 0 && descarga > 0);

    // Damaged files go through the isolated reader first: the build must have put it within reach.
    QVERIFY(!LecturaAislada::programa().isEmpty());
    QTest::newRow("vacío") << QByteArray() << "el archivo está vacío";
    QTest::newRow("texto") << QByteArray("id,descripcion\r\n1,\"Maíz\"\r\n") << "no es un archivo de Access";
    QTest::newRow("sqlite") << baseSqlite(trabajo.path()) << "es una base de datos SQLite";
    QTest::newRow("ceros") << QByteArray(base.size(), '\0') << "solo contiene ceros";
    QTest::newRow("cortado en una página") << base.left(base.size() - 1000) << "incompleto o dañado";
    QTest::newRow("cortado a la mitad") << base.left(base.size() / 2) << "dañado";
    QTest::newRow("cortada la última página") << base.left(base.size() - kPagina) << "dañado";
    QTest::newRow("firma alterada") << invertido(base, 6) << "no es un archivo de Access";
    QTest::newRow("versión alterada") << invertido(base, 0x14) << "versión desconocida";
    QTest::newRow("tipo de página de datos alterado")
        << invertido(base, paginaDeDatos(base, viajes) * kPagina) << "la tabla viajes declara 6 filas";
    QTest::newRow("filas de una página alteradas")
        << invertido(base, paginaDeDatos(base, descarga) * kPagina + 12) << "descarga";
    QTest::newRow("página de datos en ceros")
        << ceros(base, paginaDeDatos(base, descarga)) << "descarga declara 4";
    QTest::newRow("definición en ceros") << ceros(base, viajes) << "definición de la tabla viajes";
    QTest::newRow("catálogo en ceros")
        << ceros(base, paginaDeDatos(base, 2)) << "la lista de tablas está incompleta";
    // A usage map that libmdb follows into the null page: it would bring the whole program down.
    // (Under Wine, where the tests of the Windows build run, the null page reads as zeros and
    // the file reads whole.)
#ifndef _WIN32
    QTest::newRow("mapa de páginas del catálogo perdido") << [&] {
        QByteArray d = base;
        d[2 * kPagina + 55] = char(0xff);
        return d;
    }() << "el archivo está dañado (no se puede leer sin riesgo)";
#endif
    QTest::newRow("sin nuestras tablas")
        << sinNuestrasTablas(base) << "no tiene ninguna de las tablas de Tolvaro";
    QTest::newRow("texto en cantidad")
        << cantidadDeTexto(base) << "viajes.cantidad es de tipo Texto y debe guardar un número";
    // Damage that libmdb reads without a word, each once a silent loss of data.
    QTest::newRow("tabla perdida en el catálogo")
        << renombrado(base, paginaDeDatos(base, 2), "recetas") << "falta la tabla recetas";
    QTest::newRow("columna perdida en la definición")
        << renombrado(base, viajes, "cantidad") << "a la tabla viajes le falta la columna cantidad";
    QTest::newRow("columna fuera de las filas")
        << conColumna(base, "cantidad", 7, [](QByteArray& d, int c) { d[c + 5] = char(40); })
        << "la fila 1 de viajes no tiene la columna cantidad); se leyeron 1 de las 6 filas que declara";
    QTest::newRow("valor corrido de su lugar") // the fixed offset of orden, the last column, plus one
        <<
        [&] {
            QByteArray d = base;
            d[viajes * kPagina + 63 + 7 * 25 + 21] = char(d.at(viajes * kPagina + 63 + 7 * 25 + 21) ^ 1);
            return d;
        }()
        << "el valor de viajes.orden en la fila 1";
    QTest::newRow("texto leído como memo")
        << conColumna(base, "cantidad", 10, [](QByteArray& d, int c) { d[c] = 12; })
        << "un texto de viajes.hora en la fila 1 no se puede leer";
}

void TstImportacionAccess::entradaMalaNoEscribeNada() {
    QFETCH(QByteArray, datos);
    QFETCH(QString, motivo);
    QTemporaryDir origen;
    const QString mdb = origen.filePath(QStringLiteral("Base.mdb"));
    QVERIFY(guardar(mdb, datos));
    // Once onto no database, once onto one that must stay as it was.
    for (const bool existente : {false, true}) {
        QTemporaryDir dir;
        const QString destino = dir.filePath(QStringLiteral("base.db"));
        if (existente)
            QVERIFY(guardar(destino, "anterior"));
        ResumenImportacion r;
        QString error;
        QVERIFY(!ImportacionAccess::importar(mdb, destino, &r, &error, true));
        QVERIFY2(
            error.startsWith(QStringLiteral("No se puede importar %1: ").arg(QDir::toNativeSeparators(mdb))),
            qPrintable(error));
        QVERIFY2(error.contains(motivo), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 existente ? QStringList{"base.db"} : QStringList());
        if (existente)
            QCOMPARE(contenido(destino), QByteArray("anterior"));
    }
    QCOMPARE(contenido(mdb), datos);
}

void TstImportacionAccess::cancelarNoEscribeNada() {
    QTemporaryDir dir;
    const std::atomic_bool cancelar{true};
    QString error;
    QVERIFY(!ImportacionAccess::importar(legado("base.mdb"), dir.filePath("base.db"), nullptr, &error, false,
                                         &cancelar));
    QVERIFY2(error.contains("se canceló"), qPrintable(error));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TstImportacionAccess::parcialListaLoQueQuedaFuera() {
    const QByteArray base = contenido(legado("base.mdb"));
    QTemporaryDir dir;
    const QString mdb = dir.filePath("Base.mdb");
    QVERIFY(guardar(mdb, conColumna(base, "cantidad", 10, [](QByteArray& d, int c) { d[c] = 12; })));
    OpcionesImportacion o;
    o.parcial = true;
    ResumenImportacion r;
    QString error;
    QVERIFY2(ImportacionAccess::importar(mdb, dir.filePath("base.db"), o, &r, &error), qPrintable(error));
    QCOMPARE(r.recetas, 3);
    QCOMPARE(r.viajes, 0);
    QCOMPARE(r.sinLeer.size(), 1);
    QVERIFY2(r.sinLeer.first().startsWith("tabla viajes: el archivo está dañado (un texto de viajes.hora en "
                                          "la fila 1 no se puede leer); se leyeron 1 de las 6 filas"),
             qPrintable(r.sinLeer.first()));
    QVERIFY(r.texto(mdb).contains(" No se pudo leer y quedó fuera: tabla viajes: "));
}

void TstImportacionAccess::conservaLasTablasPropias() {
    // The event history, the preferences and a table of a later version stay as they were.
    QTemporaryDir dir;
    const QString destino = dir.filePath("base.db");
    QVERIFY(ImportacionAccess::importar(legado("base-antigua.mdb"), destino, nullptr, nullptr));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "propias");
        db.setDatabaseName(destino);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("insert into historial_sucesos (tipo, fecha, hora, kg_real) values ('CARGA', "
                       "'2026-12-01', '06:00', 1500)"));
        QVERIFY(q.exec("insert into preferencias values ('tolerancia', '5')"));
        QVERIFY(q.exec("create table futura (a TEXT, b REAL)"));
        QVERIFY(q.exec("insert into futura values ('x', 2.5)"));
    }
    QSqlDatabase::removeDatabase("propias");
    ResumenImportacion r;
    QString error;
    QVERIFY2(ImportacionAccess::importar(legado("base.mdb"), destino, &r, &error, true), qPrintable(error));
    QCOMPARE(r.conservadas,
             QStringList({"futura (1 filas)", "historial_sucesos (1 filas)", "preferencias (1 filas)"}));
    QCOMPARE(r.anterior, destino + ".anterior");
    const QStringList filas = volcar(destino);
    QCOMPARE(filas.size(), 22);
    QStringList propias;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "propias");
        db.setDatabaseName(destino);
        QSqlQuery q(db);
        if (db.open() &&
            q.exec("select (select group_concat(tipo || fecha || hora || kg_real) from "
                   "historial_sucesos), (select group_concat(clave || valor) from preferencias where clave "
                   "<> 'cambios_datos'), "
                   "(select a || b from futura)") &&
            q.next())
            propias = QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    }
    QSqlDatabase::removeDatabase("propias");
    QCOMPARE(propias, QStringList({"CARGA2026-12-0106:001500.0", "tolerancia5", "x2.5"}));
}

void TstImportacionAccess::enHilosJuntoALaConexionCompartida() {
    BaseTemporal b;
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'Propio')"));
    QTemporaryDir dir;
    std::atomic_int bien{0};
    std::vector<std::thread> hilos;
    for (int i = 0; i < 4; ++i)
        hilos.emplace_back([&bien, &dir, i] {
            const QString mdb =
                legado(i % 2 ? QStringLiteral("base.mdb") : QStringLiteral("base-antigua.mdb"));
            if (ImportacionAccess::importar(mdb, dir.filePath(QStringLiteral("b%1.db").arg(i)), nullptr,
                                            nullptr))
                ++bien;
        });
    for (std::thread& h : hilos)
        h.join();
    QCOMPARE(bien.load(), 4);
    QCOMPARE(volcar(dir.filePath("b3.db")).size(), 22);
    QCOMPARE(b.filas("select * from alimentos"), QStringList{"1|Propio"});
}

void TstImportacionAccess::fechas_data() {
    QTest::addColumn<double>("dias");
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<QString>("hora");
    // Whole days since 1899-12-30; before it the day counts down and the fraction still adds time.
    QTest::newRow("1999") << 36500.0 << "1999-12-06"
                          << "00:00";
    QTest::newRow("fin de 1999") << 36525.75 << "1999-12-31"
                                 << "18:00";
    QTest::newRow("2000") << 36526.0 << "2000-01-01"
                          << "00:00";
    QTest::newRow("2038") << 50424.5 << "2038-01-19"
                          << "12:00";
    QTest::newRow("fixture") << 46363.0 << "2026-12-07"
                             << "00:00";
    QTest::newRow("origen") << 0.0 << "1899-12-30"
                            << "00:00";
    QTest::newRow("antes del origen") << -1.25 << "1899-12-29"
                                      << "06:00";
    QTest::newRow("año 100") << -657434.0 << "0100-01-01"
                             << "00:00";
    QTest::newRow("año 9999") << 2958465.0 << "9999-12-31"
                              << "00:00";
    QTest::newRow("casi medianoche") << 46363.0 + 86399.6 / 86400 << "2026-12-08"
                                     << "00:00";
    QTest::newRow("06:30") << 46363.0 + 6.5 / 24 << "2026-12-07"
                           << "06:30";
}

void TstImportacionAccess::fechas() {
    QFETCH(double, dias);
    QFETCH(QString, fecha);
    QFETCH(QString, hora);
    QCOMPARE(ValoresAccess::fecha(dias), std::optional<QString>(fecha));
    QCOMPARE(ValoresAccess::hora(dias), std::optional<QString>(hora));
}

void TstImportacionAccess::conversiones() {
    using namespace ValoresAccess;
    // Dates Jet cannot hold, or no number at all.
    for (const double d : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()})
        QVERIFY(!fecha(d));
    // A Single keeps the digits it was typed with; a Double every digit it has.
    QCOMPARE(desdeSimple(0.1f), 0.1);
    QCOMPARE(desdeSimple(2800.5f), 2800.5);
    QCOMPARE(desdeSimple(1234.567f), 1234.567);
    QCOMPARE(desdeSimple(16777216.0f), 16777216.0);
    QCOMPARE(desdeMoneda(28005000), 2800.5);
    QCOMPARE(desdeMoneda(-1), -0.0001);
    const double tercio = 1.0 / 3;
    QCOMPARE(convertir(ClaseColumna::Real, TipoJet::Doble, tercio)->toDouble(), tercio);
    // Ids at the 16-bit limits and negative, whole numbers kept in a Double; decimals refused.
    for (const qint64 n : {qint64(32767), qint64(-32768), qint64(-1), qint64(2147483647)})
        QCOMPARE(convertir(ClaseColumna::Entero, TipoJet::EnteroLargo, n)->toLongLong(), n);
    QCOMPARE(convertir(ClaseColumna::Entero, TipoJet::Doble, 32767.0)->toLongLong(), 32767);
    QVERIFY(!convertir(ClaseColumna::Entero, TipoJet::Doble, 2.5));
    // Yes/no: libmdb's true becomes Jet's -1, an integer column's non-zero too.
    QCOMPARE(convertir(ClaseColumna::SiNo, TipoJet::SiNo, true)->toInt(), -1);
    QCOMPARE(convertir(ClaseColumna::SiNo, TipoJet::SiNo, false)->toInt(), 0);
    QCOMPARE(convertir(ClaseColumna::SiNo, TipoJet::Entero, qint64(1))->toInt(), -1);
    // hora: a text as it is, a Date/Time as its time of day.
    QCOMPARE(convertir(ClaseColumna::Hora, TipoJet::Texto, QStringLiteral("6:5"))->toString(), "6:5");
    QCOMPARE(convertir(ClaseColumna::Hora, TipoJet::Fecha, 0.75)->toString(), "18:00");
    // Texts exactly, an empty one not null; nulls stay null whatever the type.
    const QString raro = QStringLiteral("Ñandú 'a' \"b\" c\\d ");
    QCOMPARE(texto(raro.toUtf8().constData(), raro.toUtf8().size()), raro);
    QVERIFY(!texto("", 0).isNull());
    QVERIFY(convertir(ClaseColumna::Texto, TipoJet::Texto, QVariant())->isNull());
    QVERIFY(convertir(ClaseColumna::Real, TipoJet::Doble, QVariant())->isNull());
    // Types that cannot hold what the column needs.
    QVERIFY(!admite(ClaseColumna::Real, TipoJet::Texto));
    QVERIFY(!admite(ClaseColumna::Fecha, TipoJet::Texto));
    QVERIFY(!admite(ClaseColumna::Texto, TipoJet::Doble));
    QVERIFY(!admite(ClaseColumna::Entero, TipoJet::Otro));
}

// The plan of base.mdb typed by hand, as the windows store it.
void TstImportacionAccess::programaIgualAlTipeado() {
    struct Programa {
        QList<QByteArray> directo;
        QStringList web;
    };
    const auto leer = [] {
        Programa p;
        p.directo = ProgramaDirecto::construirTodo(BaseDatos::ConexionBD()).mensajes;
        for (const auto& t : {TuplasWeb::carga("7"), TuplasWeb::operarios("7"), TuplasWeb::alimentos("7"),
                              TuplasWeb::descarga("7")})
            p.web << t.texto;
        return p;
    };
    QTemporaryDir dir;
    QVERIFY(
        ImportacionAccess::importar(legado("base.mdb"), BaseDatos::archivo(dir.path()), nullptr, nullptr));
    QVERIFY(!BaseDatos::abrir(dir.path()));
    const Programa importado = leer();
    BaseDatos::cerrar();

    BaseTemporal b;
    QVERIFY(
        b.ejecutar("insert into recetas values (1, 'Engorde Novillos', 0), (2, 'Recría Vaquillonas', -1), "
                   "(3, 'Tambo Alta Producción', 0)"));
    QVERIFY(b.ejecutar("insert into alimentos values (1, 'Maíz Partido'), (2, 'Silo De Maíz'), "
                       "(3, 'Expeller De Soja'), (4, 'Núcleo Mineral'), (5, 'Heno De Alfalfa')"));
    QVERIFY(b.ejecutar("insert into operarios values (1, 'José Peña'), (2, 'Martín Ibáñez')"));
    QVERIFY(b.ejecutar(
        "insert into viajes values (1, '2026-12-07', '06:30', 1, 1, 1, 1500, 1), "
        "(1, '2026-12-07', '06:30', 1, 1, 2, 2800.5, 2), (1, '2026-12-07', '06:30', 1, 1, 3, 420, 3), "
        "(2, '2026-12-08', '07:15', 2, 2, 2, 60, 1), (2, '2026-12-08', '07:15', 2, 2, 5, 35, 2), "
        "(2, '2026-12-08', '07:15', 2, 2, 4, 5, 3)"));
    QVERIFY(b.ejecutar("insert into descarga values (1, 'Corral 1', 40, 1), (1, 'Corral 2', 60, 2), "
                       "(2, 'Vaquillonas Ñ', 1800, 1), (2, 'Lote 4', 1200, 2)"));
    const Programa tipeado = leer();
    QCOMPARE(importado.directo.size(), 13);
    QCOMPARE(importado.directo, tipeado.directo);
    QVERIFY(importado.web.join(QString()).contains(QStringLiteral("2800.5")));
    QCOMPARE(importado.web, tipeado.web);
}

QTEST_GUILESS_MAIN(TstImportacionAccess)
#include "tst_importacionaccess.moc"
