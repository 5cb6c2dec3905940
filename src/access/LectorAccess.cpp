// mdbtools.h includes glib inside its extern "C" block, which C++ glib cannot stand: glib comes
// first (its include guard then skips it there), and both before any Qt header. The Windows
// libmdb is built without GLib and carries its own small stand-in.
#ifndef _WIN32
#include <glib.h>
#endif
#include <mdbtools.h>

#include "access/LectorAccess.h"
#include "access/ValoresAccess.h"

#include <QtEndian>

#include <cstring>
#include <vector>

namespace {

TipoJet tipoDe(int tipoMdb) {
    switch (tipoMdb) {
    case MDB_BOOL:
        return TipoJet::SiNo;
    case MDB_BYTE:
        return TipoJet::Byte;
    case MDB_INT:
        return TipoJet::Entero;
    case MDB_LONGINT:
        return TipoJet::EnteroLargo;
    case MDB_MONEY:
        return TipoJet::Moneda;
    case MDB_FLOAT:
        return TipoJet::Simple;
    case MDB_DOUBLE:
        return TipoJet::Doble;
    case MDB_DATETIME:
        return TipoJet::Fecha;
    case MDB_TEXT:
        return TipoJet::Texto;
    case MDB_MEMO:
        return TipoJet::Memo;
    default:
        return TipoJet::Otro;
    }
}

// Bytes a fixed-size value takes in a row; 0 for variable-length types.
int tamanoFijo(TipoJet tipo) {
    switch (tipo) {
    case TipoJet::Byte:
        return 1;
    case TipoJet::Entero:
        return 2;
    case TipoJet::EnteroLargo:
    case TipoJet::Simple:
        return 4;
    case TipoJet::Moneda:
    case TipoJet::Doble:
    case TipoJet::Fecha:
        return 8;
    default:
        return 0;
    }
}

bool esTablaDeUsuario(const char* nombre) {
    return std::strncmp(nombre, "MSys", 4) != 0 && nombre[0] != '~';
}

// libmdb cuts any text at its bind size without a word: a memo gets room for the 65,535
// characters Access lets a user type, and one that fills it is refused rather than cut.
constexpr size_t kTamanoMemo = size_t(1) << 20;

} // namespace

// ---- LectorAccess ----

struct LectorAccess::Estado {
    QByteArray datos; // libmdb reads from this copy for as long as the handle lives
    MdbHandle* mdb = nullptr;

    ~Estado() {
        if (mdb)
            mdb_close(mdb);
    }
};

LectorAccess::LectorAccess() = default;
LectorAccess::~LectorAccess() = default;

namespace {
// Reads every row of a table and compares the count with the one its definition declares: a page
// that is missing or damaged makes libmdb skip its rows without a word.
bool filasCompletas(MdbTableDef* t) {
    mdb_read_columns(t);
    mdb_rewind_table(t);
    unsigned int leidas = 0;
    while (mdb_fetch_row(t))
        ++leidas;
    return leidas == t->num_rows;
}
} // namespace

bool LectorAccess::abrir(QByteArray datos, QString* motivo) {
    estado_ = std::make_unique<Estado>();
    // Taken, not shared: libmdb gets a writable pointer, and a shared buffer would be copied whole.
    estado_->datos = std::move(datos);
    estado_->mdb = mdb_open_buffer(estado_->datos.data(), size_t(estado_->datos.size()), MDB_NOFLAGS);
    if (!estado_->mdb) {
        *motivo = QStringLiteral("el archivo está dañado (no se pudo abrir)");
        return false;
    }
    MdbHandle* mdb = estado_->mdb;
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        *motivo = QStringLiteral("el archivo está dañado (no se puede leer la lista de tablas)");
        return false;
    }
    // The catalogue itself is a table (its definition always on page 2): a damaged page of it
    // would silently hide tables.
    MdbCatalogEntry catalogo;
    std::memset(&catalogo, 0, sizeof catalogo);
    catalogo.mdb = mdb;
    catalogo.object_type = MDB_TABLE;
    catalogo.table_pg = 2;
    std::strcpy(catalogo.object_name, "MSysObjects");
    MdbTableDef* t = mdb_read_table(&catalogo);
    const bool completa = t && filasCompletas(t);
    if (t)
        mdb_free_tabledef(t);
    if (!completa) {
        *motivo = QStringLiteral("el archivo está dañado (la lista de tablas está incompleta)");
        return false;
    }
    return true;
}

QStringList LectorAccess::tablas() const {
    QStringList r;
    if (!estado_ || !estado_->mdb)
        return r;
    MdbHandle* mdb = estado_->mdb;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && esTablaDeUsuario(e->object_name))
            r << QString::fromUtf8(e->object_name);
    }
    return r;
}

// ---- TablaAccess ----

struct TablaAccess::Estado {
    MdbHandle* mdb = nullptr;
    MdbTableDef* def = nullptr;
    std::vector<MdbField> campos;
    unsigned int leidas = 0;
    bool fin = false;

    ~Estado() {
        if (def)
            mdb_free_tabledef(def);
    }
};

