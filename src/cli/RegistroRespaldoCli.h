#pragma once

#include "maint/AjustesRespaldo.h"

#include <QString>

// What the archive commands read from and write to a database they never keep open: the backup
// settings, the change count before a backup, and the record of a verified one. Each step uses a
// connection of its own to base.db, and only when the file is there, so a folder without a
// database gets none; any failure leaves the settings at their defaults and the record unwritten
// (the archive itself is what matters).
class RegistroRespaldoCli {
public:
    explicit RegistroRespaldoCli(const QString& carpetaDatos);

    const AjustesRespaldo& ajustes() const { return ajustes_; }
    const UltimoRespaldo& ultimo() const { return ultimo_; }
    // Records the archive as the last verified backup, holding the data as they were when this
    // object was made.
    void registrar(const QString& ruta, qint64 tamano) const;

private:
    QString base_;
    AjustesRespaldo ajustes_;
    UltimoRespaldo ultimo_;
    qint64 cambios_ = 0;
    bool leida_ = false;
};
