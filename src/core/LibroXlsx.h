#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>

// One cell of a workbook row, already typed: what a spreadsheet stores, not the text shown.
struct CeldaLibro {
    // A Porcentaje holds percent points (4 for 4 %) and is shown as 4,00 %.
    enum class Tipo { Vacia, Texto, Numero, Fecha, Hora, Porcentaje, Moneda };
    Tipo tipo = Tipo::Vacia;
    QString texto;
    double numero = 0;
    QDate fecha;
    QTime hora;

    static CeldaLibro vacia() { return {}; }
    static CeldaLibro deTexto(const QString& t) { return {Tipo::Texto, t, 0, {}, {}}; }
    static CeldaLibro deNumero(double n) { return {Tipo::Numero, {}, n, {}, {}}; }
    static CeldaLibro deFecha(QDate f) { return {Tipo::Fecha, {}, 0, f, {}}; }
    static CeldaLibro deHora(QTime h) { return {Tipo::Hora, {}, 0, {}, h}; }
    static CeldaLibro dePorcentaje(double puntos) { return {Tipo::Porcentaje, {}, puntos, {}, {}}; }
    // An amount of money: a number shown with thousands and two decimals ("#,##0.00").
    static CeldaLibro deMoneda(double n) { return {Tipo::Moneda, {}, n, {}, {}}; }
};

// Writes the worksheets of an .xlsx workbook, one after the other, row by row and in order
// (constant memory, so 100,000 rows cost no more than 100), into a temporary file that replaces
// the target only when the workbook is complete. The header row (row 1 unless rows come before
// it) is bold, frozen, with an autofilter; columns are as wide as their longest value; numbers
// are right-aligned, dates dd/mm/yyyy, times hh:mm, percentages 0,00 %, money #,##0.00. Texts are always
// plain text, never formulas. Works on any thread (no Qt GUI, no database).
class LibroXlsx {
public:
    LibroXlsx(const QString& destino, const QString& nombreHoja);
    ~LibroXlsx(); // an unfinished workbook is discarded, the target left as it was
    LibroXlsx(const LibroXlsx&) = delete;
    LibroXlsx& operator=(const LibroXlsx&) = delete;

    // How a row looks: as it is, filled in light red (a row that must stand out), or bold.
    enum class Estilo { Normal, Resaltada, Negrita };

    // The file a chosen name is written to: a workbook always ends in ".xlsx" ("datos" and
    // "datos.xls" become "datos.xlsx"), since a spreadsheet program warns about a workbook whose
    // extension names another format.
    static QString nombreLibro(const QString& ruta);

    bool abrir();
    bool encabezados(const QStringList& textos);
    bool fila(const QList<CeldaLibro>& celdas, Estilo estilo = Estilo::Normal);
    // Goes on in a new worksheet after the current one; the current one cannot be written again.
    bool nuevaHoja(const QString& nombre);
    // Completes the workbook and renames it over the target.
    bool cerrar();

    // After a false: a number and a Spanish description of what went wrong.
    int numeroError() const;
    QString error() const;

private:
    struct Datos;
    std::unique_ptr<Datos> d;
};
