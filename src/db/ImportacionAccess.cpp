#include "db/ImportacionAccess.h"

#include "core/ArchivoSeguro.h"
#include "db/BaseDatos.h"
#include "db/CabeceraAccess.h"
#include "db/LectorAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <vector>

QString ResumenImportacion::texto(const QString& archivo) const {
    QString t =
        QStringLiteral("Se importó %1: %2 recetas, %3 alimentos, %4 operarios, %5 filas de viajes, %6 de "
                       "descarga%7.")
            .arg(QFileInfo(archivo).fileName())
            .arg(recetas)
            .arg(alimentos)
            .arg(operarios)
            .arg(viajes)
            .arg(descarga)
            .arg(conexion ? QStringLiteral(" y la configuración de conexión") : QString());
    if (!faltantes.isEmpty())
        t += QStringLiteral(" Faltaban en el archivo: %1.").arg(faltantes.join(QStringLiteral(", ")));
    if (!omitidos.isEmpty())
        t += QStringLiteral(" Se dejaron fuera: %1.").arg(omitidos.join(QStringLiteral(", ")));
    if (!sinComa.isEmpty())
        t += QStringLiteral(
                 " La tablet no admite comas en los nombres; se cambió por un espacio la coma de: %1.")
                 .arg(sinComa.join(QStringLiteral("; ")));
    return t;
}

