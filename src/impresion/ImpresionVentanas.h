#pragma once

#include "impresion/DocumentoImpreso.h"

#include <QDate>

class FrmPrecision;
class FrmSucesos;
class FrmViajes;
class QTableView;
class QWidget;

// The print button of each window that prints, tied to what it prints: the loading sheet of a day
// (trip plan), the events list as shown with its period (events window), the accuracy report as
// shown (accuracy window).
namespace ImpresionVentanas {

void enlazar(FrmViajes* ventana);
void enlazar(FrmSucesos* ventana);
void enlazar(FrmPrecision* ventana);

// Opens the print dialog of each document.
void planilla(QWidget* padre, const QDate& dia);
void sucesos(FrmSucesos* ventana);
void precision(FrmPrecision* ventana);

// A list as the user sees it: its visible columns in their order, its rows in their order, a row
// the list colours marked.
DocumentoImpreso::Seccion tablaDeVista(const QTableView* vista);

} // namespace ImpresionVentanas
