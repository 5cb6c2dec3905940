#include <libgcab.h>

#include "maint/ArchivoCab.h"
#include "maint/ErroresCab.h"
#include "maint/FlujosContados.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <vector>

namespace {

// A path as GLib takes it: UTF-8 on Windows, the file system's encoding elsewhere.
QByteArray rutaGio(const QString& ruta) {
#ifdef Q_OS_WIN
    return ruta.toUtf8();
#else
    return QFile::encodeName(ruta);
#endif
}

GFile* archivoGio(const QString& ruta) {
    return g_file_new_for_path(rutaGio(ruta).constData());
}

QString nombreDe(GCabFile* f) {
    return QString::fromUtf8(gcab_file_get_name(f));
}

// The part of a stored name after its last folder separator.
QString ultimaParte(const QString& nombre) {
    const int i = qMax(nombre.lastIndexOf(u'\\'), nombre.lastIndexOf(u'/'));
    return nombre.mid(i + 1);
}

} // namespace

struct ArchivoCab::Datos {
    GCabCabinet* cabina = nullptr;
    GInputStream* flujo = nullptr;
    std::vector<GCabFile*> archivos;
    QStringList nombres;
    qint64 tamano = 0;
    const AvanceCab* avance = nullptr; // of the operation in course

    ~Datos() {
        for (GCabFile* f : archivos)
            g_object_unref(f);
        g_clear_object(&cabina);
        g_clear_object(&flujo);
    }

    static gboolean aviso(void* datos, gint64 posicion) {
        const AvanceCab* a = static_cast<Datos*>(datos)->avance;
        return !a || !*a || (*a)(posicion);
    }
};

ArchivoCab::ArchivoCab(const QString& ruta) : ruta_(ruta), d_(std::make_unique<Datos>()) {}

ArchivoCab::~ArchivoCab() = default;

bool ArchivoCab::abrir(FalloCab* fallo) {
    d_ = std::make_unique<Datos>();
    GError* error = nullptr;
    if (QFileInfo(ruta_).isFile() && QFileInfo(ruta_).size() == 0) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 está vacío: no es un archivo de Back Up (.cab).")
                             .arg(QDir::toNativeSeparators(ruta_))};
        return false;
    }
    GFile* archivo = archivoGio(ruta_);
    GFileInputStream* crudo = g_file_read(archivo, nullptr, &error);
    g_object_unref(archivo);
    bool ok = crudo != nullptr;
    if (ok) {
        d_->flujo = flujoEntradaContada(G_INPUT_STREAM(crudo), &Datos::aviso, d_.get());
        g_object_unref(crudo);
        d_->cabina = gcab_cabinet_new();
        ok = gcab_cabinet_load(d_->cabina, d_->flujo, nullptr, &error);
    }
    if (ok) {
        GPtrArray* carpetas = gcab_cabinet_get_folders(d_->cabina);
        for (guint i = 0; i < carpetas->len; ++i) {
            GSList* lista = gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(carpetas, i)));
            for (GSList* l = lista; l; l = l->next) {
                auto* f = GCAB_FILE(g_object_ref(l->data));
                d_->archivos.push_back(f);
                d_->nombres << nombreDe(f);
            }
            g_slist_free(lista);
        }
        d_->tamano = QFileInfo(ruta_).size();
    }
    if (!ok) {
        if (fallo)
            *fallo = falloDe(error, ruta_);
        g_clear_error(&error);
        d_ = std::make_unique<Datos>();
    }
    return ok;
}

qint64 ArchivoCab::tamano() const {
    return d_->tamano;
}

const QStringList& ArchivoCab::nombres() const {
    return d_->nombres;
}

qint64 ArchivoCab::leidoHasta(int indice) const {
    qint64 hasta = 0;
    qint64 todo = 0;
    for (int i = 0; i < static_cast<int>(d_->archivos.size()); ++i) {
        const qint64 t = gcab_file_get_size(d_->archivos[static_cast<size_t>(i)]);
        todo += t;
        if (i <= indice)
            hasta += t;
    }
    return todo > 0 ? qMax<qint64>(1, qint64(double(d_->tamano) * double(hasta) / double(todo))) : d_->tamano;
}

int ArchivoCab::buscar(const QString& nombre) const {
    int enCarpeta = -1;
    for (int i = 0; i < d_->nombres.size(); ++i) {
        const QString& n = d_->nombres[i];
        if (n.compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
        if (enCarpeta < 0 && ultimaParte(n).compare(nombre, Qt::CaseInsensitive) == 0)
            enCarpeta = i;
    }
    return enCarpeta;
}

namespace {
gboolean soloEste(GCabFile* f, gpointer buscado) {
    return f == buscado;
}
} // namespace

bool ArchivoCab::extraer(int indice, const QString& carpeta, const QString& comoNombre,
                         const AvanceCab& avance, FalloCab* fallo) {
    if (indice < 0 || indice >= static_cast<int>(d_->archivos.size()) || !d_->cabina) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 no contiene ese archivo.").arg(ruta_)};
        return false;
    }
    GCabFile* f = d_->archivos[static_cast<size_t>(indice)];
    gcab_file_set_extract_name(f, rutaGio(comoNombre).constData());
    const bool ok = expandir(carpeta, f, avance, fallo);
    gcab_file_set_extract_name(f, nullptr);
    return ok;
}

