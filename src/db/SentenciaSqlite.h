#pragma once

#include "db/BaseDatos.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringView>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement run straight on the SQLite handle of a Qt connection, without a value
// object per cell: for the few statements that go over hundreds of thousands of rows (the event
// history). It belongs to the connection's thread, like the connection.
class SentenciaSqlite {
public:
    SentenciaSqlite(QSqlDatabase& db, const char* sql);
    ~SentenciaSqlite();
    SentenciaSqlite(const SentenciaSqlite&) = delete;
    SentenciaSqlite& operator=(const SentenciaSqlite&) = delete;

    // False when the connection is not SQLite or the statement did not prepare (see error()).
    bool ok() const { return st_ != nullptr; }
    ErrorBD error() const;

    // Parameters count from 1. Texts are copied by SQLite; a missing number binds NULL.
    void texto(int i, QStringView t);
    void numero(int i, std::optional<double> v);
    // Runs up to the next row: true with a row, false at the end or on an error (see fallo()).
    bool fila();
    bool fallo() const { return fallo_; }
    // Ready to run again, parameters kept.
    void reiniciar();

    // Columns count from 0.
    QString textoDe(int c) const;
    // The UTF-8 bytes of a text column, valid until the next step.
    QByteArrayView bytesDe(int c) const;
    std::optional<double> numeroDe(int c) const;

private:
    sqlite3* h_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
    bool fallo_ = false;
};
