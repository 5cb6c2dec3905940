#pragma once

#include "core/Mensaje.h"
#include "db/BaseDatos.h"

#include <QString>
#include <optional>

// In-memory copies of the last connection settings read from `tipo_conexion`.
// `Direccion_Conexion` serves both connection types: it holds whichever was read last.
extern QString Direccion_Conexion;
extern QString Usuario_Web;
extern QString Clave_Web;

// Reads the row of one type ("directa" or "web") into the in-memory settings; a missing row is
// added holding only its type, and the settings are then left as they were.
std::optional<ErrorBD> Leer_Conexion(const QString& tipo);

// The start-up schema check: adds `recetas.calcula_kg` when it is missing (existing recipes
// then read 0). A failure is returned as the message to show; the program goes on.
std::optional<Mensaje> Comprobar_Tablas();

// The settings the main window stores when a box loses the focus. The text is bound, so an
// apostrophe is stored as typed.
enum class CampoAjuste { Direccion, Usuario, Clave };
std::optional<ErrorBD> Guardar_Ajuste(CampoAjuste campo, const QString& tipo, const QString& texto);
