#include "maint/AjustesRespaldo.h"

#include "db/ContadorCambios.h"

#include <QDir>
#include <QLocale>
#include <QSqlQuery>

namespace {

const QString kAlCerrar = QStringLiteral("respaldo_al_cerrar");
const QString kAlIniciar = QStringLiteral("respaldo_al_iniciar");
const QString kDias = QStringLiteral("respaldo_dias");
const QString kCantidad = QStringLiteral("respaldo_cantidad");
const QString kCarpeta = QStringLiteral("respaldo_carpeta");
const QString kSegunda = QStringLiteral("respaldo_segunda_carpeta");
const QString kUltimaFecha = QStringLiteral("respaldo_ultimo_fecha");
const QString kUltimaRuta = QStringLiteral("respaldo_ultimo_ruta");
const QString kUltimoTamano = QStringLiteral("respaldo_ultimo_tamano");
const QString kUltimosCambios = QStringLiteral("respaldo_ultimo_cambios");
const QString kAvisoSegunda = QStringLiteral("respaldo_aviso_segunda");
const QString kAvisoPendiente = QStringLiteral("respaldo_aviso_pendiente");

std::optional<QString> valor(const QSqlDatabase& db, const QString& clave) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select valor from preferencias where clave = ?"));
    q.addBindValue(clave);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

std::optional<ErrorBD> poner(const QSqlDatabase& db, const QString& clave, const QString& texto) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into preferencias (clave, valor) values (?, ?) "
                             "on conflict (clave) do update set valor = excluded.valor"));
    q.addBindValue(clave);
    q.addBindValue(texto);
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}

// Yes/no stored as Jet stores them (-1, 0).
bool siNo(const QSqlDatabase& db, const QString& clave, bool inicial) {
    const auto v = valor(db, clave);
    return v ? v->toInt() != 0 : inicial;
}

qint64 entero(const QSqlDatabase& db, const QString& clave, qint64 inicial, qint64 minimo) {
    bool ok = false;
    const auto v = valor(db, clave);
    const qint64 n = v ? v->toLongLong(&ok) : 0;
    return ok && n >= minimo ? n : inicial;
}

} // namespace

AjustesRespaldo AjustesRespaldo::leer(const QSqlDatabase& db) {
    AjustesRespaldo a;
    a.alCerrar = siNo(db, kAlCerrar, a.alCerrar);
    a.alIniciar = siNo(db, kAlIniciar, a.alIniciar);
    a.dias = int(entero(db, kDias, a.dias, 1));
    a.cantidad = int(entero(db, kCantidad, a.cantidad, 1));
    a.carpeta = valor(db, kCarpeta).value_or(QString());
    a.segunda = valor(db, kSegunda).value_or(QString());
    return a;
}

std::optional<ErrorBD> AjustesRespaldo::guardar(const QSqlDatabase& db) const {
    for (const auto& [clave, texto] :
         {std::pair{kAlCerrar, QString::number(alCerrar ? -1 : 0)},
          std::pair{kAlIniciar, QString::number(alIniciar ? -1 : 0)}, std::pair{kDias, QString::number(dias)},
          std::pair{kCantidad, QString::number(cantidad)}, std::pair{kCarpeta, carpeta},
          std::pair{kSegunda, segunda}})
        if (const auto e = poner(db, clave, texto))
            return e;
    return std::nullopt;
}

QString AjustesRespaldo::carpetaAutomatica(const QString& carpetaDatos) const {
    return carpeta.isEmpty() ? QDir(carpetaDatos).filePath(QStringLiteral("respaldos"))
                             : QDir::fromNativeSeparators(carpeta);
}

UltimoRespaldo UltimoRespaldo::leer(const QSqlDatabase& db) {
    UltimoRespaldo u;
    if (const auto f = valor(db, kUltimaFecha))
        u.fecha = QDateTime::fromString(*f, Qt::ISODate);
    u.ruta = valor(db, kUltimaRuta).value_or(QString());
    u.tamano = entero(db, kUltimoTamano, -1, 0);
    u.cambios = entero(db, kUltimosCambios, 0, 0);
    return u;
}

std::optional<ErrorBD> UltimoRespaldo::registrar(const QString& ruta, qint64 tamano, qint64 cambios,
                                                 const QDateTime& fecha, const QSqlDatabase& db) {
    for (const auto& [clave, texto] :
         {std::pair{kUltimaFecha, fecha.toString(Qt::ISODate)}, std::pair{kUltimaRuta, ruta},
          std::pair{kUltimoTamano, QString::number(tamano)},
          std::pair{kUltimosCambios, QString::number(cambios)}})
        if (const auto e = poner(db, clave, texto))
            return e;
    return std::nullopt;
}

namespace PoliticaRespaldo {

bool hayCambios(const QSqlDatabase& db) {
    const qint64 ahora = ContadorCambios::leer(db);
    // A count that cannot be read says nothing: a backup is then the safe side.
    return ahora < 0 || ahora != UltimoRespaldo::leer(db).cambios;
}

bool tieneDatos(const QSqlDatabase& db) {
    QSqlQuery q(db);
    for (const char* t : {"recetas", "alimentos", "operarios", "viajes", "descarga", "historial_sucesos"})
        if (q.exec(QStringLiteral("select 1 from %1 limit 1").arg(QLatin1String(t))) && q.next())
            return true;
    return false;
}

std::optional<qint64> diasDesdeUltimo(const QDateTime& ahora, const QSqlDatabase& db) {
    const UltimoRespaldo u = UltimoRespaldo::leer(db);
    if (!u.existe())
        return std::nullopt;
    return qMax<qint64>(0, u.fecha.date().daysTo(ahora.date()));
}

bool atrasado(const QDateTime& ahora, const QSqlDatabase& db) {
    const auto dias = diasDesdeUltimo(ahora, db);
    return dias ? *dias >= AjustesRespaldo::leer(db).dias : tieneDatos(db);
}

bool tocaAlCerrar(const QSqlDatabase& db) {
    return AjustesRespaldo::leer(db).alCerrar && hayCambios(db);
}

bool tocaAlIniciar(const QDateTime& ahora, const QSqlDatabase& db) {
    return AjustesRespaldo::leer(db).alIniciar && atrasado(ahora, db);
}

QString textoAntiguedad(const QDateTime& ahora, const QSqlDatabase& db) {
    const auto dias = diasDesdeUltimo(ahora, db);
    if (!dias)
        return QStringLiteral("Nunca se hizo un respaldo");
    if (*dias == 0)
        return QStringLiteral("Último respaldo: hoy");
    if (*dias == 1)
        return QStringLiteral("Último respaldo: ayer");
    return QStringLiteral("Último respaldo: hace %1 días").arg(*dias);
}

bool avisarSegundaHoy(const QDate& hoy, const QSqlDatabase& db) {
    const QString dia = hoy.toString(Qt::ISODate);
    if (valor(db, kAvisoSegunda) == dia)
        return false;
    poner(db, kAvisoSegunda, dia);
    return true;
}

void guardarAvisoPendiente(const QString& aviso, const QSqlDatabase& db) {
    poner(db, kAvisoPendiente, aviso);
}

QString tomarAvisoPendiente(const QSqlDatabase& db) {
    const QString aviso = valor(db, kAvisoPendiente).value_or(QString());
    if (!aviso.isEmpty())
        poner(db, kAvisoPendiente, QString());
    return aviso;
}

} // namespace PoliticaRespaldo
