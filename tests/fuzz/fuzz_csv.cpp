// The events list as CSV: whatever the cells hold, a strict RFC 4180 reader gets back the headers
// and exactly the cells that were written.
//
// Input: UTF-8 text whose cells are separated by the byte 0x1F, eight cells to a row.
#include "BaseFuzz.h"

#include "core/CsvEventos.h"

namespace {

// A strict reader: records end in CRLF, a quoted field doubles its quotes, and nothing else may
// stand where a field ends. Empty when the text is not such CSV.
std::optional<QList<QStringList>> leerCsv(const QString& t) {
    QList<QStringList> registros;
    QStringList campos;
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n) {
        QString campo;
        if (t[i] == u'"') {
            ++i;
            for (;;) {
                if (i >= n)
                    return std::nullopt; // quote never closed
                if (t[i] == u'"') {
                    if (i + 1 < n && t[i + 1] == u'"') {
                        campo += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                campo += t[i++];
            }
        } else {
            while (i < n && t[i] != u',' && t[i] != u'\r' && t[i] != u'\n') {
                if (t[i] == u'"')
                    return std::nullopt; // a quote inside an unquoted field
                campo += t[i++];
            }
        }
        campos << campo;
        if (i < n && t[i] == u',') {
            ++i;
            continue;
        }
        if (i + 1 < n && t[i] == u'\r' && t[i + 1] == u'\n') {
            i += 2;
            registros << campos;
            campos.clear();
            continue;
        }
        return std::nullopt; // a field that does not end in a comma or CRLF
    }
    if (!campos.isEmpty())
        return std::nullopt; // the last record lacks its CRLF
    return registros;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
    QStringList celdas = texto.split(QChar(0x1F));
    while (celdas.size() % 8 != 0)
        celdas << QString();
    QList<FilaEvento> filas;
    QList<QStringList> esperado{FilaEvento::encabezados()};
    for (qsizetype i = 0; i < celdas.size(); i += 8) {
        const QStringList c = celdas.mid(i, 8);
        filas << FilaEvento{c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]};
        esperado << c;
    }
    const QByteArray csv = CsvEventos::escribir(filas);
    const std::optional<QList<QStringList>> leido = leerCsv(QString::fromUtf8(csv));
    if (!leido)
        BaseFuzz::fallar(QStringLiteral("el CSV escrito no es CSV: ") + QString::fromUtf8(csv));
    if (*leido != esperado)
        BaseFuzz::fallar(QStringLiteral("el CSV no devuelve las celdas escritas: ") + QString::fromUtf8(csv));
    return 0;
}
