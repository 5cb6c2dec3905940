#include "historial/TrabajoCargas.h"

TrabajoCargas::TrabajoCargas(const QString& archivo, const InformePrecision& informe,
                             const std::optional<QString>& grupo, QObject* padre)
    : TrabajoCon(padre), archivo_(archivo), informe_(informe), grupo_(grupo) {
    informe_.grupos.clear(); // only the range and the rule are needed
}

Resultado TrabajoCargas::hacer() {
    CargasPrecision lista;
    if (const auto e = CargasPrecision::listarEnArchivo(archivo_, informe_, grupo_, &lista,
                                                        [this] { return cancelado(); }))
        return Resultado::fallo(e->numero.toInt(), e->descripcion);
    if (cancelado())
        return Resultado::interrumpido();
    return exito(lista);
}
