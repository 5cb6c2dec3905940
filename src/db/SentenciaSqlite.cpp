#include "db/SentenciaSqlite.h"

#include <sqlite3.h>

SentenciaSqlite::SentenciaSqlite(QSqlDatabase& db, const char* sql) {
    h_ = BaseDatos::manejador(db);
    if (h_ && sqlite3_prepare_v2(h_, sql, -1, &st_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st_);
        st_ = nullptr;
    }
}

SentenciaSqlite::~SentenciaSqlite() {
    sqlite3_finalize(st_);
}

ErrorBD SentenciaSqlite::error() const {
    if (!h_)
        return {QStringLiteral("0"), QStringLiteral("La base de datos no es SQLite.")};
    return {QString::number(sqlite3_extended_errcode(h_)), QString::fromUtf8(sqlite3_errmsg(h_))};
}

void SentenciaSqlite::texto(int i, QStringView t) {
    // An empty text is a text, never NULL.
    static const char16_t vacio[] = u"";
    sqlite3_bind_text16(st_, i, t.isEmpty() ? vacio : t.utf16(), static_cast<int>(t.size() * 2),
                        SQLITE_TRANSIENT);
}

void SentenciaSqlite::numero(int i, std::optional<double> v) {
    if (v)
        sqlite3_bind_double(st_, i, *v);
    else
        sqlite3_bind_null(st_, i);
}

bool SentenciaSqlite::fila() {
    const int r = sqlite3_step(st_);
    fallo_ = r != SQLITE_ROW && r != SQLITE_DONE;
    return r == SQLITE_ROW;
}

void SentenciaSqlite::reiniciar() {
    sqlite3_reset(st_);
    fallo_ = false;
}

QString SentenciaSqlite::textoDe(int c) const {
    const auto* t = static_cast<const char16_t*>(sqlite3_column_text16(st_, c));
    return t ? QString(reinterpret_cast<const QChar*>(t), sqlite3_column_bytes16(st_, c) / 2) : QString();
}

QByteArrayView SentenciaSqlite::bytesDe(int c) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
    return t ? QByteArrayView(t, sqlite3_column_bytes(st_, c)) : QByteArrayView();
}

std::optional<double> SentenciaSqlite::numeroDe(int c) const {
    if (sqlite3_column_type(st_, c) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_double(st_, c);
}
