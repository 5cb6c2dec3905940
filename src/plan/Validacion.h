#pragma once

#include "core/Mensaje.h"
#include "db/BaseDatos.h"
#include "plan/PlanComun.h"

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

// "La fecha 31/02/2026 no existe: escríbala de nuevo." (a day the month lacks, as typed).
Mensaje fechaInexistente(const QString& escrita);

// The label of a field as a name in a message: "KILOS:" gives "KILOS".
QString nombreCampo(const QString& etiqueta);

// No mixer carries more; a larger amount in kilograms is asked about before it is stored.
inline constexpr double kKilosConfirmar = 100000;

// An amount of a plan row as typed, in its unit: a number in the regional or the C form, never
// with an exponent ("1e5"), never negative, a percentage at most 100.
struct RevisionCantidad {
    std::optional<double> valor; // none: refused with `mensaje`
    Mensaje mensaje;             // the refusal, or the question when `confirmar`
    bool confirmar = false;      // a kilogram amount above kKilosConfirmar: ask (Sí stores it)
};
RevisionCantidad cantidad(const QString& texto, const QString& campo, PlanComun::Unidad unidad);

// What a plan row points at in the catalogues and the plan.
enum class Referencia { Operario, Receta, Alimento, Viaje };
// Whether the id is there (an error of the lookup is returned in `error`).
bool existe(Referencia que, qint64 id, std::optional<ErrorBD>* error);
// "No existe el operario 7." and the like.
Mensaje inexistente(Referencia que, qint64 id);

} // namespace Validacion
