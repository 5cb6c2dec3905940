#pragma once

#include "core/Trabajo.h"

#include <memory>

namespace DocumentoImpreso {
struct Documento;
}
namespace DibujoDocumento {
struct Papel;
}

// Draws a document into a PDF file off the window's thread (a day of hundreds of trips takes a
// noticeable moment), written safely: the file appears whole or not at all. (The document is kept
// out of this header, which the core's meta-object code also reads, without Qt Gui.)
class EscrituraPdf : public TrabajoCon<QString> {
    Q_OBJECT
public:
    EscrituraPdf(const DocumentoImpreso::Documento& documento, const DibujoDocumento::Papel& papel,
                 const QString& ruta, QObject* padre = nullptr);
    ~EscrituraPdf() override;
    const QString& ruta() const;

protected:
    Resultado hacer() override;

private:
    struct Datos;
    const std::unique_ptr<const Datos> datos_;
};
