#include "costos/TrabajoCostos.h"

TrabajoCostos::TrabajoCostos(const QString& archivo, PorCosto por, QDate desde, QDate hasta, QObject* padre)
    : TrabajoCon(padre), archivo_(archivo), por_(por), desde_(desde), hasta_(hasta) {}

Resultado TrabajoCostos::hacer() {
    InformeCostos informe;
    if (const auto e = InformeCostos::calcularEnArchivo(archivo_, por_, desde_, hasta_, &informe,
                                                        [this] { return cancelado(); }))
        return Resultado::fallo(e->numero.toInt(), e->descripcion);
    if (cancelado())
        return Resultado::interrumpido();
    return exito(informe);
}