std::unique_ptr<TablaAccess> LectorAccess::tabla(const QString& nombre, QString* motivo) {
    MdbHandle* mdb = estado_ ? estado_->mdb : nullptr;
    MdbCatalogEntry* entrada = nullptr;
    for (unsigned int i = 0; mdb && i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && QString::fromUtf8(e->object_name) == nombre)
            entrada = e;
    }
    auto estado = std::make_unique<TablaAccess::Estado>();
    estado->mdb = mdb;
    estado->def = entrada ? mdb_read_table(entrada) : nullptr;
    if (!estado->def || !mdb_read_columns(estado->def)) {
        *motivo = QStringLiteral("el archivo está dañado (no se puede leer la definición de la tabla %1)")
                      .arg(nombre);
        return nullptr;
    }
    std::unique_ptr<TablaAccess> t(new TablaAccess(nombre, std::move(estado)));
    MdbTableDef* def = t->estado_->def;
    // Two columns in one place of the row (the same number, the same variable slot, overlapping
    // fixed bytes) can only come from a damaged definition: libmdb would read one for the other.
    std::vector<const MdbColumn*> vistas;
    for (unsigned int i = 0; i < def->num_cols; ++i) {
        const auto* c = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
        for (const MdbColumn* o : vistas) {
            const bool fijas = c->is_fixed && o->is_fixed;
            const bool pisan = fijas && c->col_size > 0 && o->col_size > 0 &&
                               c->fixed_offset < o->fixed_offset + o->col_size &&
                               o->fixed_offset < c->fixed_offset + c->col_size;
            if (c->col_num == o->col_num || pisan ||
                (!c->is_fixed && !o->is_fixed && c->var_col_num == o->var_col_num)) {
                *motivo = QStringLiteral("el archivo está dañado (la definición de la tabla %1 pone las "
                                         "columnas %2 y %3 en el mismo lugar)")
                              .arg(nombre, QString::fromUtf8(o->name), QString::fromUtf8(c->name));
                return nullptr;
            }
        }
        vistas.push_back(c);
        t->columnas_.append({QString::fromUtf8(c->name), tipoDe(c->col_type)});
    }
    t->estado_->campos.resize(def->num_cols);
    mdb_rewind_table(def);
    return t;
}

TablaAccess::TablaAccess(QString nombre, std::unique_ptr<Estado> estado)
    : nombre_(std::move(nombre)), estado_(std::move(estado)) {}

TablaAccess::~TablaAccess() = default;

quint32 TablaAccess::filasDeclaradas() const {
    return estado_->def->num_rows;
}

quint32 TablaAccess::filasLeidas() const {
    return estado_->leidas;
}

bool TablaAccess::fallar(const QString& motivo) {
    error_ = motivo;
    estado_->fin = true;
    return false;
}

