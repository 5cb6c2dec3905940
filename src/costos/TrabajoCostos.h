#pragma once

#include "core/Trabajo.h"
#include "costos/InformeCostos.h"

// The costs of a period computed on a worker thread, on a read-only connection of its own; the
// result's value holds the InformeCostos.
class TrabajoCostos : public TrabajoCon<InformeCostos> {
    Q_OBJECT
public:
    TrabajoCostos(const QString& archivo, PorCosto por, QDate desde, QDate hasta, QObject* padre = nullptr);

protected:
    Resultado hacer() override;

private:
    QString archivo_;
    PorCosto por_;
    QDate desde_;
    QDate hasta_;
};
