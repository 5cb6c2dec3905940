#include "db/BaseDatos.h"

#include "core/ArchivoSeguro.h"
#include "db/ContadorCambios.h"

#include <sqlite3.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStandardPaths>

#include <atomic>

const QString BaseDatos::kNombreConexion = QStringLiteral("ConexionBD");
const QString BaseDatos::kNombreArchivo = QStringLiteral("base.db");

namespace {

QString g_carpeta;

// Case-insensitive comparison of two UTF-8 texts. ASCII is compared in place; anything else goes
// through QString so that "ñ" equals "Ñ" as it does for Jet.
int compararSinMayusculas(void*, int n1, const void* p1, int n2, const void* p2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    const int n = n1 < n2 ? n1 : n2;
    for (int i = 0; i < n; ++i) {
        unsigned char ca = a[i], cb = b[i];
        if ((ca | cb) & 0x80) {
            const QString sa = QString::fromUtf8(reinterpret_cast<const char*>(a) + i, n1 - i);
            const QString sb = QString::fromUtf8(reinterpret_cast<const char*>(b) + i, n2 - i);
            return QString::compare(sa, sb, Qt::CaseInsensitive);
        }
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
}

const char* const kEsquema[] = {
    "create table recetas (id INTEGER PRIMARY KEY, descripcion TEXT COLLATE NOCASE, "
    "calcula_kg INTEGER DEFAULT 0)",
    "create table alimentos (id INTEGER PRIMARY KEY, descripcion TEXT COLLATE NOCASE)",
    "create table operarios (id INTEGER PRIMARY KEY, descripcion TEXT COLLATE NOCASE)",
    "create table viajes (id INTEGER, fecha TEXT, hora TEXT, id_receta INTEGER, id_op INTEGER, "
    "id_alim INTEGER, cantidad REAL, orden INTEGER)",
    "create table descarga (id INTEGER, rodeo TEXT COLLATE NOCASE, por REAL, orden INTEGER)",
    "create table tipo_conexion (Id INTEGER PRIMARY KEY AUTOINCREMENT, tipo TEXT COLLATE NOCASE, "
    "direccion TEXT COLLATE NOCASE, usuario TEXT COLLATE NOCASE, \"contraseña\" TEXT COLLATE NOCASE)",
    "create index viajes_id on viajes (id)",
    "create index descarga_id on descarga (id)",
    "insert into tipo_conexion (tipo) values ('directa')",
    "insert into tipo_conexion (tipo) values ('web')",
};

const char* const kTablas[] = {"recetas", "alimentos", "operarios", "viajes", "descarga", "tipo_conexion"};

// Tables added after the first version: every database gains them when it is opened.
// `historial_sucesos` keeps every downloaded event (dates yyyy-MM-dd, times HH:mm, kilograms as
// REAL or NULL beside the texts as received). Its one index serves both the merge of a download
// (kind, date and time first) and the accuracy report, which reads only the index.
const char* const kEsquemaAgregado[] = {
    ("create table if not exists historial_sucesos (id INTEGER PRIMARY KEY, tipo TEXT NOT NULL, "
     "fecha TEXT NOT NULL, hora TEXT NOT NULL, receta_corral TEXT COLLATE NOCASE, "
     "alimento TEXT COLLATE NOCASE, kg_sugerido REAL, kg_real REAL, operario TEXT COLLATE NOCASE, "
     "via TEXT, recibido TEXT, texto_sugerido TEXT, texto_real TEXT)"),
    ("create index if not exists historial_sucesos_suceso on historial_sucesos "
     "(tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario)"),
    "create table if not exists preferencias (clave TEXT PRIMARY KEY COLLATE NOCASE, valor TEXT)",
    // Feed prices from a day on, receipts and physical counts (stock movements), and the real
    // kilograms loaded per day and feed name, derived from the history and rebuilt from it when
    // needed (`consumo_diario_estado` says up to which event).
    ("create table if not exists precios_alimento (id INTEGER PRIMARY KEY, id_alimento INTEGER NOT NULL, "
     "desde TEXT NOT NULL, precio REAL NOT NULL, unique (id_alimento, desde))"),
    ("create table if not exists movimientos_stock (id INTEGER PRIMARY KEY, id_alimento INTEGER NOT NULL, "
     "fecha TEXT NOT NULL, tipo TEXT NOT NULL, kg REAL NOT NULL, proveedor TEXT COLLATE NOCASE, "
     "nota TEXT COLLATE NOCASE)"),
    ("create table if not exists consumo_diario (fecha TEXT NOT NULL, alimento TEXT NOT NULL COLLATE NOCASE, "
     "kg REAL NOT NULL, primary key (fecha, alimento))"),
    ("create table if not exists consumo_diario_estado (clave INTEGER PRIMARY KEY, ultimo_id INTEGER, "
     "sello TEXT)"),
    // A feed's own loading tolerance for the accuracy report, in kilograms and/or percent (NULL: no
    // such bound), by the feed's name as the history keeps it.
    ("create table if not exists tolerancias_alimento (alimento TEXT PRIMARY KEY COLLATE NOCASE, "
     "kg REAL, porcentaje REAL)"),
    // Old trips taken out of the plan (and of the upload), kept to be brought back: the columns
    // of `viajes` and `descarga`.
    ("create table if not exists viajes_archivo (id INTEGER, fecha TEXT, hora TEXT, id_receta INTEGER, "
     "id_op INTEGER, id_alim INTEGER, cantidad REAL, orden INTEGER)"),
    "create table if not exists descarga_archivo (id INTEGER, rodeo TEXT COLLATE NOCASE, por REAL, orden "
    "INTEGER)",
};

} // namespace

ErrorBD errorDe(const QSqlError& e) {
    QString numero = e.nativeErrorCode();
    if (numero.isEmpty())
        numero = QString::number(static_cast<int>(e.type()));
    QString texto = e.databaseText();
    if (texto.isEmpty())
        texto = e.driverText();
    return {numero, texto};
}

QCommandLineOption BaseDatos::opcionDatos() {
    return {QStringLiteral("datos"), QStringLiteral("carpeta de la base de datos base.db (se crea si falta)"),
            QStringLiteral("CARPETA")};
}

QString BaseDatos::carpetaDatos(const QStringList& argumentos) {
    QCommandLineParser p;
    const QCommandLineOption datos = opcionDatos();
    p.addOption(datos);
    p.parse(argumentos); // the window's other arguments are not ours to refuse
    return carpetaDatos(p.value(datos));
}

QString BaseDatos::carpetaDatos(const QString& indicada) {
    QString carpeta = indicada;
    if (carpeta.isEmpty()) {
#ifdef Q_OS_WIN
        // Each user's own, outside the program's folder (which a user may not write to).
        const QString local = qEnvironmentVariable("LOCALAPPDATA");
        carpeta = (local.isEmpty() ? QDir::homePath() + QStringLiteral("/AppData/Local")
                                   : QDir::fromNativeSeparators(local)) +
                  QStringLiteral("/Tolvaro");
#else
        carpeta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#endif
    }
    QDir().mkpath(carpeta);
    return QDir(carpeta).absolutePath();
}

QString BaseDatos::archivo(const QString& carpeta) {
    return QDir(carpeta).filePath(kNombreArchivo);
}

void BaseDatos::conConexionPropia(const QString& ruta, const QString& opciones,
                                  const std::function<void(QSqlDatabase&)>& usar) {
    static std::atomic_int serie{0};
    const QString nombre = QStringLiteral("tolvaro-propia-%1").arg(++serie);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(ruta);
        db.setConnectOptions(opciones);
        usar(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
}

sqlite3* BaseDatos::manejador(const QSqlDatabase& db) {
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

std::optional<ErrorBD> BaseDatos::tablas(QSqlDatabase& db, QStringList* nombres) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select name from sqlite_master where type = 'table'")))
        return errorDe(q.lastError());
    while (q.next())
        *nombres << q.value(0).toString().toLower();
    return std::nullopt;
}

QStringList BaseDatos::tablasFaltantes(const QStringList& tablas) {
    QStringList faltan;
    for (const char* t : kTablas)
        if (!tablas.contains(QLatin1String(t)))
            faltan << QString::fromLatin1(t);
    return faltan;
}

bool BaseDatos::prepararConexion(QSqlDatabase& db) {
    sqlite3* h = manejador(db);
    if (!h)
        return false;
    sqlite3_create_collation(h, "NOCASE", SQLITE_UTF8, nullptr, compararSinMayusculas);
    sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(h, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    return true;
}

std::optional<ErrorBD> BaseDatos::crearEsquema(QSqlDatabase& db) {
    if (!db.transaction())
        return errorDe(db.lastError());
    QSqlQuery q(db);
    for (const char* sql : kEsquema) {
        if (!q.exec(QString::fromUtf8(sql))) {
            const ErrorBD e = errorDe(q.lastError());
            db.rollback();
            return e;
        }
    }
    if (!db.commit())
        return errorDe(db.lastError());
    if (auto e = completarEsquema(db))
        return e;
    return crearReglasSiNo(db);
}

std::optional<ErrorBD> BaseDatos::completarEsquema(QSqlDatabase& db) {
    QSqlQuery q(db);
    for (const char* sql : kEsquemaAgregado)
        if (!q.exec(QString::fromUtf8(sql)))
            return errorDe(q.lastError());
    // Last, so that it counts the changes of every table above too.
    return ContadorCambios::instalar(db);
}

std::optional<ErrorBD> BaseDatos::crearReglasSiNo(QSqlDatabase& db) {
    // Only once the column exists (an old database gains it in comprobarTablas).
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select calcula_kg from recetas where 0")))
        return std::nullopt;
    static const char* const reglas[] = {
        "create trigger if not exists recetas_si_no_alta after insert on recetas "
        "when new.calcula_kg is null or new.calcula_kg not in (0, -1) begin "
        "update recetas set calcula_kg = case when new.calcula_kg is null or new.calcula_kg = 0 "
        "then 0 else -1 end where rowid = new.rowid; end",
        "create trigger if not exists recetas_si_no_cambio after update of calcula_kg on recetas "
        "when new.calcula_kg is null or new.calcula_kg not in (0, -1) begin "
        "update recetas set calcula_kg = case when new.calcula_kg is null or new.calcula_kg = 0 "
        "then 0 else -1 end where rowid = new.rowid; end",
    };
    for (const char* sql : reglas)
        if (!q.exec(QString::fromUtf8(sql)))
            return errorDe(q.lastError());
    return std::nullopt;
}

QString BaseDatos::aSqlite(const QString& sql) {
    static const QRegularExpression siNo(QStringLiteral("\\byesno\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString r = sql;
    r.replace(siNo, QStringLiteral("INTEGER DEFAULT 0"));
    return r;
}

namespace {
// Opens the file as the shared connection; on failure returns the reason and leaves the
// connection for the caller to remove.
std::optional<QString> abrirEn(const QString& ruta) {
    const QFileInfo info(ruta);
    if (info.exists() && !info.isFile())
        return QStringLiteral("no es un archivo.");
    if (info.exists() && !info.isReadable())
        return QStringLiteral("no se tiene permiso para leerlo.");

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), BaseDatos::kNombreConexion);
    db.setDatabaseName(ruta);
    if (!db.open())
        return errorDe(db.lastError()).descripcion;
    if (!BaseDatos::prepararConexion(db))
        return QStringLiteral("el controlador de la base de datos no es SQLite.");

    // Reading the schema tells a database from any other file; nothing is written before that.
    QStringList tablas;
    if (const auto e = BaseDatos::tablas(db, &tablas)) {
        // 5 and 6: SQLITE_BUSY and SQLITE_LOCKED, another program holds the file.
        if (e->numero == QStringLiteral("5") || e->numero == QStringLiteral("6") ||
            e->descripcion.contains(QStringLiteral("locked")))
            return QStringLiteral("otro programa la está usando y no la deja leer; ciérrelo e intente de "
                                  "nuevo (%1).")
                .arg(e->descripcion);
        return QStringLiteral("no es una base de datos válida (%1).").arg(e->descripcion);
    }
    if (tablas.isEmpty()) {
        if (auto e = BaseDatos::crearEsquema(db))
            return QStringLiteral("no se pudo crear (%1).").arg(e->descripcion);
        return std::nullopt;
    }
    const QStringList faltan = BaseDatos::tablasFaltantes(tablas);
    if (!faltan.isEmpty())
        return QStringLiteral("no es una base de datos de Tolvaro (faltan las tablas %1).")
            .arg(faltan.join(QStringLiteral(", ")));
    // A database that cannot take the new tables (a read-only file) still opens: the windows
    // that need them report the error when they use them.
    BaseDatos::completarEsquema(db);
    BaseDatos::crearReglasSiNo(db);
    return std::nullopt;
}
} // namespace

std::optional<QString> BaseDatos::abrir(const QString& carpeta) {
    cerrar();
    const QString ruta = archivo(carpeta);
    // What a killed restore or import left beside the database is removed by the next one, which
    // holds the folder's maintenance lock: here a restore may be waiting with its checked copy.
    if (const auto motivo = abrirEn(ruta)) {
        cerrar();
        return QStringLiteral("No se puede abrir la base de datos %1: %2")
            .arg(QDir::toNativeSeparators(ruta), *motivo);
    }
    g_carpeta = carpeta;
    return std::nullopt;
}

QSqlDatabase BaseDatos::ConexionBD() {
    return QSqlDatabase::database(kNombreConexion, false);
}

bool BaseDatos::abierta() {
    return QSqlDatabase::contains(kNombreConexion) && QSqlDatabase::database(kNombreConexion, false).isOpen();
}

QString BaseDatos::carpeta() {
    return g_carpeta;
}

void BaseDatos::cerrar() {
    if (!QSqlDatabase::contains(kNombreConexion))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(kNombreConexion, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(kNombreConexion);
}