namespace ImportacionAccess {

namespace {

struct ColumnaNuestra {
    const char* nombre;
    ClaseColumna clase;
};

struct TablaNuestra {
    const char* nombre;
    std::vector<ColumnaNuestra> columnas;
    int ResumenImportacion::*contador; // null: not counted (the connection settings)
    bool idObligatorio;                // the id is the row's key: a row without one cannot be kept
};

using C = ClaseColumna;
const std::vector<TablaNuestra>& tablasNuestras() {
    static const std::vector<TablaNuestra> t = {
        {"recetas",
         {{"id", C::Entero}, {"descripcion", C::Texto}, {"calcula_kg", C::SiNo}},
         &ResumenImportacion::recetas,
         true},
        {"alimentos", {{"id", C::Entero}, {"descripcion", C::Texto}}, &ResumenImportacion::alimentos, true},
        {"operarios", {{"id", C::Entero}, {"descripcion", C::Texto}}, &ResumenImportacion::operarios, true},
        {"viajes",
         {{"id", C::Entero},
          {"fecha", C::Fecha},
          {"hora", C::Hora},
          {"id_receta", C::Entero},
          {"id_op", C::Entero},
          {"id_alim", C::Entero},
          {"cantidad", C::Real},
          {"orden", C::Entero}},
         &ResumenImportacion::viajes,
         false},
        {"descarga",
         {{"id", C::Entero}, {"rodeo", C::Texto}, {"por", C::Real}, {"orden", C::Entero}},
         &ResumenImportacion::descarga,
         false},
        {"tipo_conexion",
         {{"Id", C::Entero},
          {"tipo", C::Texto},
          {"direccion", C::Texto},
          {"usuario", C::Texto},
          {"contraseña", C::Texto}},
         nullptr,
         false},
    };
    return t;
}

// What a column of ours needs, for the message that refuses a column of another type.
QString necesita(ClaseColumna clase) {
    switch (clase) {
    case ClaseColumna::Entero:
        return QStringLiteral("un número entero");
    case ClaseColumna::Real:
        return QStringLiteral("un número");
    case ClaseColumna::Texto:
        return QStringLiteral("un texto");
    case ClaseColumna::Fecha:
        return QStringLiteral("una fecha");
    case ClaseColumna::Hora:
        return QStringLiteral("una hora");
    case ClaseColumna::SiNo:
        return QStringLiteral("un Sí/No");
    }
    return {};
}

// Jet compares names ignoring case; so do we.
qsizetype buscar(const QStringList& nombres, const QString& nombre) {
    for (qsizetype i = 0; i < nombres.size(); ++i)
        if (nombres.at(i).compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// One import: the Access file in memory, the new database in a temporary file.
class Importacion {
public:
    Importacion(ResumenImportacion* resumen, const std::atomic_bool* cancelar)
        : resumen_(resumen), cancelar_(cancelar) {}

    // Reads `datos` (its header already checked) into a new database at `temporal`. The reason it
    // failed, in Spanish, or empty when the temporary database is complete.
    QString escribir(QByteArray datos, const QString& temporal);

private:
    QString copiarTabla(QSqlDatabase& db, const TablaNuestra& nuestra, const QString& suya);
    QString completarConexion(QSqlDatabase& db);
    bool cancelado() const { return cancelar_ && cancelar_->load(); }

    ResumenImportacion* resumen_;
    const std::atomic_bool* cancelar_;
    LectorAccess lector_;
};

const QString kCancelado = QStringLiteral("se canceló la importación");

QString Importacion::escribir(QByteArray datos, const QString& temporal) {
    QString motivo;
    if (!lector_.abrir(std::move(datos), &motivo))
        return motivo;
    const QStringList suyas = lector_.tablas();
    bool alguna = false;
    for (const TablaNuestra& t : tablasNuestras())
        alguna = alguna || buscar(suyas, QString::fromUtf8(t.nombre)) >= 0;
    if (!alguna)
        return QStringLiteral(
            "no tiene ninguna de las tablas de Tolvaro (recetas, alimentos, operarios, viajes, "
            "descarga, tipo_conexion)");
    for (const QString& s : suyas) {
        bool nuestra = false;
        for (const TablaNuestra& t : tablasNuestras())
            nuestra = nuestra || s.compare(QString::fromUtf8(t.nombre), Qt::CaseInsensitive) == 0;
        if (!nuestra)
            resumen_->omitidos << QStringLiteral("tabla %1").arg(s);
    }

    // A connection of this import's own: it may run on a worker thread beside the shared one.
    QString error;
    BaseDatos::conConexionPropia(temporal, {}, [&](QSqlDatabase& db) {
        if (!db.open()) {
            error = errorDe(db.lastError()).descripcion;
        } else {
            BaseDatos::prepararConexion(db);
            // The file is synced once, whole, before it is renamed into place (ArchivoSeguro); until
            // then a crash leaves only a temporary file, so SQLite's own journal adds nothing.
            QSqlQuery pragma(db);
            pragma.exec(QStringLiteral("pragma journal_mode = memory"));
            pragma.exec(QStringLiteral("pragma synchronous = off"));
            if (const auto e = BaseDatos::crearEsquema(db))
                error = QStringLiteral("no se pudo crear la base de datos nueva (%1)").arg(e->descripcion);
            else if (!db.transaction())
                error = errorDe(db.lastError()).descripcion;
            for (const TablaNuestra& t : tablasNuestras()) {
                if (!error.isEmpty())
                    break;
                if (cancelado()) {
                    error = kCancelado;
                    break;
                }
                const qsizetype i = buscar(suyas, QString::fromUtf8(t.nombre));
                if (i < 0)
                    resumen_->faltantes << QStringLiteral("tabla %1").arg(QString::fromUtf8(t.nombre));
                else
                    error = copiarTabla(db, t, suyas.at(i));
            }
            if (error.isEmpty())
                error = completarConexion(db);
            if (error.isEmpty() && !db.commit())
                error = QStringLiteral("no se pudo guardar la base de datos nueva (%1)")
                            .arg(errorDe(db.lastError()).descripcion);
            if (!error.isEmpty())
                db.rollback();
        }
    });
    return error;
}

QString Importacion::copiarTabla(QSqlDatabase& db, const TablaNuestra& nuestra, const QString& suya) {
    QString motivo;
    const std::unique_ptr<TablaAccess> tabla = lector_.tabla(suya, &motivo);
    if (!tabla)
        return motivo;
    const QString nombre = QString::fromUtf8(nuestra.nombre);
    QStringList suyas;
    for (const ColumnaJet& c : tabla->columnas())
        suyas << c.nombre;

    // Where each of our columns comes from, and whether the file's column can hold it.
    std::vector<qsizetype> origen;
    QStringList columnas;
    for (const ColumnaNuestra& c : nuestra.columnas) {
        const QString col = QString::fromUtf8(c.nombre);
        const qsizetype i = buscar(suyas, col);
        if (i >= 0 && !ValoresAccess::admite(c.clase, tabla->columnas().at(i).tipo))
            return QStringLiteral("la columna %1.%2 es de tipo %3 y debe guardar %4")
                .arg(nombre, col, ValoresAccess::nombreTipo(tabla->columnas().at(i).tipo), necesita(c.clase));
        if (i < 0)
            resumen_->faltantes << QStringLiteral("columna %1.%2").arg(nombre, col);
        origen.push_back(i);
        columnas << col;
    }
    for (const QString& s : suyas)
        if (buscar(columnas, s) < 0)
            resumen_->omitidos << QStringLiteral("columna %1.%2").arg(nombre, s);

    if (nuestra.contador == nullptr) {
        // The file's connection settings replace the two rows a new database starts with.
        QSqlQuery borrar(db);
        if (!borrar.exec(QStringLiteral("delete from tipo_conexion")) ||
            !borrar.exec(QStringLiteral("delete from sqlite_sequence where name = 'tipo_conexion'")))
            return errorDe(borrar.lastError()).descripcion;
    }

    QStringList marcas;
    for (qsizetype i = 0; i < columnas.size(); ++i)
        marcas << QStringLiteral("?");
    QSqlQuery alta(db);
    if (!alta.prepare(
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(nombre, columnas.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")))))
        return errorDe(alta.lastError()).descripcion;

    QVariantList fila;
    int n = 0;
    while (tabla->siguiente(&fila)) {
        ++n;
        if ((n & 1023) == 0 && cancelado())
            return kCancelado;
        for (size_t c = 0; c < origen.size(); ++c) {
            const ColumnaNuestra& col = nuestra.columnas.at(c);
            QVariant valor;
            if (origen[c] >= 0) {
                const TipoJet tipo = tabla->columnas().at(origen[c]).tipo;
                const auto v = ValoresAccess::convertir(col.clase, tipo, fila.at(origen[c]));
                if (!v)
                    return QStringLiteral(
                               "la fila %1 de %2 tiene en %3 un valor que no se puede guardar (%4)")
                        .arg(n)
                        .arg(nombre, QString::fromUtf8(col.nombre), fila.at(origen[c]).toString());
                valor = *v;
            } else if (col.clase == ClaseColumna::SiNo) {
                // An older file without the column: what Comprobar_Tablas gives every existing row.
                valor = ValoresAccess::siNo(false);
            }
            if (c == 0 && nuestra.idObligatorio && valor.isNull())
                return QStringLiteral("la fila %1 de %2 no tiene id").arg(n).arg(nombre);
            // A catalogue name travels to the tablet between commas: one inside it would split
            // the record there, and the loads naming it would come back blank.
            if (nuestra.idObligatorio && qstrcmp(col.nombre, "descripcion") == 0 &&
                valor.toString().contains(u',')) {
                const QString original = valor.toString();
                static const QRegularExpression coma(QStringLiteral("\\s*,\\s*"));
                QString limpio = original;
                valor = limpio.replace(coma, QStringLiteral(" ")).trimmed();
                resumen_->sinComa
                    << QStringLiteral("%1 %2 (%3)").arg(nombre, alta.boundValue(0).toString(), original);
            }
            alta.bindValue(int(c), valor);
        }
        if (!alta.exec()) {
            const ErrorBD e = errorDe(alta.lastError());
            // 1555: a key repeated (SQLITE_CONSTRAINT_PRIMARYKEY).
            if (e.numero == QStringLiteral("1555"))
                return QStringLiteral("la fila %1 de %2 repite el id %3 de otra fila")
                    .arg(n)
                    .arg(nombre, alta.boundValue(0).toString());
            return QStringLiteral("no se pudo guardar la fila %1 de %2 (%3)")
                .arg(n)
                .arg(nombre, e.descripcion);
        }
    }
    if (!tabla->error().isEmpty())
        return tabla->error();
    if (nuestra.contador)
        resumen_->*nuestra.contador = n;
    else
        resumen_->conexion = n > 0;
    return {};
}

QString Importacion::completarConexion(QSqlDatabase& db) {
    // A type the file lacks gets the row a new database has for it.
    for (const QString& tipo : {QStringLiteral("directa"), QStringLiteral("web")}) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("select count(*) from tipo_conexion where tipo = ?"));
        q.addBindValue(tipo);
        if (!q.exec() || !q.next())
            return errorDe(q.lastError()).descripcion;
        if (q.value(0).toInt() > 0)
            continue;
        QSqlQuery alta(db);
        alta.prepare(QStringLiteral("insert into tipo_conexion (tipo) values (?)"));
        alta.addBindValue(tipo);
        if (!alta.exec())
            return errorDe(alta.lastError()).descripcion;
    }
    return {};
}

} // namespace

bool importar(const QString& mdb, const QString& destino, ResumenImportacion* resumen, QString* error,
              bool guardarAnterior, const std::atomic_bool* cancelar) {
    const auto fallar = [&](const QString& motivo) {
        if (error)
            *error =
                QStringLiteral("No se puede importar %1: %2.").arg(QDir::toNativeSeparators(mdb), motivo);
        return false;
    };
    QFile archivo(mdb);
    if (!archivo.exists())
        return fallar(QStringLiteral("el archivo no existe"));
    if (!archivo.open(QIODevice::ReadOnly))
        return fallar(QStringLiteral("no se puede leer (%1)").arg(archivo.errorString()));
    QByteArray datos = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return fallar(QStringLiteral("no se puede leer (%1)").arg(archivo.errorString()));
    archivo.close();

    ResumenImportacion propio;
    ArchivoSeguro salida(destino, guardarAnterior);
    // The header first: a file that is no Access database leaves not even a temporary file behind.
    const CabeceraAccess::Formato formato = CabeceraAccess::examinar(datos);
    if (!formato.valido())
        return fallar(formato.motivo);
    if (!salida.preparar())
        return fallar(salida.error());
    Importacion imp(&propio, cancelar);
    // The file's one copy in memory goes to the reader.
    const QString motivo = imp.escribir(std::move(datos), salida.rutaTemporal());
    if (!motivo.isEmpty())
        return fallar(motivo);
    if (!salida.confirmar())
        return fallar(salida.error());
    if (resumen)
        *resumen = propio;
    return true;
}

} // namespace ImportacionAccess
