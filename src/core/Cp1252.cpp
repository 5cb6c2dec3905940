#include "core/Cp1252.h"

namespace Cp1252 {

namespace {
// 0x80..0x9F; 0 marks the five unassigned bytes, which decode as the C1 control of that value.
constexpr char16_t kAlto[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QByteArray codificar(const QString& texto) {
    QByteArray r;
    r.reserve(texto.size());
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        const bool libre = u >= 0x80 && u < 0xA0 && kAlto[u - 0x80] == 0; // the five unassigned bytes
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || libre) {
            r.append(static_cast<char>(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (kAlto[i] != 0 && kAlto[i] == u) {
                b = static_cast<char>(0x80 + i);
                break;
            }
        r.append(b);
    }
    return r;
}

QString decodificar(const QByteArray& bytes) {
    QString r;
    r.resize(bytes.size());
    QChar* d = r.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t u = b;
        if (b >= 0x80 && b < 0xA0 && kAlto[b - 0x80] != 0)
            u = kAlto[b - 0x80];
        d[i] = QChar(u);
    }
    return r;
}

} // namespace Cp1252
