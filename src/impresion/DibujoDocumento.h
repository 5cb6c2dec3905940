#pragma once

#include "impresion/DocumentoImpreso.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

// Lays a document out on pages and draws it: the farm's name and the title at the head of each
// page, "Página N de M" at its foot, the table's headers again on every page the table spans, and
// a group of rows moved whole to the next page when it does not fit on what is left of this one.
namespace DibujoDocumento {

struct Papel {
    QPageSize::PageSizeId tamano = QPageSize::A4;
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
};
// The page layout of a paper, with the margins every page keeps.
QPageLayout disposicion(const Papel& papel);

// Draws the document on a device whose page layout is already set (a printer, a PDF writer);
// the number of pages.
int dibujar(const DocumentoImpreso::Documento& documento, QPagedPaintDevice& dispositivo);

// The document as a PDF file's bytes.
QByteArray pdf(const DocumentoImpreso::Documento& documento, const Papel& papel);
// The PDF written safely to `ruta`; false with the reason in `error`.
bool escribirPdf(const DocumentoImpreso::Documento& documento, const Papel& papel, const QString& ruta,
                 QString* error = nullptr);

// "Página 2 de 5".
QString pie(int pagina, int paginas);

} // namespace DibujoDocumento
