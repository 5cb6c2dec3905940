#include "web/Json.h"

#include <climits>

namespace {

thread_local QString g_errores;

constexpr int kProfundidadMaxima = 500;
const QString kFinEntrada = QStringLiteral("\r\n");

bool esDeNumero(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
}

int valorHex(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<ValorJson> ParseJson(QStringView texto) {
    return ParseJson(texto, 0);
}

std::optional<ValorJson> ParseJson(QStringView texto, qsizetype inicio) {
    LectorJson lector(texto, inicio);
    std::optional<ValorJson> r;
    try {
        r = lector.leer();
    } catch (...) {
        r.reset(); // out of memory on a huge reply: nothing, like a text that is no JSON
    }
    g_errores = lector.errores();
    return r;
}

QString ParserErrors() {
    return g_errores;
}

LectorJson::LectorJson(QStringView texto, qsizetype inicio) {
    if (inicio < 0)
        inicio = 0;
    if (inicio > texto.size())
        inicio = texto.size();
    const qsizetype resto = texto.size() - inicio;
    d_ = texto.data() + inicio;
    n_ = static_cast<int>(resto > INT_MAX - 8 ? INT_MAX - 8 : resto);
}

std::optional<ValorJson> LectorJson::leer() {
    errores_.clear();
    profundidad_ = 0;
    int pos = 1;
    SkipFiller(pos);
    const int c = car(pos);
    if (c == '{')
        return ReadObject(pos);
    if (c == '[')
        return ReadArray(pos);
    errores_ = QStringLiteral("Invalid JSON");
    return std::nullopt;
}

QStringView LectorJson::desde(int pos, int cuantos) const {
    if (pos < 1 || pos > n_)
        return {};
    const int resto = n_ - pos + 1;
    return QStringView(d_ + pos - 1, cuantos < 0 || cuantos > resto ? resto : cuantos);
}

QStringView LectorJson::ultimos(int cuantos) const {
    const int k = cuantos > n_ ? n_ : cuantos;
    return QStringView(d_ + n_ - k, k);
}

void LectorJson::anotar(std::initializer_list<QStringView> partes) {
    for (QStringView p : partes)
        errores_.append(p);
}

void LectorJson::SkipFiller(int& pos) {
    if (pos >= 1 && pos <= n_) {
        const char16_t c = d_[pos - 1].unicode();
        if (c > u'/' || (c > u' ' && c != u'(' && c != u')' && c != u'*' && c != u'/'))
            return; // the usual case: already on a significant character
    }
    bool start = false, comment = false, block = false;
    while (pos >= 1 && pos <= n_) {
        switch (d_[pos - 1].unicode()) {
        case u'\r':
        case u'\n':
            if (!block)
                start = comment = false;
            break;
        case u'\t':
        case u' ':
        case u'(':
        case u')':
            break;
        case u'/':
            if (!block) {
                if (start) {
                    start = false;
                    comment = true; // "//": a line comment
                } else {
                    start = true;
                    comment = block = false;
                }
            } else if (start) {
                block = start = comment = false; // "*/" ends the block comment
            }
            break;
        case u'*':
            if (start) {
                start = false;
                comment = block = true; // "/*"
            } else {
                start = true;
            }
            break;
        default:
            if (!comment)
                return;
            break;
        }
        ++pos;
    }
}

ValorJson LectorJson::ReadValue(int& pos, const QString*& fallo) {
    SkipFiller(pos);
    switch (car(pos)) {
    case '{':
    case '[': {
        if (profundidad_ >= kProfundidadMaxima) {
            fallo = &ErroresJson::kProfundidad;
            return {};
        }
        ++profundidad_;
        ValorJson v = car(pos) == '{' ? ReadObject(pos) : ReadArray(pos);
        --profundidad_;
        return v;
    }
    case '"':
    case '\'':
        return ReadString(pos);
    case 't':
    case 'f':
        return ReadBoolean(pos);
    case 'n':
        return ReadNull(pos);
    default:
        return ReadNumber(pos, fallo);
    }
}

// The walk shared by objects and arrays: the opening mark, the commas between the entries and the
// closing mark; `entrada` reads one entry and says whether the walk goes on.
template <typename Entrada>
void LectorJson::leerSerie(int& pos, char16_t cierre, QStringView faltaCierre, Entrada&& entrada) {
    ++pos; // the opening mark
    for (;;) {
        SkipFiller(pos);
        const int c = car(pos);
        if (c == cierre) {
            ++pos;
            break;
        }
        if (c == ',') {
            ++pos;
            SkipFiller(pos);
        } else if (pos > n_) {
            anotar({faltaCierre, ultimos(20), kFinEntrada});
            break;
        }
        if (!entrada(pos))
            break;
    }
}

ValorJson LectorJson::ReadObject(int& pos) {
    SkipFiller(pos);
    ValorJson objeto = ValorJson::objeto();
    leerSerie(pos, u'}', u"Missing '}': ", [&](int& p) {
        miembro_ = static_cast<int>(objeto.claves().size());
        const QString clave = ReadKey(p);
        const QString* fallo = nullptr;
        ValorJson valor = ReadValue(p, fallo);
        if (!fallo && !objeto.agregar(clave, std::move(valor)))
            fallo = &ErroresJson::kClaveRepetida;
        if (fallo)
            anotar({*fallo, u": ", clave, kFinEntrada});
        return !fallo;
    });
    return objeto;
}

ValorJson LectorJson::ReadArray(int& pos) {
    SkipFiller(pos);
    ValorJson arreglo = ValorJson::arreglo();
    leerSerie(pos, u']', u"Missing ']': ", [&](int& p) {
        const int antes = p;
        const QString* fallo = nullptr;
        ValorJson valor = ReadValue(p, fallo);
        if (fallo) {
            anotar({*fallo, u": ", desde(p, 20), kFinEntrada});
            return false;
        }
        arreglo.anexar(std::move(valor));
        // A token that only begins like true, false or null was recorded by its reader and left
        // where it stood; reading it again would never end, so the array ends here.
        return !(p == antes && p <= n_);
    });
    return arreglo;
}

QString LectorJson::ReadKey(int& pos) {
    SkipFiller(pos);
    // The usual form, a quoted key right before its colon, is taken whole; rows of one reply
    // repeat their keys, so the text of the previous row's key in the same place is shared.
    const int comilla = car(pos);
    if (comilla == '"' || comilla == '\'') {
        int fin = pos + 1;
        while (fin <= n_) {
            const char16_t e = d_[fin - 1].unicode();
            if (e == comilla)
                break;
            if (e == u'"' || e == u'\'' || e == u':' || e == u'\r' || e == u'\n' || e == u'\t' || e == u' ') {
                fin = n_ + 1;
                break;
            }
            ++fin;
        }
        if (fin <= n_ && car(fin + 1) == ':') {
            const QStringView clave(d_ + pos, fin - pos - 1);
            pos = fin + 2;
            return compartida(clave);
        }
    }
    bool inDouble = false, inSingle = false;
    QString clave;
    while (pos >= 1 && pos <= n_) {
        const char16_t c = d_[pos - 1].unicode();
        if (c == u'"' || c == u'\'') {
            bool& dentro = c == u'"' ? inDouble : inSingle;
            dentro = !dentro;
            ++pos;
            if (!dentro) {
                SkipFiller(pos);
                if (car(pos) != ':') {
                    anotar({u"Invalid Key at position ", QString::number(pos), u" : ", clave, kFinEntrada});
                    return clave;
                }
            }
        } else if (c == u':') {
            ++pos;
            if (!inDouble && !inSingle)
                return clave;
            clave.append(u':');
        } else if (c == u'\r' || c == u'\n' || c == u'\t' || c == u' ') {
            ++pos; // dropped, also between quotes
        } else {
            int fin = pos;
            while (fin <= n_) {
                const char16_t e = d_[fin - 1].unicode();
                if (e == u'"' || e == u'\'' || e == u':' || e == u'\r' || e == u'\n' || e == u'\t' ||
                    e == u' ')
                    break;
                ++fin;
            }
            clave.append(QStringView(d_ + pos - 1, fin - pos));
            pos = fin;
        }
    }
    return clave;
}

QString LectorJson::compartida(QStringView clave) {
    const size_t i = static_cast<size_t>(miembro_);
    if (i < clavesVistas_.size() && clavesVistas_[i] == clave)
        return clavesVistas_[i];
    QString r = clave.toString();
    if (i < 64) {
        if (clavesVistas_.size() <= i)
            clavesVistas_.resize(i + 1);
        clavesVistas_[i] = r;
    }
    return r;
}

ValorJson LectorJson::ReadString(int& pos) {
    SkipFiller(pos);
    const int cierre = car(pos);
    ++pos;
    sb_.Clear();
    while (pos >= 1 && pos <= n_) {
        // Ordinary characters go in as one run.
        int fin = pos;
        while (fin <= n_) {
            const int e = d_[fin - 1].unicode();
            if (e == cierre || e == '\\')
                break;
            ++fin;
        }
        if (fin > pos) {
            if (sb_.Length() == 0 && fin <= n_ && d_[fin - 1].unicode() == cierre) {
                // No escape at all: the text is the run itself.
                const QString directa(d_ + pos - 1, fin - pos);
                pos = fin + 1;
                return ValorJson::texto(directa);
            }
            sb_.Append(QStringView(d_ + pos - 1, fin - pos));
            pos = fin;
        }
        if (pos > n_)
            break; // never closed: what was collected, without complaint
        if (car(pos) == cierre) {
            ++pos;
            break;
        }
        ++pos; // the backslash
        const int e = car(pos);
        switch (e) {
        case '"':
        case '\\':
        case '/':
        case '\'':
            sb_.Append(QChar(static_cast<char16_t>(e)));
            ++pos;
            break;
        case 'b':
            sb_.Append(QChar(u'\b'));
            ++pos;
            break;
        case 'f':
            sb_.Append(QChar(u'\f'));
            ++pos;
            break;
        case 'n':
            sb_.Append(QChar(u'\n'));
            ++pos;
            break;
        case 'r':
            sb_.Append(QChar(u'\r'));
            ++pos;
            break;
        case 't':
            sb_.Append(QChar(u'\t'));
            ++pos;
            break;
        case 'u': {
            int valor = 0;
            for (int k = 1; k <= 4; ++k) {
                const int h = valorHex(car(pos + k));
                if (h < 0)
                    break;
                valor = valor * 16 + h;
            }
            sb_.Append(QChar(static_cast<char16_t>(valor)));
            pos += 5;
            break;
        }
        default:
            break; // the character after the backslash is read as an ordinary one
        }
    }
    return ValorJson::texto(sb_.toString());
}

ValorJson LectorJson::ReadNumber(int& pos, const QString*& fallo) {
    SkipFiller(pos);
    const int inicio = pos;
    int fin = pos;
    while (fin >= 1 && fin <= n_ && esDeNumero(d_[fin - 1].unicode()))
        ++fin;
    pos = fin;
    if (fin > n_ || fin < 1)
        return {}; // the number runs into the end of the text
    QString decimal;
    if (const QString* f = convertirDecimal(QStringView(d_ + inicio - 1, fin - inicio), &decimal)) {
        fallo = f;
        return {};
    }
    return ValorJson::numero(std::move(decimal));
}

ValorJson LectorJson::ReadBoolean(int& pos) {
    SkipFiller(pos);
    if (desde(pos, 4) == u"true") {
        pos += 4;
        return ValorJson::booleano(true);
    }
    if (desde(pos, 5) == u"false") {
        pos += 5;
        return ValorJson::booleano(false);
    }
    anotar({u"Invalid Boolean at position ", QString::number(pos), u" : ", desde(pos), kFinEntrada});
    return ValorJson::booleano(false);
}

ValorJson LectorJson::ReadNull(int& pos) {
    SkipFiller(pos);
    if (desde(pos, 4) == u"null") {
        pos += 4;
        return ValorJson::nulo();
    }
    anotar({u"Invalid null value at position ", QString::number(pos), u" : ", desde(pos), kFinEntrada});
    return {};
}
