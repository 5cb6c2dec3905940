#include "ServicioWebPrueba.h"

#include "db/BaseDatos.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

// Everything of one service (data, socket, temporary tables, logs) lives in a folder of its own,
// named after the test process and unique within it, so tests running in parallel never meet. A
// unix socket path holds at most 107 bytes: keep the folder short even when TMPDIR is long.
QString plantillaCarpeta() {
    const QString base = QDir::tempPath().size() < 60 ? QDir::tempPath() : QStringLiteral("/tmp");
    return base + QStringLiteral("/tolvaro-web-%1-XXXXXX").arg(QCoreApplication::applicationPid());
}

QString usuarioDelProceso() {
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("root");
}

QString leerArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool hayPrograma(const QString& nombre) {
    const QStringList rutas{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                            QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/local/bin")};
    return !QStandardPaths::findExecutable(nombre).isEmpty() ||
           !QStandardPaths::findExecutable(nombre, rutas).isEmpty();
}

} // namespace

ServicioWebPrueba::ServicioWebPrueba(const QString& semilla) : dir_(plantillaCarpeta()) {
    ok_ = arrancar(semilla);
    if (!ok_)
        qWarning("ServicioWebPrueba: %s", qPrintable(error_));
}

ServicioWebPrueba::~ServicioWebPrueba() {
    if (!conexion_.isEmpty()) {
        QSqlDatabase::database(conexion_, false).close();
        QSqlDatabase::removeDatabase(conexion_);
    }
    if (sim_ && sim_->state() != QProcess::NotRunning) {
        sim_->terminate();
        if (!sim_->waitForFinished(5000)) {
            sim_->kill();
            sim_->waitForFinished(2000);
        }
    }
    if (mariaArrancada_)
        correrGuion(QStringLiteral("stop"), nullptr);
}

bool ServicioWebPrueba::arrancar(const QString& semilla) {
    if (!hayPrograma(QStringLiteral("mariadbd")) && !hayPrograma(QStringLiteral("mysqld"))) {
        faltaMariaDb_ = true;
        error_ = QStringLiteral("mariadb-server no está instalado (no se encuentra mariadbd)");
        return false;
    }
    if (!hayPrograma(QStringLiteral("mariadb-install-db")) || !hayPrograma(QStringLiteral("mariadb"))) {
        faltaMariaDb_ = true;
        error_ = QStringLiteral("mariadb-server o mariadb-client no está instalado");
        return false;
    }
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no se puede crear la carpeta temporal: ") + dir_.errorString();
        return false;
    }
    const QString fuente = qEnvironmentVariable("TOLVARO_SOURCE");
    const QString binarios = qEnvironmentVariable("TOLVARO_BIN");
    guion_ = fuente + QStringLiteral("/tools/mariadb-privada.sh");
    const QString programa = binarios + QStringLiteral("/tools/nremoto-sim/nremoto-sim");
    if (fuente.isEmpty() || !QFileInfo::exists(guion_)) {
        error_ = QStringLiteral("no se encuentra tools/mariadb-privada.sh (TOLVARO_SOURCE=%1)").arg(fuente);
        return false;
    }
    if (binarios.isEmpty() || !QFileInfo(programa).isExecutable()) {
        error_ = QStringLiteral("no se encuentra nremoto-sim (TOLVARO_BIN=%1)").arg(binarios);
        return false;
    }

    QString salida;
    mariaArrancada_ = true;
    if (!correrGuion(QStringLiteral("start"), &salida))
        return false;
    socket_ = salida.trimmed().split(u'\n').last();

    QStringList argumentos{QStringLiteral("--puerto"),       QStringLiteral("0"),
                           QStringLiteral("--socket"),       socket_,
                           QStringLiteral("--base"),         QStringLiteral("tolvaro"),
                           QStringLiteral("--crear-tablas"), QStringLiteral("--verbose")};
    if (!semilla.isEmpty())
        argumentos << QStringLiteral("--semilla") << semilla;
    sim_ = std::make_unique<QProcess>();
    sim_->setProgram(programa);
    sim_->setArguments(argumentos);
    // Its log goes to a file: a pipe nobody reads would stop it once full.
    sim_->setStandardErrorFile(registroSim());
    sim_->start();
    if (!sim_->waitForStarted(10000)) {
        error_ = QStringLiteral("no arranca nremoto-sim: ") + sim_->errorString();
        return false;
    }
    // The first line on stdout names the port it took.
    static const QRegularExpression escuchando(QStringLiteral("escuchando en 127\\.0\\.0\\.1:(\\d+)"));
    QByteArray leido;
    const QDeadlineTimer plazo(30000);
    while (!plazo.hasExpired()) {
        leido += sim_->readAllStandardOutput();
        const auto m = escuchando.match(QString::fromUtf8(leido));
        if (m.hasMatch()) {
            puerto_ = static_cast<quint16>(m.captured(1).toUInt());
            break;
        }
        if (sim_->state() == QProcess::NotRunning)
            break;
        sim_->waitForReadyRead(100);
    }
    if (puerto_ == 0) {
        error_ = QStringLiteral("nremoto-sim no empezó a escuchar: ") +
                 (QString::fromUtf8(leido) + leerArchivo(registroSim())).trimmed();
        return false;
    }

    conexion_ = QStringLiteral("servicio-web-prueba-%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), conexion_);
    db.setDatabaseName(QStringLiteral("tolvaro"));
    db.setUserName(usuarioDelProceso());
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket_);
    if (!db.open()) {
        error_ = QStringLiteral("no se puede abrir la base remota: ") + db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET NAMES utf8mb4"));
    return true;
}

