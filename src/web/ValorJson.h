#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// One value of a JSON reply: an object (ordered, unique keys), an array, a string, a number kept
// as an exact decimal, a boolean, null, or empty (a number cut off by the end of the text, or a
// key that an object lacks).
class ValorJson {
public:
    enum class Tipo { Vacio, Nulo, Booleano, Numero, Texto, Objeto, Arreglo };

    ValorJson() = default;
    static ValorJson nulo();
    static ValorJson booleano(bool valor);
    // `decimal` is the canonical decimal text: optional "-", digits, optional "." and digits,
    // no exponent, no superfluous zeros ("1250.5", "-0.25", "3").
    static ValorJson numero(QString decimal);
    static ValorJson texto(QString valor);
    static ValorJson objeto();
    static ValorJson arreglo();

    Tipo tipo() const { return tipo_; }
    bool esVacio() const { return tipo_ == Tipo::Vacio; }
    bool esNulo() const { return tipo_ == Tipo::Nulo; }
    bool esObjeto() const { return tipo_ == Tipo::Objeto; }
    bool esArreglo() const { return tipo_ == Tipo::Arreglo; }

    // Scalars.
    bool comoBooleano() const { return booleano_; }
    const QString& cadena() const { return texto_; } // a string's text, or a number's decimal text

    // The value as the windows show it: a string unchanged, a number in the regional form
    // (1250.5 is "1250,5" where the decimal separator is a comma), a boolean as "Verdadero" or
    // "Falso", empty as "". Null, objects and arrays have no text.
    std::optional<QString> comoTexto() const;

    // Objects. A key the object lacks gives the empty value.
    const ValorJson& operator[](QStringView clave) const;
    bool contiene(QStringView clave) const { return indiceDe(clave) >= 0; }
    // Adds a member at the end; false (and nothing added) when the key is already there.
    bool agregar(QString clave, ValorJson valor);
    const std::vector<QString>& claves() const { return claves_; }

    // Arrays (and the values of an object, in order).
    void anexar(ValorJson valor) { elementos_.push_back(std::move(valor)); }
    qsizetype tamano() const { return static_cast<qsizetype>(elementos_.size()); }
    const ValorJson& at(qsizetype i) const { return elementos_[static_cast<size_t>(i)]; }

private:
    qsizetype indiceDe(QStringView clave) const;

    Tipo tipo_ = Tipo::Vacio;
    bool booleano_ = false;
    QString texto_;
    std::vector<QString> claves_;
    std::vector<ValorJson> elementos_;
    // Large objects also keep their keys hashed, so that adding stays linear.
    QHash<QString, qsizetype> indice_;
};
