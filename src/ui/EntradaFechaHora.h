#pragma once

class QDateTimeEdit;

// A date or time box clicked into takes a whole value typed from its first part ("06:30", "6:30",
// "0630", "07/12/2026") wherever the click landed: the click that gives it the focus selects its
// first section, and a separator typed after a section that filled itself is not taken as a
// move to the one after.
namespace EntradaFechaHora {
void desdeElPrincipio(QDateTimeEdit* caja);
} // namespace EntradaFechaHora
