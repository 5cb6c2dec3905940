#pragma once

#include "core/Mensaje.h"
#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// The settings of one connection type as stored in `tipo_conexion`; the direct link uses only
// the address.
struct AjustesConexion {
    QString direccion;
    QString usuario;
    QString clave;
};

// What leerConexion found: the row's settings, or none when the row was missing (it is then added
// holding only its type, and whoever shows settings keeps what it had) or could not be read.
struct LecturaConexion {
    std::optional<AjustesConexion> ajustes;
    std::optional<ErrorBD> error;
};

// Reads the row of one type ("directa" or "web"). A null column reads as empty text.
LecturaConexion leerConexion(const QString& tipo);

// The start-up schema check: adds `recetas.calcula_kg` when it is missing (existing recipes
// then read 0). A failure is returned as the message to show; the program goes on.
std::optional<Mensaje> comprobarTablas();

// The settings the main window stores when a box loses the focus. The text is bound, so an
// apostrophe is stored as typed.
enum class CampoAjuste { Direccion, Usuario, Clave };
std::optional<ErrorBD> guardarAjuste(CampoAjuste campo, const QString& tipo, const QString& texto);
