#pragma once

#include "core/Mensaje.h"

#include <QString>
#include <optional>

// Checks of what the user types into the plan windows before anything is written. Trip numbers,
// ids, operators and orders travel as 16-bit signed numbers (the tablet and the upload rely on it).
namespace Validacion {

inline constexpr int kMinimo16 = -32768;
inline constexpr int kMaximo16 = 32767;

bool cabeEn16(qint64 valor);

// A whole number in the 16-bit range, blanks around it allowed ("12", "-3"); nothing otherwise.
std::optional<int> entero16(const QString& texto);

// "El valor de CAMPO debe ser un número entero entre -32768 y 32767."
Mensaje enteroInvalido(const QString& campo);
// "El valor de CAMPO debe ser un número."
Mensaje numeroInvalido(const QString& campo);
// "CUAL (N) tiene un id fuera del rango de -32768 a 32767." ("La receta elegida", "El alimento elegido").
Mensaje idFueraDeRango(const QString& cual, qint64 id);

// The label of a field as a name in a message: "KILOS:" gives "KILOS".
QString nombreCampo(const QString& etiqueta);

} // namespace Validacion
