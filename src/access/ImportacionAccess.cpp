#include "access/ImportacionAccess.h"

#include "access/CabeceraAccess.h"
#include "access/LectorAccess.h"
#include "access/LecturaAislada.h"
#include "core/ArchivoSeguro.h"
#include "db/BaseDatos.h"
#include "db/ContadorCambios.h"

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
    if (!sinLeer.isEmpty())
        t += QStringLiteral(" No se pudo leer y quedó fuera: %1.").arg(sinLeer.join(QStringLiteral("; ")));
    if (!conservadas.isEmpty())
        t += QStringLiteral(" Se conservaron de la base anterior: %1.")
                 .arg(conservadas.join(QStringLiteral(", ")));
    if (!anterior.isEmpty())
        t += QStringLiteral(" La base anterior quedó como %1.").arg(QDir::toNativeSeparators(anterior));
    return t;
}

namespace ImportacionAccess {

namespace {

struct ColumnaNuestra {
    const char* nombre;
    ClaseColumna clase;
    bool opcional = false; // older files lack it: a missing column is no damage
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
         {{"id", C::Entero}, {"descripcion", C::Texto}, {"calcula_kg", C::SiNo, true}},
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
    Importacion(ResumenImportacion* resumen, const OpcionesImportacion& opciones, const QString& conservarDe)
        : resumen_(resumen), cancelar_(opciones.cancelar), parcial_(opciones.parcial),
          conservarDe_(conservarDe) {}

    // Reads `datos` (its header already checked) into a new database at `temporal`. The reason it
    // failed, in Spanish, or empty when the temporary database is complete.
    QString escribir(QByteArray datos, const QString& temporal);

private:
    QString copiarTabla(QSqlDatabase& db, const TablaNuestra& nuestra, const QString& suya);
    QString copiarFilas(QSqlQuery& alta, TablaAccess& tabla, const TablaNuestra& nuestra,
                        const std::vector<qsizetype>& origen, int* n);
    QString completarConexion(QSqlDatabase& db);
    QString conservarPropias(QSqlDatabase& db);
    bool cancelado() const { return cancelar_ && cancelar_->load(); }

    ResumenImportacion* resumen_;
    const std::atomic_bool* cancelar_;
    bool parcial_;
    QString conservarDe_;
    LectorAccess lector_;
};

// Whether `ruta` holds a SQLite database (of whatever state): only then is there anything of ours
// in it to keep.
bool esSqlite(const QString& ruta) {
    QFile f(ruta);
    return QFileInfo(ruta).isFile() && f.open(QIODevice::ReadOnly) &&
           f.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString entreComillas(const QString& nombre) {
    return u'"' + QString(nombre).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

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
            else if (!conservarDe_.isEmpty() && esSqlite(conservarDe_)) {
                // Attached before the transaction, which SQLite requires.
                QSqlQuery unir(db);
                unir.prepare(QStringLiteral("attach database ? as previa"));
                unir.addBindValue(conservarDe_);
                if (!unir.exec())
                    error = QStringLiteral("no se puede leer la base de datos actual %1 para conservar sus "
                                           "tablas propias (%2)")
                                .arg(QDir::toNativeSeparators(conservarDe_),
                                     errorDe(unir.lastError()).descripcion);
            }
            if (error.isEmpty() && !db.transaction())
                error = errorDe(db.lastError()).descripcion;
            for (const TablaNuestra& t : tablasNuestras()) {
                if (!error.isEmpty())
                    break;
                if (cancelado()) {
                    error = kCancelado;
                    break;
                }
                const qsizetype i = buscar(suyas, QString::fromUtf8(t.nombre));
                if (i >= 0)
                    error = copiarTabla(db, t, suyas.at(i));
                else if (parcial_)
                    resumen_->faltantes << QStringLiteral("tabla %1").arg(QString::fromUtf8(t.nombre));
                else
                    // Every farm's file has the six tables: one gone is a damaged catalogue.
                    error = QStringLiteral("el archivo está dañado o no es de Tolvaro (falta la tabla %1)")
                                .arg(QString::fromUtf8(t.nombre));
            }
            if (error.isEmpty())
                error = completarConexion(db);
            if (error.isEmpty())
                error = conservarPropias(db);
            if (error.isEmpty() && !db.commit())
                error = QStringLiteral("no se pudo guardar la base de datos nueva (%1)")
                            .arg(errorDe(db.lastError()).descripcion);
            if (!error.isEmpty())
                db.rollback();
            QSqlQuery(db).exec(QStringLiteral("detach database previa"));
        }
    });
    return error;
}

