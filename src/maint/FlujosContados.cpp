#include <libgcab.h>

#include "maint/FlujosContados.h"

// Two small GObject types. Each forwards every call to the stream it wraps; the seeking calls
// are forwarded too, because libgcab seeks both while reading and while writing.

namespace {

gssize cancelar(GError** error) {
    g_set_error_literal(error, G_IO_ERROR, G_IO_ERROR_CANCELLED, "cancelado");
    return -1;
}

} // namespace

// ---- Reading ----

struct EntradaContada {
    GInputStream padre;
    GInputStream* base;
    AvisoFlujo aviso;
    void* datos;
};
struct EntradaContadaClass {
    GInputStreamClass padre;
};

static void entrada_contada_seekable_init(GSeekableIface* iface);
G_DEFINE_TYPE_WITH_CODE(EntradaContada, entrada_contada, G_TYPE_INPUT_STREAM,
                        G_IMPLEMENT_INTERFACE(G_TYPE_SEEKABLE, entrada_contada_seekable_init))

#define ENTRADA(o) (reinterpret_cast<EntradaContada*>(o))

static gssize entrada_leer(GInputStream* s, void* buffer, gsize cuantos, GCancellable* c, GError** error) {
    EntradaContada* e = ENTRADA(s);
    const gssize n = g_input_stream_read(e->base, buffer, cuantos, c, error);
    if (n > 0 && e->aviso && !e->aviso(e->datos, g_seekable_tell(G_SEEKABLE(e->base))))
        return cancelar(error);
    return n;
}

static gboolean entrada_cerrar(GInputStream* s, GCancellable* c, GError** error) {
    return g_input_stream_close(ENTRADA(s)->base, c, error);
}

static void entrada_finalizar(GObject* o) {
    g_clear_object(&ENTRADA(o)->base);
    G_OBJECT_CLASS(entrada_contada_parent_class)->finalize(o);
}

static void entrada_contada_class_init(EntradaContadaClass* k) {
    G_OBJECT_CLASS(k)->finalize = entrada_finalizar;
    G_INPUT_STREAM_CLASS(k)->read_fn = entrada_leer;
    G_INPUT_STREAM_CLASS(k)->close_fn = entrada_cerrar;
}

static void entrada_contada_init(EntradaContada*) {}

static goffset entrada_posicion(GSeekable* s) {
    return g_seekable_tell(G_SEEKABLE(ENTRADA(s)->base));
}
static gboolean entrada_puede_mover(GSeekable* s) {
    return g_seekable_can_seek(G_SEEKABLE(ENTRADA(s)->base));
}
static gboolean entrada_mover(GSeekable* s, goffset donde, GSeekType tipo, GCancellable* c, GError** error) {
    return g_seekable_seek(G_SEEKABLE(ENTRADA(s)->base), donde, tipo, c, error);
}
static gboolean entrada_puede_truncar(GSeekable*) {
    return FALSE;
}
static gboolean entrada_truncar(GSeekable*, goffset, GCancellable*, GError** error) {
    g_set_error_literal(error, G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED, "no se puede truncar");
    return FALSE;
}

static void entrada_contada_seekable_init(GSeekableIface* iface) {
    iface->tell = entrada_posicion;
    iface->can_seek = entrada_puede_mover;
    iface->seek = entrada_mover;
    iface->can_truncate = entrada_puede_truncar;
    iface->truncate_fn = entrada_truncar;
}

GInputStream* flujoEntradaContada(GInputStream* base, AvisoFlujo aviso, void* datos) {
    auto* e = static_cast<EntradaContada*>(g_object_new(entrada_contada_get_type(), nullptr));
    e->base = G_INPUT_STREAM(g_object_ref(base));
    e->aviso = aviso;
    e->datos = datos;
    return G_INPUT_STREAM(e);
}

// ---- Writing ----

// A data block on disk: checksum (4 bytes), compressed size (2), uncompressed size (2), then the
// compressed bytes.
constexpr int kCabeceraBloque = 8;

struct SalidaContada {
    GOutputStream padre;
    GOutputStream* base;
    AvisoFlujo aviso;
    void* datos;
    gint64 posicion;      // where the next byte goes
    gint64 inicioBloques; // first byte of the first block
    gboolean contando;    // false once libgcab seeks back to the header
    guint8 cabecera[kCabeceraBloque];
    int enCabecera;      // bytes of the current block header seen so far
    gint64 restan;       // compressed bytes of the current block still to come
    gint64 sinComprimir; // uncompressed bytes of the current block
    gint64 hecho;        // uncompressed bytes of the whole blocks written
};
struct SalidaContadaClass {
    GOutputStreamClass padre;
};

static void salida_contada_seekable_init(GSeekableIface* iface);
G_DEFINE_TYPE_WITH_CODE(SalidaContada, salida_contada, G_TYPE_OUTPUT_STREAM,
                        G_IMPLEMENT_INTERFACE(G_TYPE_SEEKABLE, salida_contada_seekable_init))

