#include "RespuestaJson.h"

#include <cstdio>
#include <map>

namespace {

void unicode(std::string& salida, unsigned int u) {
    // One UTF-16 code unit: four hex digits.
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\u%04x", u & 0xFFFFu);
    salida += buf;
}

// Decodes one UTF-8 sequence at `i`; a malformed one reads as U+FFFD and one byte.
unsigned int siguienteCodigo(const std::string& t, size_t& i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(t[k]); };
    const unsigned char c = b(i);
    int largo = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (largo == 0 || i + static_cast<size_t>(largo) > t.size()) {
        ++i;
        return 0xFFFD;
    }
    unsigned int u = c & (0xFF >> (largo + 1));
    for (int k = 1; k < largo; ++k) {
        if ((b(i + static_cast<size_t>(k)) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        u = (u << 6) | (b(i + static_cast<size_t>(k)) & 0x3F);
    }
    i += static_cast<size_t>(largo);
    return u;
}

} // namespace

std::string textoJson(const std::string& texto, bool escaparUnicode) {
    std::string s;
    s.reserve(texto.size() + 2);
    s += '"';
    for (size_t i = 0; i < texto.size();) {
        const unsigned char c = static_cast<unsigned char>(texto[i]);
        if (c >= 0x80 && escaparUnicode) {
            const unsigned int u = siguienteCodigo(texto, i);
            if (u > 0xFFFF) {
                unicode(s, 0xD800 + ((u - 0x10000) >> 10));
                unicode(s, 0xDC00 + ((u - 0x10000) & 0x3FF));
            } else {
                unicode(s, u);
            }
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\t':
            s += "\\t";
            break;
        case '\b':
            s += "\\b";
            break;
        case '\f':
            s += "\\f";
            break;
        case '/':
            s += escaparUnicode ? "\\/" : "/";
            break;
        default:
            if (c < 0x20)
                unicode(s, c);
            else
                s += static_cast<char>(c);
        }
    }
    s += '"';
    return s;
}

std::string filasJson(const ResultadoSql& resultado, bool escaparUnicode) {
    // Key order by first appearance, value from the last column of that name.
    std::vector<size_t> orden;
    std::map<std::string, size_t> ultima;
    for (size_t i = 0; i < resultado.columnas.size(); ++i) {
        auto [it, nueva] = ultima.try_emplace(resultado.columnas[i], i);
        if (nueva)
            orden.push_back(i);
        else
            it->second = i;
    }
    std::vector<std::pair<std::string, size_t>> claves;
    for (size_t i : orden) {
        const std::string& nombre = resultado.columnas[i];
        claves.emplace_back(textoJson(nombre, escaparUnicode) + ":", ultima[nombre]);
    }
    std::string s = "[";
    for (size_t f = 0; f < resultado.filas.size(); ++f) {
        if (f)
            s += ',';
        s += '{';
        for (size_t k = 0; k < claves.size(); ++k) {
            if (k)
                s += ',';
            s += claves[k].first;
            const auto& v = resultado.filas[f][claves[k].second];
            s += v ? textoJson(*v, escaparUnicode) : std::string("null");
        }
        s += '}';
    }
    s += ']';
    return s;
}
