#pragma once

#include "core/Mensaje.h"

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Every message box and file or folder dialog of the program goes through here. In test mode
// nothing modal is shown: each call is recorded and answered from a queue (the next answer, the
// next file name), so a test can drive any window without hanging on a box.
namespace Dialogos {

Respuesta mostrar(QWidget* padre, const Mensaje& m);

// A file to save; empty when cancelled. Without `preguntarSiExiste` the dialog does not ask about
// an existing file (for a caller that asks itself, once it knows the final name).
QString archivoGuardar(QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro,
                       bool preguntarSiExiste = true);
// A file to open; empty when cancelled.
QString archivoAbrir(QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro);
// A folder; empty when cancelled.
QString carpeta(QWidget* padre, const QString& titulo, const QString& inicial);

// --- Test mode ---
// With `eco`, every recorded box is also printed on stderr.
void activarModoPrueba(bool activo = true, bool eco = false);
bool modoPrueba();
// Answer for the next message box; without one, a box is answered with its first button.
void encolarRespuesta(Respuesta r);
// Result of the next file or folder dialog (an empty text means cancelled).
void encolarRuta(const QString& ruta);
// Runs `accion` once while the next message box is open, before it is answered: the time a user
// takes to answer, during which the window's work goes on.
void alMostrar(std::function<void()> accion);
// The message boxes shown so far, oldest first.
QList<Mensaje> mostrados();
// The titles of the file and folder dialogs shown so far.
QStringList dialogosDeRuta();
void limpiar();

} // namespace Dialogos
