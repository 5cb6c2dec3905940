// Numbers of a reply become exact decimals of at most 29 significant digits (28 after the point),
// read with "." as the decimal point whatever the user's regional settings: the service writes
// JSON numbers, not regional text.
#include "web/Json.h"

#include <string>

namespace {

bool digito(QChar c) {
    return c >= u'0' && c <= u'9';
}

const char kMaximoEntero[] = "79228162514264337593543950335"; // 2^96 - 1

void quitarCeros(std::string& cifras, long& punto) {
    size_t i = 0;
    while (i < cifras.size() && cifras[i] == '0')
        ++i;
    cifras.erase(0, i);
    punto -= static_cast<long>(i);
    while (!cifras.empty() && cifras.back() == '0')
        cifras.pop_back();
    if (cifras.empty())
        punto = 0;
}

bool desborda(const std::string& cifras, long punto) {
    if (punto > 29)
        return true;
    if (punto < 29)
        return false;
    std::string entero = cifras.substr(0, 29);
    entero.resize(29, '0');
    return entero > kMaximoEntero;
}

} // namespace

namespace {
// Already canonical: an optional "-", a whole part without leading zeros, an optional fraction
// not ending in zero, no exponent, well within the decimal's 28 digits, and not a negative zero.
bool yaCanonico(QStringView t) {
    const qsizetype n = t.size();
    qsizetype i = t.startsWith(u'-') ? 1 : 0;
    const qsizetype inicio = i;
    while (i < n && digito(t[i]))
        ++i;
    const qsizetype enteras = i - inicio;
    if (enteras == 0 || (enteras > 1 && t[inicio] == u'0'))
        return false;
    bool ceroEntero = enteras == 1 && t[inicio] == u'0';
    qsizetype cifras = enteras;
    if (i < n && t[i] == u'.') {
        const qsizetype f = ++i;
        while (i < n && digito(t[i]))
            ++i;
        if (i == f || t[i - 1] == u'0')
            return false;
        cifras += i - f;
        ceroEntero = false;
    }
    return i == n && cifras <= 28 && !(ceroEntero && inicio == 1);
}
} // namespace

const QString* convertirDecimal(QStringView t, QString* decimal) {
    if (yaCanonico(t)) {
        *decimal = t.toString();
        return nullptr;
    }
    const qsizetype n = t.size();
    qsizetype i = 0;
    bool negativo = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
        negativo = t[i] == u'-';
        ++i;
    }
    std::string cifras;
    const qsizetype inicioEntero = i;
    while (i < n && digito(t[i]))
        cifras.push_back(static_cast<char>(t[i++].unicode()));
    long punto = static_cast<long>(i - inicioEntero);
    bool hayCifras = i > inicioEntero;
    if (i < n && t[i] == u'.') {
        ++i;
        const qsizetype inicioFraccion = i;
        while (i < n && digito(t[i]))
            cifras.push_back(static_cast<char>(t[i++].unicode()));
        hayCifras = hayCifras || i > inicioFraccion;
    }
    if (!hayCifras)
        return &ErroresJson::kConversion;
    long exponente = 0;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        bool expNegativo = false;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) {
            expNegativo = t[i] == u'-';
            ++i;
        }
        const qsizetype inicioExp = i;
        while (i < n && digito(t[i])) {
            if (exponente < 1000000)
                exponente = exponente * 10 + (t[i].unicode() - u'0');
            ++i;
        }
        if (i == inicioExp)
            return &ErroresJson::kConversion;
        if (expNegativo)
            exponente = -exponente;
    }
    if (i != n)
        return &ErroresJson::kConversion;

    punto += exponente;
    quitarCeros(cifras, punto);
    if (desborda(cifras, punto))
        return &ErroresJson::kDesbordamiento;

    // Digits beyond what the decimal holds are rounded half away from zero.
    if (punto < 0) {
        cifras.insert(0, static_cast<size_t>(-punto), '0');
        punto = 0;
    }
    const long enteras = punto;
    const long fraccionPermitida = std::min(28L, std::max(0L, 29 - enteras));
    const long conservar = enteras + fraccionPermitida;
    if (static_cast<long>(cifras.size()) > conservar) {
        const bool arriba = cifras[static_cast<size_t>(conservar)] >= '5';
        cifras.resize(static_cast<size_t>(conservar));
        if (arriba) {
            long k = conservar - 1;
            while (k >= 0 && cifras[static_cast<size_t>(k)] == '9')
                cifras[static_cast<size_t>(k--)] = '0';
            if (k >= 0) {
                ++cifras[static_cast<size_t>(k)];
            } else {
                cifras.insert(0, 1, '1');
                ++punto;
            }
        }
        quitarCeros(cifras, punto);
        if (desborda(cifras, punto))
            return &ErroresJson::kDesbordamiento;
    }

    QString r;
    if (cifras.empty()) {
        r = QStringLiteral("0");
    } else {
        if (negativo)
            r.append(u'-');
        const long largo = static_cast<long>(cifras.size());
        if (punto <= 0) {
            r.append(QLatin1String("0."));
            r.append(QString(static_cast<qsizetype>(-punto), u'0'));
            r.append(QLatin1String(cifras.data(), static_cast<qsizetype>(largo)));
        } else if (punto >= largo) {
            r.append(QLatin1String(cifras.data(), static_cast<qsizetype>(largo)));
            r.append(QString(static_cast<qsizetype>(punto - largo), u'0'));
        } else {
            r.append(QLatin1String(cifras.data(), static_cast<qsizetype>(punto)));
            r.append(u'.');
            r.append(QLatin1String(cifras.data() + punto, static_cast<qsizetype>(largo - punto)));
        }
    }
    *decimal = std::move(r);
    return nullptr;
}
