#include "historial/TrabajoInforme.h"

TrabajoInforme::TrabajoInforme(const QString& archivo, Agrupacion agrupacion, QDate desde, QDate hasta,
                               double tolerancia, QObject* padre)
    : Trabajo(padre), archivo_(archivo), agrupacion_(agrupacion), desde_(desde), hasta_(hasta),
      tolerancia_(tolerancia) {}

TrabajoInforme::~TrabajoInforme() {
    detener();
}

Resultado TrabajoInforme::hacer() {
    InformePrecision informe;
    if (const auto e = InformePrecision::calcularEnArchivo(archivo_, agrupacion_, desde_, hasta_, tolerancia_,
                                                           &informe, [this] { return cancelado(); }))
        return Resultado::fallo(e->numero.toInt(), e->descripcion);
    return Resultado::exito(QVariant::fromValue(informe));
}
