#include "impresion/EscrituraPdf.h"

#include "impresion/DibujoDocumento.h"
#include "impresion/DocumentoImpreso.h"

struct EscrituraPdf::Datos {
    DocumentoImpreso::Documento documento;
    DibujoDocumento::Papel papel;
    QString ruta;
};

EscrituraPdf::EscrituraPdf(const DocumentoImpreso::Documento& documento, const DibujoDocumento::Papel& papel,
                           const QString& ruta, QObject* padre)
    : TrabajoCon(padre), datos_(std::make_unique<const Datos>(Datos{documento, papel, ruta})) {}

EscrituraPdf::~EscrituraPdf() = default;

const QString& EscrituraPdf::ruta() const {
    return datos_->ruta;
}

Resultado EscrituraPdf::hacer() {
    QString error;
    if (!DibujoDocumento::escribirPdf(datos_->documento, datos_->papel, datos_->ruta, &error))
        return Resultado::fallo(0, error);
    return exito(datos_->ruta);
}
