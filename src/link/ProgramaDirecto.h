#pragma once

#include "link/ErrorEnlace.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The messages of the programme upload over the direct link: each one a command word followed by
// records written as the value lists of an INSERT ("('0','...','...'),"), in Windows-1252.
namespace ProgramaDirecto {

inline const QString kPasoRecetas = QStringLiteral("'te paso' 'recetas' ");
inline const QString kPasoDescarga = QStringLiteral("'te paso' 'descarga' ");
inline const QString kPasoAlimentos = QStringLiteral("'te paso' 'alimentos' ");
inline const QString kPasoOperarios = QStringLiteral("'te paso' 'operarios' ");
inline const QString kFin = QStringLiteral("'fin'");

// The parts of the programme in the order they travel; after them comes "'fin'".
enum class Seccion { ViajesKg, ViajesPorcentaje, DescargaKg, DescargaPorcentaje, Alimentos, Operarios };
inline constexpr Seccion kSecciones[] = {Seccion::ViajesKg,   Seccion::ViajesPorcentaje,
                                         Seccion::DescargaKg, Seccion::DescargaPorcentaje,
                                         Seccion::Alimentos,  Seccion::Operarios};

// The query each part reads, as the tablet's programme has always been read.
QString consulta(Seccion s);
// The progress text shown while the part travels ("Enviando Viajes", ...).
QString etiqueta(Seccion s);
// The command word in front of every message of the part.
QString comando(Seccion s);
// Trip and discharge parts send one message per row; the catalogues one message in all.
bool unMensajePorFila(Seccion s);

struct Parte {
    int filas = 0;              // rows the query gave
    QList<QByteArray> mensajes; // ready for the wire
    std::optional<ErrorEnlace> error;
};
// Runs the part's query on the connection and builds its messages. A row that cannot be sent
// leaves the messages of the rows before it, with `error` set and `filas` still counting all rows.
Parte construir(Seccion s, const QSqlDatabase& db);

// The whole programme, "'fin'" included, without pacing; stops at the first error.
Parte construirTodo(const QSqlDatabase& db);

// --- The pieces, public for the tests ---

// Replaces ñ, Ñ and the accented vowels the tablet cannot show, in the order it has always been done.
QString plegarAcentos(QString texto);
// "('" + values joined by "','" + "'),".
QString registro(const QStringList& valores);
// A value read from the database as plain text. A single quote would end the value early for the
// tablet, so it travels as "´".
QString valorPlano(const QVariant& v);
// Command word + folded body, in Windows-1252 ("?" for what it cannot hold).
QByteArray aCable(const QString& comando, const QString& cuerpo);

} // namespace ProgramaDirecto
