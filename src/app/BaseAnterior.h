#pragma once

#include <QString>

class QWidget;

// Farms on Windows come from the earlier program, whose base.mdb sits in its own folder. On a
// first start with no data at all (neither base.db nor a base.mdb in the data folder) the user
// is offered to choose that folder; its base.mdb is copied into the data folder, where the
// first-start import then takes it as it would any base.mdb found there.
namespace BaseAnterior {

// False only when the chosen file could not be copied (the reason has been shown).
bool ofrecer(const QString& carpetaDatos, QWidget* padre = nullptr);

} // namespace BaseAnterior
