#pragma once

// Only for the sources of this folder that talk to libgcab; include after libgcab.h.
#include "maint/ArchivoCab.h"

#include <glib.h>

// A libgcab or GIO error as the user reads it: `archivo` names the file the operation was on.
// A null error (libgcab fails some damaged blocks without saying why) reads as a damaged archive.
FalloCab falloDe(const GError* error, const QString& archivo);
