#pragma once

class QCoreApplication;

// Qt's own texts (the buttons and labels of its file dialogs, its calendar, its context menus) in
// Spanish like the rest of the program, whatever the system's language.
namespace TraduccionQt {
// False when Qt's Spanish translations are not installed: Qt then speaks English.
bool instalar(QCoreApplication* aplicacion);
} // namespace TraduccionQt