bool ServicioWebPrueba::correrGuion(const QString& accion, QString* salida) {
    QProcess p;
    p.setProgram(QStringLiteral("bash"));
    p.setArguments({guion_, accion, dir_.path()});
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    // A test that dies leaves no server behind.
    entorno.insert(QStringLiteral("MARIADB_PRIVADA_DUENO"),
                   QString::number(QCoreApplication::applicationPid()));
    p.setProcessEnvironment(entorno);
    p.start();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished(2000);
        error_ = QStringLiteral("mariadb-privada.sh %1 no terminó").arg(accion);
        return false;
    }
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        faltaMariaDb_ = p.exitCode() == 3;
        error_ = QStringLiteral("mariadb-privada.sh %1: %2").arg(accion, err);
        return false;
    }
    if (salida)
        *salida = QString::fromUtf8(p.readAllStandardOutput());
    return true;
}

QString ServicioWebPrueba::servidor() const {
    return QStringLiteral("127.0.0.1:%1").arg(puerto_);
}

bool ServicioWebPrueba::usarEnLaBase() const {
    QSqlQuery q(BaseDatos::ConexionBD());
    q.prepare(QStringLiteral("update tipo_conexion set direccion = ?, usuario = 'juan', contraseña = 'clave' "
                             "where tipo = 'web'"));
    q.addBindValue(servidor());
    return q.exec() && q.numRowsAffected() == 1;
}

QString ServicioWebPrueba::direccion() const {
    return QStringLiteral("http://") + servidor() + QStringLiteral("/nremoto.php?");
}

bool ServicioWebPrueba::ejecutar(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    if (!q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

bool ServicioWebPrueba::agregarCargas(const QString& filas) {
    return ejecutar(
        QStringLiteral("insert into lectura_carga_tracker (cliente, fecha, hora, receta, id_alim, "
                       "alimento, kg_real, Operario, kg_sug) values ") +
        filas);
}

bool ServicioWebPrueba::agregarDescargas(const QString& filas) {
    return ejecutar(
        QStringLiteral(
            "insert into lectura_descarga_tracker (cliente, fecha, hora, corral, kg_sug, kg_real) values ") +
        filas);
}

QVariant ServicioWebPrueba::valor(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    if (!q.exec(sql) || !q.next())
        return {};
    return q.value(0);
}

QStringList ServicioWebPrueba::filas(const QString& sql) {
    QStringList r;
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    if (!q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return r;
    }
    while (q.next()) {
        QStringList c;
        for (int i = 0; i < q.record().count(); ++i) {
            const QVariant v = q.value(i);
            c << (v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString());
        }
        r << c.join(u'|');
    }
    return r;
}

bool ServicioWebPrueba::fallarCuandoContenga(const QString& texto, int estado, const QString& cuerpo) {
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    q.prepare(QStringLiteral("insert into nremoto_control.fallas (patron, estado, cuerpo) values (?, ?, ?)"));
    q.addBindValue(texto);
    q.addBindValue(estado);
    q.addBindValue(cuerpo);
    if (!q.exec()) {
        qWarning("fallarCuandoContenga: %s", qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

bool ServicioWebPrueba::quitarFallas() {
    return ejecutar(QStringLiteral("delete from nremoto_control.fallas"));
}

QString ServicioWebPrueba::registroSim() const {
    return dir_.filePath(QStringLiteral("nremoto-sim.log"));
}

QStringList ServicioWebPrueba::pedidos() const {
    QStringList r;
    static const QRegularExpression hora(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
    for (const QString& linea : leerArchivo(registroSim()).split(u'\n', Qt::SkipEmptyParts)) {
        if (hora.match(linea).hasMatch())
            r << linea.mid(13);
        else if (!r.isEmpty())
            r.last() += u'\n' + linea; // a statement that spans lines
    }
    return r;
}
