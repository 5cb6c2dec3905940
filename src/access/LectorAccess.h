#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "access/ValoresAccess.h"

#include <memory>

struct ColumnaJet {
    QString nombre;
    TipoJet tipo = TipoJet::Otro;
};

// One table of an open Access file, read row by row. Each value comes as the file holds it:
// null, bool (SiNo), qint64 (Byte, Entero, EnteroLargo), double (Simple, Doble, Moneda, and Fecha
// as its raw day count), QString (Texto, Memo); an Otro column always reads null.
class TablaAccess {
public:
    ~TablaAccess();
    TablaAccess(const TablaAccess&) = delete;
    TablaAccess& operator=(const TablaAccess&) = delete;

    const QList<ColumnaJet>& columnas() const { return columnas_; }

    // Fills `fila` with the next row. False at the end, and also when the table turns out damaged:
    // then error() says why (a table that ends before the row count it declares is damaged).
    bool siguiente(QVariantList* fila);
    const QString& error() const { return error_; }
    // Whether column `columna` is missing from the row siguiente() gave last (it was added to the
    // table after the row was written, or the table's definition is damaged): it then reads null.
    bool ausente(qsizetype columna) const { return columna < ausentes_.size() && ausentes_.at(columna); }
    // The rows the table declares, and those read so far.
    quint32 filasDeclaradas() const;
    quint32 filasLeidas() const;

private:
    friend class LectorAccess;
    struct Estado;
    TablaAccess(QString nombre, std::unique_ptr<Estado> estado);
    bool fallar(const QString& motivo);

    QString nombre_;
    QList<ColumnaJet> columnas_;
    QList<bool> ausentes_;
    std::unique_ptr<Estado> estado_;
    QString error_;
};

// An Access (Jet 3 or Jet 4) file opened with libmdb from a copy in memory. The header must have
// been checked with CabeceraAccess first. One reader belongs to one thread at a time.
class LectorAccess {
public:
    LectorAccess();
    ~LectorAccess();
    LectorAccess(const LectorAccess&) = delete;
    LectorAccess& operator=(const LectorAccess&) = delete;

    // Opens the file and reads its catalogue. False with the reason, in Spanish.
    bool abrir(QByteArray datos, QString* motivo);
    // The user's tables (system and temporary tables left out), as the file names them.
    QStringList tablas() const;
    // A table of tablas() with its columns; null with the reason when its definition is unreadable.
    std::unique_ptr<TablaAccess> tabla(const QString& nombre, QString* motivo);

private:
    struct Estado;
    std::unique_ptr<Estado> estado_;
};