#define SALIDA(o) (reinterpret_cast<SalidaContada*>(o))

// Follows the block structure through `n` bytes just written; false when the work must stop.
static gboolean salida_seguir(SalidaContada* s, const guint8* p, gsize n) {
    gint64 desde = s->posicion;
    s->posicion += static_cast<gint64>(n);
    if (!s->contando)
        return TRUE;
    if (desde < s->inicioBloques) {
        const gint64 saltar = MIN(static_cast<gint64>(n), s->inicioBloques - desde);
        p += saltar;
        n -= static_cast<gsize>(saltar);
    }
    gboolean seguir = TRUE;
    while (n > 0) {
        if (s->restan > 0) {
            const gint64 tomar = MIN(static_cast<gint64>(n), s->restan);
            s->restan -= tomar;
            p += tomar;
            n -= static_cast<gsize>(tomar);
            if (s->restan == 0) {
                s->hecho += s->sinComprimir;
                if (s->aviso && !s->aviso(s->datos, s->hecho))
                    seguir = FALSE;
            }
            continue;
        }
        s->cabecera[s->enCabecera++] = *p++;
        --n;
        if (s->enCabecera == kCabeceraBloque) {
            s->enCabecera = 0;
            s->restan = s->cabecera[4] | (s->cabecera[5] << 8);
            s->sinComprimir = s->cabecera[6] | (s->cabecera[7] << 8);
        }
    }
    return seguir;
}

static gssize salida_escribir(GOutputStream* o, const void* buffer, gsize cuantos, GCancellable* c,
                              GError** error) {
    SalidaContada* s = SALIDA(o);
    const gssize n = g_output_stream_write(s->base, buffer, cuantos, c, error);
    if (n > 0 && !salida_seguir(s, static_cast<const guint8*>(buffer), static_cast<gsize>(n)))
        return cancelar(error);
    return n;
}

static gboolean salida_vaciar(GOutputStream* o, GCancellable* c, GError** error) {
    return g_output_stream_flush(SALIDA(o)->base, c, error);
}

static gboolean salida_cerrar(GOutputStream* o, GCancellable* c, GError** error) {
    return g_output_stream_close(SALIDA(o)->base, c, error);
}

static void salida_finalizar(GObject* o) {
    g_clear_object(&SALIDA(o)->base);
    G_OBJECT_CLASS(salida_contada_parent_class)->finalize(o);
}

static void salida_contada_class_init(SalidaContadaClass* k) {
    G_OBJECT_CLASS(k)->finalize = salida_finalizar;
    G_OUTPUT_STREAM_CLASS(k)->write_fn = salida_escribir;
    G_OUTPUT_STREAM_CLASS(k)->flush = salida_vaciar;
    G_OUTPUT_STREAM_CLASS(k)->close_fn = salida_cerrar;
}

static void salida_contada_init(SalidaContada*) {}

static goffset salida_posicion(GSeekable* s) {
    return g_seekable_tell(G_SEEKABLE(SALIDA(s)->base));
}
static gboolean salida_puede_mover(GSeekable* s) {
    return g_seekable_can_seek(G_SEEKABLE(SALIDA(s)->base));
}
static gboolean salida_mover(GSeekable* o, goffset donde, GSeekType tipo, GCancellable* c, GError** error) {
    SalidaContada* s = SALIDA(o);
    if (!g_seekable_seek(G_SEEKABLE(s->base), donde, tipo, c, error))
        return FALSE;
    s->contando = FALSE;
    s->posicion = g_seekable_tell(G_SEEKABLE(s->base));
    return TRUE;
}
static gboolean salida_puede_truncar(GSeekable* s) {
    return g_seekable_can_truncate(G_SEEKABLE(SALIDA(s)->base));
}
static gboolean salida_truncar(GSeekable* s, goffset largo, GCancellable* c, GError** error) {
    return g_seekable_truncate(G_SEEKABLE(SALIDA(s)->base), largo, c, error);
}

static void salida_contada_seekable_init(GSeekableIface* iface) {
    iface->tell = salida_posicion;
    iface->can_seek = salida_puede_mover;
    iface->seek = salida_mover;
    iface->can_truncate = salida_puede_truncar;
    iface->truncate_fn = salida_truncar;
}

GOutputStream* flujoSalidaContada(GOutputStream* base, gint64 inicioBloques, AvisoFlujo aviso, void* datos) {
    auto* s = static_cast<SalidaContada*>(g_object_new(salida_contada_get_type(), nullptr));
    s->base = G_OUTPUT_STREAM(g_object_ref(base));
    s->aviso = aviso;
    s->datos = datos;
    s->posicion = g_seekable_tell(G_SEEKABLE(base));
    s->inicioBloques = inicioBloques;
    s->contando = TRUE;
    return G_OUTPUT_STREAM(s);
}
