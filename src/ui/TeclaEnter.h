#pragma once

class QApplication;

// Users coming from other desktop programs press Enter on a focused button as they press Space.
// One application-wide filter gives every button of every window that behaviour, and a style rule
// draws a visible ring around the focused button.
namespace TeclaEnter {
// Installs the filter and the focus ring once; later calls do nothing.
void instalar(QApplication* aplicacion);
} // namespace TeclaEnter
