#include "access/CabeceraAccess.h"

namespace CabeceraAccess {

namespace {
constexpr char kFirmaJet[] = "Standard Jet DB";
constexpr char kFirmaAce[] = "Standard ACE DB";
constexpr int kPosFirma = 4;
constexpr int kPosVersion = 0x14;

Formato rechazo(const QString& motivo) {
    Formato f;
    f.motivo = motivo;
    return f;
}
} // namespace

Formato examinar(const QByteArray& datos) {
    if (datos.isEmpty())
        return rechazo(QStringLiteral("el archivo está vacío"));
    if (datos.startsWith(QByteArrayLiteral("SQLite format 3")))
        return rechazo(QStringLiteral("es una base de datos SQLite, no un archivo de Access"));
    const QByteArray inicio = datos.left(4096);
    if (inicio.count('\0') == inicio.size())
        return rechazo(QStringLiteral("el archivo solo contiene ceros, no es un archivo de Access"));
    const QByteArray firma = datos.mid(kPosFirma, int(sizeof kFirmaJet));
    if (firma == QByteArray(kFirmaAce, int(sizeof kFirmaAce)))
        return rechazo(QStringLiteral("es un archivo de Access 2007 o posterior (.accdb); solo se importan "
                                      "bases de Access 97 a 2003 (.mdb)"));
    if (!datos.startsWith(QByteArrayLiteral("\x00\x01\x00\x00")) ||
        firma != QByteArray(kFirmaJet, int(sizeof kFirmaJet)))
        return rechazo(QStringLiteral("no es un archivo de Access"));
    if (datos.size() <= kPosVersion)
        return rechazo(QStringLiteral("el archivo está incompleto o dañado"));
    int pagina = 0; // bytes: Jet 3 and Jet 4
    switch (static_cast<unsigned char>(datos.at(kPosVersion))) {
    case 0:
        pagina = 2048;
        break;
    case 1:
        pagina = 4096;
        break;
    default:
        return rechazo(QStringLiteral("es un archivo de Access de una versión desconocida"));
    }
    // A database has at least its header page and the page of its system catalogue; a file cut by a
    // failed copy seldom ends on a page boundary.
    if (datos.size() < 3 * pagina || datos.size() % pagina != 0)
        return rechazo(QStringLiteral("el archivo está incompleto o dañado"));
    return Formato{};
}

} // namespace CabeceraAccess
