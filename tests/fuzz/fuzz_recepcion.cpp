// The tablet's replies to an event request, however they arrive: the same bytes in one arrival,
// cut at two points chosen by the input, or one byte at a time give the same rows and the same
// messages, in the same order. Aborts on any difference.
//
// Field 3 of a load, read from the start of the same bytes, is a 16-bit number exactly when it is
// a sign and digits between blanks with a value that fits.
//
// Input: two 16-bit cut positions (4 bytes), then the bytes the tablet sends.
#include "BaseFuzz.h"

#include "core/Cp1252.h"
#include "link/LecturaSuceso.h"
#include "link/RecepcionSucesos.h"

#include <QDate>

#include <algorithm>

namespace {

// Each step of the reading as one comparable line.
QStringList leer(const QByteArray& flujo, QList<qsizetype> cortes) {
    RecepcionSucesos r;
    r.iniciar(QDate(2021, 6, 1), QDate(2021, 6, 30), QStringLiteral("192.168.1.50"));
    cortes << flujo.size();
    QStringList pasos;
    qsizetype desde = 0;
    for (const qsizetype corte : cortes) {
        for (const PasoRecepcion& p : r.recibir(flujo.mid(desde, corte - desde))) {
            QString linea;
            if (p.fila)
                linea += QStringLiteral("fila ") + p.fila->celdas().join(u'|');
            if (p.mensaje)
                linea += QStringLiteral(" mensaje ") + p.mensaje->texto;
            if (p.termina)
                linea += QStringLiteral(" termina");
            pasos << linea;
        }
        desde = corte;
    }
    return pasos;
}

void comparar(const QStringList& entera, const QStringList& partida, const QByteArray& flujo,
              const QString& como) {
    if (entera == partida)
        return;
    BaseFuzz::fallar(
        QStringLiteral("%1 no da lo mismo que una sola llegada.\nflujo: %2\nentera: %3\npartida: %4")
            .arg(como, QString::fromLatin1(flujo.toPercentEncoding()), entera.join(u'\n'),
                 partida.join(u'\n')));
}

// What field 3 must read as, worked out apart from the reader.
LecturaSuceso::Entero16 esperado(const QString& campo) {
    QString t = campo.trimmed();
    const bool negativo = t.startsWith(u'-');
    if (negativo || t.startsWith(u'+'))
        t.remove(0, 1);
    if (t.isEmpty())
        return LecturaSuceso::Entero16::NoEsNumero;
    for (const QChar c : t)
        if (c < u'0' || c > u'9')
            return LecturaSuceso::Entero16::NoEsNumero;
    while (t.size() > 1 && t.startsWith(u'0'))
        t.remove(0, 1);
    if (t.size() > 5 || t.toInt() > (negativo ? 32768 : 32767))
        return LecturaSuceso::Entero16::Desborda;
    return LecturaSuceso::Entero16::Valido;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    BaseFuzz::abrirBaseConOperarios();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    if (largo < 4)
        return 0;
    const QByteArray flujo(reinterpret_cast<const char*>(datos) + 4, static_cast<qsizetype>(largo) - 4);
    const qsizetype n = flujo.size();
    qsizetype a = ((datos[0] << 8) | datos[1]) % (n + 1);
    qsizetype b = ((datos[2] << 8) | datos[3]) % (n + 1);
    if (a > b)
        std::swap(a, b);

    const QString campo = Cp1252::decodificar(flujo.left(flujo.indexOf(',') < 0 ? 40 : flujo.indexOf(',')));
    if (LecturaSuceso::entero16(campo) != esperado(campo))
        BaseFuzz::fallar(QStringLiteral("el campo 3 «%1» se lee como %2 y es %3")
                             .arg(QString::fromLatin1(campo.toUtf8().toPercentEncoding()),
                                  QString::number(int(LecturaSuceso::entero16(campo))),
                                  QString::number(int(esperado(campo)))));

    const QStringList entera = leer(flujo, {});
    comparar(entera, leer(flujo, {a, b}), flujo, QStringLiteral("Cortado en %1 y %2").arg(a).arg(b));
    if (n <= 400) {
        QList<qsizetype> todos;
        for (qsizetype i = 1; i < n; ++i)
            todos << i;
        comparar(entera, leer(flujo, todos), flujo, QStringLiteral("Byte a byte"));
    }
    return 0;
}
