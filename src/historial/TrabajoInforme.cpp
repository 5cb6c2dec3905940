#include "historial/TrabajoInforme.h"

TrabajoInforme::TrabajoInforme(const QString& archivo, Agrupacion agrupacion, QDate desde, QDate hasta,
                               double tolerancia, QObject* padre)
    : TrabajoCon(padre), archivo_(archivo), agrupacion_(agrupacion), desde_(desde), hasta_(hasta),
      tolerancia_(tolerancia) {}

Resultado TrabajoInforme::hacer() {
    InformePrecision informe;
    if (const auto e = InformePrecision::calcularEnArchivo(archivo_, agrupacion_, desde_, hasta_, tolerancia_,
                                                           &informe, [this] { return cancelado(); }))
        return Resultado::fallo(e->numero.toInt(), e->descripcion);
    return exito(informe);
}
