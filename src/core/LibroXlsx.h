#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>

// One cell of a workbook row, already typed: what a spreadsheet stores, not the text shown.
struct CeldaLibro {
    enum class Tipo { Vacia, Texto, Numero, Fecha, Hora, Moneda };
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
    // An amount of money: a number shown with thousands and two decimals ("#,##0.00").
    static CeldaLibro deMoneda(double n) { return {Tipo::Moneda, {}, n, {}, {}}; }
};

// Writes one worksheet of an .xlsx workbook, row by row and in order (constant memory, so
// 100,000 rows cost no more than 100), into a temporary file that replaces the target only when
// the workbook is complete. Row 1 is the header: bold, frozen, with an autofilter; columns are
// as wide as their longest value; numbers are right-aligned, dates dd/mm/yyyy, times hh:mm, money #,##0.00.
// Texts are always plain text, never formulas. Works on any thread (no Qt GUI, no database).
class LibroXlsx {
public:
    LibroXlsx(const QString& destino, const QString& nombreHoja);
    ~LibroXlsx(); // an unfinished workbook is discarded, the target left as it was
    LibroXlsx(const LibroXlsx&) = delete;
    LibroXlsx& operator=(const LibroXlsx&) = delete;

    bool abrir();
    bool encabezados(const QStringList& textos);
    bool fila(const QList<CeldaLibro>& celdas);
    // Completes the workbook and renames it over the target.
    bool cerrar();

    // After a false: a number and a Spanish description of what went wrong.
    int numeroError() const;
    QString error() const;

private:
    struct Datos;
    std::unique_ptr<Datos> d;
};
