#pragma once

#include "BaseRemota.h"

#include <string>

// The reply to a query as the script writes it: a JSON array of flat objects keyed by column name,
// every value a string (NULL as null), "[]" when there is no row. When two columns share a name the
// object keeps one key at the first one's place with the last one's value, as an associative row does.
// With `escaparUnicode` every non-ASCII character is written as \uXXXX and "/" as "\/"; otherwise the
// text goes out as UTF-8.
std::string filasJson(const ResultadoSql& resultado, bool escaparUnicode);

// A JSON string literal for a UTF-8 text.
std::string textoJson(const std::string& texto, bool escaparUnicode);
