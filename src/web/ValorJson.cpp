#include "web/ValorJson.h"

#include "core/Texto.h"

namespace {
constexpr size_t kClavesSinIndice = 16;
}

ValorJson ValorJson::nulo() {
    ValorJson v;
    v.tipo_ = Tipo::Nulo;
    return v;
}

ValorJson ValorJson::booleano(bool valor) {
    ValorJson v;
    v.tipo_ = Tipo::Booleano;
    v.booleano_ = valor;
    return v;
}

ValorJson ValorJson::numero(QString decimal) {
    ValorJson v;
    v.tipo_ = Tipo::Numero;
    v.texto_ = std::move(decimal);
    return v;
}

ValorJson ValorJson::texto(QString valor) {
    ValorJson v;
    v.tipo_ = Tipo::Texto;
    v.texto_ = std::move(valor);
    return v;
}

ValorJson ValorJson::objeto() {
    ValorJson v;
    v.tipo_ = Tipo::Objeto;
    return v;
}

ValorJson ValorJson::arreglo() {
    ValorJson v;
    v.tipo_ = Tipo::Arreglo;
    return v;
}

std::optional<QString> ValorJson::comoTexto() const {
    switch (tipo_) {
    case Tipo::Vacio:
        return QString();
    case Tipo::Texto:
        return texto_;
    case Tipo::Booleano:
        return booleano_ ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case Tipo::Numero: {
        // The decimal text uses "." and "-"; the regional form swaps in the user's signs.
        const QLocale loc = Texto::regional();
        QString r = texto_;
        const QString coma = loc.decimalPoint();
        const QString menos = loc.negativeSign();
        if (coma != QLatin1String("."))
            r.replace(u'.', coma);
        if (menos != QLatin1String("-") && r.startsWith(u'-'))
            r.replace(0, 1, menos);
        return r;
    }
    case Tipo::Nulo:
    case Tipo::Objeto:
    case Tipo::Arreglo:
        break;
    }
    return std::nullopt;
}

qsizetype ValorJson::indiceDe(QStringView clave) const {
    if (tipo_ != Tipo::Objeto)
        return -1;
    if (claves_.size() > kClavesSinIndice) {
        const auto it = indice_.constFind(clave.toString());
        return it == indice_.cend() ? -1 : it.value();
    }
    for (size_t i = 0; i < claves_.size(); ++i)
        if (claves_[i] == clave)
            return static_cast<qsizetype>(i);
    return -1;
}

const ValorJson& ValorJson::operator[](QStringView clave) const {
    static const ValorJson kVacio;
    const qsizetype i = indiceDe(clave);
    return i < 0 ? kVacio : elementos_[static_cast<size_t>(i)];
}

bool ValorJson::agregar(QString clave, ValorJson valor) {
    if (indiceDe(clave) >= 0)
        return false;
    if (claves_.size() == kClavesSinIndice) {
        for (size_t i = 0; i < claves_.size(); ++i)
            indice_.insert(claves_[i], static_cast<qsizetype>(i));
    }
    if (claves_.size() >= kClavesSinIndice)
        indice_.insert(clave, static_cast<qsizetype>(claves_.size()));
    if (claves_.empty()) {
        claves_.reserve(8);
        elementos_.reserve(8);
    }
    claves_.push_back(std::move(clave));
    elementos_.push_back(std::move(valor));
    return true;
}