QString Importacion::conservarPropias(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select 1 from pragma_database_list where name = 'previa'")) || !q.next())
        return {};
    const auto fallo = [&](const QSqlQuery& c) {
        return QStringLiteral("no se pueden conservar las tablas propias de %1 (%2)")
            .arg(QDir::toNativeSeparators(conservarDe_), errorDe(c.lastError()).descripcion);
    };
    // Every table the Access file does not hold: the event history, the preferences and whatever
    // a later version adds, each kept whole.
    QStringList deAccess;
    for (const TablaNuestra& t : tablasNuestras())
        deAccess << QString::fromUtf8(t.nombre).toLower();
    if (!q.exec(QStringLiteral("select name, sql from previa.sqlite_master where type = 'table' and name not "
                               "like 'sqlite\\_%' escape '\\' order by name")))
        return fallo(q);
    struct Tabla {
        QString nombre;
        QString sql;
    };
    std::vector<Tabla> propias;
    while (q.next())
        if (!deAccess.contains(q.value(0).toString().toLower()))
            propias.push_back({q.value(0).toString(), q.value(1).toString()});
    for (const Tabla& t : propias) {
        const auto columnasDe = [&](const QString& base, QStringList* columnas) {
            QSqlQuery c(db);
            c.prepare(QStringLiteral("select name from pragma_table_info(?, ?)"));
            c.addBindValue(t.nombre);
            c.addBindValue(base);
            if (!c.exec())
                return false;
            while (c.next())
                *columnas << c.value(0).toString();
            return true;
        };
        QStringList nuevas;
        QStringList viejas;
        if (!columnasDe(QStringLiteral("main"), &nuevas) || !columnasDe(QStringLiteral("previa"), &viejas))
            return fallo(q);
        QSqlQuery e(db);
        if (nuevas.isEmpty()) {
            // A table this version does not know: as it was, with its indexes.
            if (!e.exec(t.sql))
                return fallo(e);
            QSqlQuery i(db);
            i.prepare(
                QStringLiteral("select sql from previa.sqlite_master where type = 'index' and tbl_name = ? "
                               "and sql is not null"));
            i.addBindValue(t.nombre);
            if (!i.exec())
                return fallo(i);
            while (i.next())
                if (!e.exec(i.value(0).toString()))
                    return fallo(e);
            nuevas = viejas;
        }
        QStringList comunes;
        for (const QString& c : viejas)
            if (buscar(nuevas, c) >= 0)
                comunes << entreComillas(c);
        if (comunes.isEmpty())
            continue;
        // The count of changes the automatic backup reads stays the new database's own, moved past
        // the old one's so that the import counts as a change.
        const bool preferencias = t.nombre.compare(QStringLiteral("preferencias"), Qt::CaseInsensitive) == 0;
        const QString salvo =
            preferencias ? QStringLiteral(" where clave <> '%1'").arg(ContadorCambios::kClave) : QString();
        if (!e.exec(QStringLiteral("delete from main.%1%2").arg(entreComillas(t.nombre), salvo)) ||
            !e.exec(QStringLiteral("insert into main.%1 (%2) select %2 from previa.%1%3")
                        .arg(entreComillas(t.nombre), comunes.join(QStringLiteral(", ")), salvo)))
            return fallo(e);
        const int filas = e.numRowsAffected();
        if (preferencias &&
            !e.exec(QStringLiteral(
                        "update main.preferencias set valor = cast(valor as integer) + coalesce((select "
                        "cast(valor as integer) from previa.preferencias where clave = '%1'), 0) + 1 "
                        "where clave = '%1'")
                        .arg(ContadorCambios::kClave)))
            return fallo(e);
        if (filas > 0)
            resumen_->conservadas << QStringLiteral("%1 (%2 filas)").arg(t.nombre).arg(filas);
    }
    return {};
}

