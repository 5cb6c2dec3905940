#pragma once

#include "web/ValorJson.h"
#include "web/cStringBuilder.h"

#include <QString>
#include <QStringView>
#include <initializer_list>
#include <optional>
#include <vector>

// The lenient reader of the web service's replies: single-quoted strings, bare keys, missing
// commas, comments and parentheses are accepted; faults never stop it, they are collected in the
// error text (one entry per fault, each ending in CR LF) next to a partial tree.

// Reads the first value of the text: an object at "{", an array at "["; nothing (and the error
// text "Invalid JSON") at anything else. Never throws.
std::optional<ValorJson> ParseJson(QStringView texto);
// The same, reading as if the text began at index `inicio` (0-based) of `texto`: positions in the
// error text count from there. Lets a caller walk the rows of one reply without copying it.
std::optional<ValorJson> ParseJson(QStringView texto, qsizetype inicio);

// The error text of the last parse on this thread (empty after a clean one).
QString ParserErrors();

// Failure descriptions that an object or array records in front of ": " and the key or place.
namespace ErroresJson {
inline const QString kConversion = QStringLiteral("No coinciden los tipos");
inline const QString kDesbordamiento = QStringLiteral("Desbordamiento");
inline const QString kClaveRepetida =
    QStringLiteral("Esta clave ya está asociada a un elemento de esta colección");
// A reply nested deeper than any the service sends is cut there instead of exhausting the stack.
inline const QString kProfundidad = QStringLiteral("Anidamiento demasiado profundo");
} // namespace ErroresJson

// One parse. Positions are 1-based and every reader leaves the position just past what it read;
// the reading position never goes backwards.
class LectorJson {
public:
    LectorJson(QStringView texto, qsizetype inicio = 0);

    std::optional<ValorJson> leer();
    const QString& errores() const { return errores_; }

    void SkipFiller(int& pos);
    ValorJson ReadValue(int& pos, const QString*& fallo);
    template <typename Entrada>
    void leerSerie(int& pos, char16_t cierre, QStringView faltaCierre, Entrada&& entrada);
    ValorJson ReadObject(int& pos);
    ValorJson ReadArray(int& pos);
    QString ReadKey(int& pos);
    ValorJson ReadString(int& pos);
    ValorJson ReadNumber(int& pos, const QString*& fallo);
    ValorJson ReadBoolean(int& pos);
    ValorJson ReadNull(int& pos);

private:
    // The character at a 1-based position, or -1 outside the text.
    int car(int pos) const { return pos >= 1 && pos <= n_ ? d_[pos - 1].unicode() : -1; }
    QStringView desde(int pos, int cuantos = -1) const;
    QStringView ultimos(int cuantos) const;
    void anotar(std::initializer_list<QStringView> partes);
    QString compartida(QStringView clave);

    const QChar* d_;
    int n_;
    int profundidad_ = 0;
    int miembro_ = 0;                   // place of the key being read in its object
    std::vector<QString> clavesVistas_; // the last key read at each place
    QString errores_;
    cStringBuilder sb_;
};

// Converts the characters of a number as the reader collected them into the canonical decimal
// text of ValorJson::numero. Returns the failure's description when the text is not a number
// ("", "-", "1-2") or does not fit an exact decimal of 29 digits.
// Returns nullptr on success.
const QString* convertirDecimal(QStringView texto, QString* decimal);