bool ArchivoCab::expandir(const QString& carpeta, void* solo, const AvanceCab& avance, FalloCab* fallo) {
    GError* error = nullptr;
    GFile* destino = archivoGio(carpeta);
    d_->avance = &avance;
    const bool ok =
        gcab_cabinet_extract_simple(d_->cabina, destino, solo ? soloEste : nullptr, solo, nullptr, &error);
    d_->avance = nullptr;
    g_object_unref(destino);
    if (!ok && fallo) {
        *fallo = falloDe(error, ruta_);
        // The archive is only read: a full disk is the one being written to.
        if (error && error->domain == G_IO_ERROR && error->code == G_IO_ERROR_NO_SPACE)
            *fallo = {ENOSPC, QStringLiteral("No queda espacio en el disco de la carpeta %1.")
                                  .arg(QDir::toNativeSeparators(carpeta))};
    }
    g_clear_error(&error);
    return ok;
}

bool ArchivoCab::extraerTodo(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo) {
    if (!d_->cabina) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 no está abierto.").arg(ruta_)};
        return false;
    }
    return expandir(carpeta, nullptr, avance, fallo);
}

bool ArchivoCab::extraerNumerados(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo) {
    if (!d_->cabina)
        return extraerTodo(carpeta, avance, fallo);
    for (size_t i = 0; i < d_->archivos.size(); ++i)
        gcab_file_set_extract_name(d_->archivos[i], QByteArray::number(qulonglong(i + 1)).constData());
    const bool ok = expandir(carpeta, nullptr, avance, fallo);
    for (GCabFile* f : d_->archivos)
        gcab_file_set_extract_name(f, nullptr);
    return ok;
}

// ---- Writing ----

namespace {

// Fixed parts of the archive before the first data block: the cabinet header (36 bytes), one
// folder entry (8) and, per file, 16 bytes plus its name and a NUL.
constexpr qint64 kCabecera = 36 + 8;
constexpr qint64 kPorArchivo = 16 + 1;
// A cabinet folder counts its data blocks (32 KB each) in 16 bits.
constexpr qint64 kMaximo = qint64(65535) * 32768;

gboolean avisoEscritura(void* datos, gint64 hecho) {
    const AvanceCab* a = static_cast<const AvanceCab*>(datos);
    return !*a || (*a)(hecho);
}

} // namespace

qint64 escribirCab(const QStringList& archivos, const QString& destino, const AvanceCab& avance,
                   FalloCab* fallo) {
    GError* error = nullptr;
    GCabCabinet* cabina = gcab_cabinet_new();
    GCabFolder* carpeta = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    gcab_cabinet_add_folder(cabina, carpeta, nullptr);
    qint64 inicioBloques = kCabecera;
    qint64 total = 0;
    QString culpable = destino;
    bool ok = true;
    for (const QString& ruta : archivos) {
        const QByteArray nombre = QFileInfo(ruta).fileName().toUtf8();
        GFile* origen = archivoGio(ruta);
        GCabFile* f = gcab_file_new_with_file(nombre.constData(), origen);
        ok = gcab_folder_add_file(carpeta, f, FALSE, nullptr, &error);
        g_object_unref(f);
        g_object_unref(origen);
        if (!ok) {
            culpable = ruta;
            break;
        }
        inicioBloques += kPorArchivo + nombre.size();
        total += QFileInfo(ruta).size();
    }
    if (ok && total > kMaximo) {
        ok = false;
        if (fallo)
            *fallo = {EFBIG,
                      QStringLiteral("Los archivos suman %1 bytes: un archivo de Back Up no puede guardar "
                                     "más de 2 GB.")
                          .arg(total)};
    } else if (ok) {
        // Written in place: GIO's replace would write a hidden file of its own beside it first
        // (".goutputstream-..."), which a killed process would leave behind.
        GFile* salida = archivoGio(destino);
        GFileIOStream* crudo = nullptr;
        if (QFileInfo::exists(destino)) {
            crudo = g_file_open_readwrite(salida, nullptr, &error);
            if (crudo && !g_seekable_truncate(G_SEEKABLE(crudo), 0, nullptr, &error))
                g_clear_object(&crudo);
        } else {
            crudo = g_file_create_readwrite(salida, G_FILE_CREATE_NONE, nullptr, &error);
        }
        g_object_unref(salida);
        ok = crudo != nullptr;
        if (ok) {
            GOutputStream* contada =
                flujoSalidaContada(g_io_stream_get_output_stream(G_IO_STREAM(crudo)), inicioBloques,
                                   avisoEscritura, const_cast<AvanceCab*>(&avance));
            ok = gcab_cabinet_write_simple(cabina, contada, nullptr, nullptr, nullptr, &error);
            // Closed even after a failure, so the file is released; the first error is kept.
            const bool cerrado = g_output_stream_close(contada, nullptr, ok ? &error : nullptr);
            ok = ok && cerrado;
            g_object_unref(contada);
            g_io_stream_close(G_IO_STREAM(crudo), nullptr, nullptr);
            g_object_unref(crudo);
        }
        if (!ok && fallo)
            *fallo = falloDe(error, culpable);
    } else if (fallo) {
        *fallo = falloDe(error, culpable);
    }
    g_clear_error(&error);
    g_object_unref(carpeta);
    g_object_unref(cabina);
    return ok ? QFileInfo(destino).size() : -1;
}