bool TablaAccess::siguiente(QVariantList* fila) {
    Estado& e = *estado_;
    if (e.fin)
        return false;
    MdbTableDef* def = e.def;
    MdbHandle* mdb = e.mdb;
    if (!mdb_fetch_row(def)) {
        e.fin = true;
        if (e.leidas != def->num_rows)
            return fallar(
                QStringLiteral("el archivo está dañado o incompleto (la tabla %1 declara %2 filas y "
                               "solo se pueden leer %3)")
                    .arg(nombre_)
                    .arg(def->num_rows)
                    .arg(e.leidas));
        return false;
    }
    if (++e.leidas > def->num_rows)
        return fallar(
            QStringLiteral("el archivo está dañado (la tabla %1 tiene más filas de las que declara)")
                .arg(nombre_));

    // The row libmdb has just read is still in its page buffer: split it again to learn which
    // values are null (libmdb's own binding cannot tell an empty text from a null) and where each
    // value's bytes lie, and read them as they are, not as libmdb's locale-dependent text.
    const int pagina = int(mdb->fmt->pg_size);
    int inicio = 0;
    size_t largo = 0;
    if (mdb_find_row(mdb, int(def->cur_row) - 1, &inicio, &largo) != 0)
        return fallar(
            QStringLiteral("el archivo está dañado (una fila de la tabla %1 no se puede leer)").arg(nombre_));
    inicio &= 0x1fff;
    const int columnasFila = mdb_crack_row(def, inicio, largo, e.campos.data());
    if (columnasFila < 0)
        return fallar(
            QStringLiteral("el archivo está dañado (una fila de la tabla %1 no se puede leer)").arg(nombre_));

    // The fixed values come first in a row, the variable ones after them: a fixed value that
    // reaches into them was placed by a damaged definition.
    int finFijas = inicio + int(largo);
    for (const MdbField& f : e.campos)
        if (!f.is_fixed && f.value != nullptr)
            finFijas = qMin(finFijas, f.start);
    for (const MdbField& f : e.campos)
        if (f.is_fixed && f.value != nullptr && (f.start < inicio || f.start + f.siz > finFijas))
            return fallar(QStringLiteral("el archivo está dañado (el valor de %1.%2 en la fila %3 no está en "
                                         "su lugar)")
                              .arg(nombre_, f.colnum >= 0 && f.colnum < columnas_.size()
                                                ? columnas_.at(f.colnum).nombre
                                                : QString())
                              .arg(e.leidas));

    fila->resize(columnas_.size());
    ausentes_.fill(true, columnas_.size());
    for (qsizetype i = 0; i < columnas_.size(); ++i)
        (*fila)[i] = QVariant();
    for (const MdbField& f : e.campos) {
        if (f.colnum < 0 || f.colnum >= columnas_.size())
            return fallar(QStringLiteral("el archivo está dañado (una fila de la tabla %1 no se puede leer)")
                              .arg(nombre_));
        // A column the row does not hold: libmdb leaves it without a place in the page, or (a fixed
        // column numbered past the row's columns) reads its null flag from beyond the row.
        const auto* columna = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, guint(f.colnum)));
        ausentes_[f.colnum] = f.value == nullptr || columna->col_num >= columnasFila;
        if (ausentes_[f.colnum]) {
            if (columnas_.at(f.colnum).tipo == TipoJet::SiNo)
                (*fila)[f.colnum] = false; // what Jet gives a yes/no added after the row
            continue;
        }
        const TipoJet tipo = columnas_.at(f.colnum).tipo;
        QVariant& v = (*fila)[f.colnum];
        if (tipo == TipoJet::SiNo) {
            // A yes/no lives in the null mask: its bit set means true.
            v = !f.is_null;
            continue;
        }
        if (f.is_null || tipo == TipoJet::Otro)
            continue;
        if (f.start < 0 || f.siz < 0 || f.start + f.siz > pagina)
            return fallar(QStringLiteral("el archivo está dañado (una fila de la tabla %1 no se puede leer)")
                              .arg(nombre_));
        const unsigned char* p = mdb->pg_buf + f.start;
        const int fijo = tamanoFijo(tipo);
        if (fijo && f.siz != fijo)
            return fallar(
                QStringLiteral("el archivo está dañado (un valor de %1.%2 no tiene el tamaño de su tipo)")
                    .arg(nombre_, columnas_.at(f.colnum).nombre));
        switch (tipo) {
        case TipoJet::Byte:
            v = qint64(p[0]);
            break;
        case TipoJet::Entero:
            v = qint64(qFromLittleEndian<qint16>(p));
            break;
        case TipoJet::EnteroLargo:
            v = qint64(qFromLittleEndian<qint32>(p));
            break;
        case TipoJet::Moneda:
            v = ValoresAccess::desdeMoneda(qFromLittleEndian<qint64>(p));
            break;
        case TipoJet::Simple:
            v = ValoresAccess::desdeSimple(qFromLittleEndian<float>(p));
            break;
        case TipoJet::Doble:
        case TipoJet::Fecha:
            v = qFromLittleEndian<double>(p);
            break;
        case TipoJet::Texto:
        case TipoJet::Memo: {
            const bool memo = tipo == TipoJet::Memo;
            // A memo starts with its length and where it is kept: inline after these 12 bytes, or
            // on pages of its own. libmdb gives an empty text, without a word, for one it cannot
            // follow; what the header promises is checked against what comes back.
            quint32 largoMemo = 0;
            if (memo) {
                const quint32 cabecera = f.siz >= 12 ? qFromLittleEndian<quint32>(p) : 0xffffffffu;
                largoMemo = cabecera & 0x3fffffffu;
                const quint32 dondeMemo = cabecera & 0xff000000u;
                const bool coherente = dondeMemo == 0x80000000u ? quint32(f.siz) == 12 + largoMemo
                                       : dondeMemo == 0x40000000u || dondeMemo == 0 ? f.siz == 12
                                                                                    : false;
                if (f.siz < 12 || !coherente || largoMemo >= kTamanoMemo)
                    return fallar(QStringLiteral("el archivo está dañado (un texto de %1.%2 en la fila %3 no "
                                                 "se puede leer)")
                                      .arg(nombre_, columnas_.at(f.colnum).nombre)
                                      .arg(e.leidas));
            }
            const size_t tamano = mdb->bind_size;
            if (memo)
                mdb_set_bind_size(mdb, kTamanoMemo);
            char* t = mdb_col_to_string(mdb, mdb->pg_buf, f.start, memo ? MDB_MEMO : MDB_TEXT, f.siz);
            if (memo)
                mdb_set_bind_size(mdb, tamano);
            const size_t largo = t ? std::strlen(t) : 0;
            v = ValoresAccess::texto(t, qsizetype(largo));
            g_free(t);
            if (largo + 8 >= (memo ? kTamanoMemo : tamano))
                return fallar(QStringLiteral("un texto de %1.%2 es demasiado largo")
                                  .arg(nombre_, columnas_.at(f.colnum).nombre));
            if (memo && largoMemo > 0 && largo == 0)
                return fallar(QStringLiteral("el archivo está dañado (un texto de %1.%2 en la fila %3 no se "
                                             "puede leer)")
                                  .arg(nombre_, columnas_.at(f.colnum).nombre)
                                  .arg(e.leidas));
            break;
        }
        case TipoJet::SiNo:
        case TipoJet::Otro:
            break;
        }
    }
    return true;
}
