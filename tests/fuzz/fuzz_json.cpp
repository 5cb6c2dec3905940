// The JSON reader on any reply: no crash, no hang, no sanitizer report, and reading in place from
// a row's "{" (as the download walks its rows) gives the same tree and errors as reading a copy
// that starts there.
#include "BaseFuzz.h"

#include "web/Json.h"

namespace {

// Every value is read as the windows read it.
void recorrer(const ValorJson& v) {
    (void)v.comoTexto();
    if (v.esObjeto()) {
        for (const QString& clave : v.claves())
            recorrer(v[clave]);
    } else if (v.esArreglo()) {
        for (qsizetype i = 0; i < v.tamano(); ++i)
            recorrer(v.at(i));
    }
}

bool iguales(const ValorJson& a, const ValorJson& b) {
    if (a.tipo() != b.tipo() || a.cadena() != b.cadena() || a.comoBooleano() != b.comoBooleano() ||
        a.claves() != b.claves() || a.tamano() != b.tamano())
        return false;
    if (a.esObjeto()) {
        for (const QString& clave : a.claves())
            if (!iguales(a[clave], b[clave]))
                return false;
    } else {
        for (qsizetype i = 0; i < a.tamano(); ++i)
            if (!iguales(a.at(i), b.at(i)))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
    if (const std::optional<ValorJson> v = ParseJson(texto))
        recorrer(*v);

    const qsizetype llave = texto.indexOf(u'{', 1);
    if (llave > 0) {
        const std::optional<ValorJson> enSitio = ParseJson(texto, llave);
        const QString erroresEnSitio = ParserErrors();
        const std::optional<ValorJson> copia = ParseJson(QStringView(texto).mid(llave));
        const QString erroresCopia = ParserErrors();
        if (enSitio.has_value() != copia.has_value() || (enSitio && !iguales(*enSitio, *copia)) ||
            erroresEnSitio != erroresCopia)
            BaseFuzz::fallar(
                QStringLiteral("leer desde la posición %1 no es leer una copia desde allí").arg(llave));
    }

    QString decimal;
    (void)convertirDecimal(QStringView(texto).left(80), &decimal);
    return 0;
}
