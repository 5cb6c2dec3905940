#pragma once

// Only for the sources of this folder that talk to libgcab; include after libgcab.h.
#include <gio/gio.h>

// libgcab never calls its own progress callback, so the archive work counts the bytes itself, in
// two GIO streams that stand between libgcab and the file. Each calls `aviso(datos, cuenta)` as
// the bytes go by; `aviso` returning false stops the work (the stream then fails as cancelled).
typedef gboolean (*AvisoFlujo)(void* datos, gint64 cuenta);

// Reading an archive: a seekable stream over `base` (a seekable input stream, which it keeps a
// reference to). `cuenta` is the position in the archive after each read.
GInputStream* flujoEntradaContada(GInputStream* base, AvisoFlujo aviso, void* datos);

// Writing an archive: a seekable stream over `base` (a seekable output stream) that reads the
// data blocks going out and reports, after each whole block, the uncompressed bytes they hold.
// The blocks start at byte `inicioBloques` (what precedes them is the archive's header). Once
// libgcab goes back to write the header, nothing more is counted.
GOutputStream* flujoSalidaContada(GOutputStream* base, gint64 inicioBloques, AvisoFlujo aviso, void* datos);