QString Importacion::copiarTabla(QSqlDatabase& db, const TablaNuestra& nuestra, const QString& suya) {
    QString motivo;
    const QString nombre = QString::fromUtf8(nuestra.nombre);
    const std::unique_ptr<TablaAccess> tabla = lector_.tabla(suya, &motivo);
    if (!tabla) {
        if (!parcial_)
            return motivo;
        resumen_->sinLeer << QStringLiteral("tabla %1 (%2)").arg(nombre, motivo);
        return {};
    }
    QStringList suyas;
    for (const ColumnaJet& c : tabla->columnas())
        suyas << c.nombre;

    // Where each of our columns comes from, and whether the file's column can hold it.
    std::vector<qsizetype> origen;
    QStringList columnas;
    for (const ColumnaNuestra& c : nuestra.columnas) {
        const QString col = QString::fromUtf8(c.nombre);
        qsizetype i = buscar(suyas, col);
        if (i >= 0 && !ValoresAccess::admite(c.clase, tabla->columnas().at(i).tipo)) {
            const QString tipo =
                QStringLiteral("la columna %1.%2 es de tipo %3 y debe guardar %4")
                    .arg(nombre, col, ValoresAccess::nombreTipo(tabla->columnas().at(i).tipo),
                         necesita(c.clase));
            if (!parcial_)
                return tipo;
            resumen_->sinLeer << tipo;
            i = -1;
        } else if (i < 0 && !c.opcional && !parcial_) {
            // Only a column older files never had may be missing; any other is a damaged definition.
            return QStringLiteral("el archivo está dañado (a la tabla %1 le falta la columna %2)")
                .arg(nombre, col);
        } else if (i < 0) {
            resumen_->faltantes << QStringLiteral("columna %1.%2").arg(nombre, col);
        }
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

    int n = 0;
    motivo = copiarFilas(alta, *tabla, nuestra, origen, &n);
    if (motivo == kCancelado)
        return motivo;
    if (!motivo.isEmpty()) {
        // Where the reading stopped, against what the file promised.
        motivo += QStringLiteral("; se leyeron %1 de las %2 filas que declara la tabla %3")
                      .arg(tabla->filasLeidas())
                      .arg(tabla->filasDeclaradas())
                      .arg(nombre);
        if (!parcial_)
            return motivo;
        resumen_->sinLeer
            << QStringLiteral("tabla %1: %2 (se importaron %3 filas)").arg(nombre, motivo).arg(n);
    }
    if (nuestra.contador)
        resumen_->*nuestra.contador = n;
    else
        resumen_->conexion = n > 0;
    return {};
}

QString Importacion::copiarFilas(QSqlQuery& alta, TablaAccess& tabla, const TablaNuestra& nuestra,
                                 const std::vector<qsizetype>& origen, int* n) {
    const QString nombre = QString::fromUtf8(nuestra.nombre);
    QVariantList fila;
    int leidas = 0;
    while (tabla.siguiente(&fila)) {
        ++leidas;
        if ((leidas & 1023) == 0 && cancelado())
            return kCancelado;
        for (size_t c = 0; c < origen.size(); ++c) {
            const ColumnaNuestra& col = nuestra.columnas.at(c);
            QVariant valor;
            if (origen[c] >= 0) {
                // A row without a column of ours that the table defines: the definition says more
                // than the rows hold, as a damaged one does (or a column added after the row).
                if (!col.opcional && tabla.ausente(origen[c]))
                    return QStringLiteral("el archivo está dañado (la fila %1 de %2 no tiene la columna %3)")
                        .arg(leidas)
                        .arg(nombre, QString::fromUtf8(col.nombre));
                const TipoJet tipo = tabla.columnas().at(origen[c]).tipo;
                const auto v = ValoresAccess::convertir(col.clase, tipo, fila.at(origen[c]));
                if (!v)
                    return QStringLiteral(
                               "la fila %1 de %2 tiene en %3 un valor que no se puede guardar (%4)")
                        .arg(leidas)
                        .arg(nombre, QString::fromUtf8(col.nombre), fila.at(origen[c]).toString());
                valor = *v;
            } else if (col.clase == ClaseColumna::SiNo) {
                // An older file without the column: what comprobarTablas gives every existing row.
                valor = ValoresAccess::siNo(false);
            }
            if (c == 0 && nuestra.idObligatorio && valor.isNull())
                return QStringLiteral("la fila %1 de %2 no tiene id").arg(leidas).arg(nombre);
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
                    .arg(leidas)
                    .arg(nombre, alta.boundValue(0).toString());
            return QStringLiteral("no se pudo guardar la fila %1 de %2 (%3)")
                .arg(leidas)
                .arg(nombre, e.descripcion);
        }
        ++*n;
    }
    return tabla.error();
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

QString examinarArchivo(const QString& mdb) {
    const QFileInfo info(mdb);
    if (!info.exists() && !info.isSymLink())
        return QStringLiteral("el archivo no existe");
    if (info.isDir())
        return QStringLiteral("es una carpeta, no un archivo");
    if (!info.isFile())
        return QStringLiteral("no es un archivo común (es un dispositivo, una tubería o un enlace roto)");
    QFile archivo(mdb);
    if (!archivo.open(QIODevice::ReadOnly))
        return QStringLiteral("no se puede leer (%1)").arg(archivo.errorString());
    const QByteArray inicio = archivo.read(0x20);
    if (archivo.error() != QFileDevice::NoError)
        return QStringLiteral("no se puede leer (%1)").arg(archivo.errorString());
    // The signature alone, so that a file of any other kind is never read further; the header's
    // other checks come with the whole file.
    if (inicio.size() >= 0x14 && inicio.mid(4, 15) == QByteArrayLiteral("Standard Jet DB"))
        return {};
    const CabeceraAccess::Formato f = CabeceraAccess::examinar(inicio);
    return f.motivo.isEmpty() ? QStringLiteral("no es un archivo de Access") : f.motivo;
}

bool importar(const QString& mdb, const QString& destino, ResumenImportacion* resumen, QString* error,
              bool guardarAnterior, const std::atomic_bool* cancelar) {
    OpcionesImportacion o;
    o.guardarAnterior = guardarAnterior;
    o.cancelar = cancelar;
    return importar(mdb, destino, o, resumen, error);
}

namespace {
bool fallarCon(const QString& mdb, const QString& motivo, QString* error) {
    if (error)
        *error = QStringLiteral("No se puede importar %1: %2.").arg(QDir::toNativeSeparators(mdb), motivo);
    return false;
}
} // namespace

bool importar(const QString& mdb, const QString& destino, const OpcionesImportacion& opciones,
              ResumenImportacion* resumen, QString* error) {
    if (const QString motivo = examinarArchivo(mdb); !motivo.isEmpty())
        return fallarCon(mdb, motivo, error);
    QFile archivo(mdb);
    if (!archivo.open(QIODevice::ReadOnly))
        return fallarCon(mdb, QStringLiteral("no se puede leer (%1)").arg(archivo.errorString()), error);
    QByteArray datos = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return fallarCon(mdb, QStringLiteral("no se puede leer (%1)").arg(archivo.errorString()), error);
    archivo.close();
    return importarDatos(std::move(datos), mdb, destino, opciones, resumen, error);
}

bool importarDatos(QByteArray datos, const QString& mdb, const QString& destino,
                   const OpcionesImportacion& opciones, ResumenImportacion* resumen, QString* error) {
    ResumenImportacion propio;
    ArchivoSeguro salida(destino, opciones.guardarAnterior);
    salida.setAnterioresNumeradas(true);
    // The header first: a file that is no Access database leaves not even a temporary file behind.
    const CabeceraAccess::Formato formato = CabeceraAccess::examinar(datos);
    if (!formato.valido())
        return fallarCon(mdb, formato.motivo, error);
    switch (LecturaAislada::comprobar(datos, opciones.cancelar)) {
    case LecturaAislada::Resultado::Leida:
        break;
    case LecturaAislada::Resultado::Detenida:
        return fallarCon(mdb, QStringLiteral("el archivo está dañado (no se puede leer sin riesgo)"), error);
    case LecturaAislada::Resultado::Cancelada:
        return fallarCon(mdb, kCancelado, error);
    }
    if (!salida.preparar())
        return fallarCon(mdb, salida.error(), error);
    Importacion imp(&propio, opciones,
                    opciones.conservarDe.isEmpty() ? salida.destino() : opciones.conservarDe);
    // The file's one copy in memory goes to the reader.
    const QString motivo = imp.escribir(std::move(datos), salida.rutaTemporal());
    if (!motivo.isEmpty())
        return fallarCon(mdb, motivo, error);
    if (!salida.confirmar())
        return fallarCon(mdb, salida.error(), error);
    propio.anterior = salida.anteriorGuardada();
    if (resumen)
        *resumen = propio;
    return true;
}

} // namespace ImportacionAccess
