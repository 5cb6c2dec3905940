#include "maint/BloquesCab.h"

#include <QDir>
#include <QFile>

#include <cerrno>

namespace {

// The cabinet checksum: the bytes as little-endian 32-bit words XORed together, the last 1 to 3
// bytes taken high byte first.
quint32 suma(const uchar* p, qint64 n, quint32 semilla) {
    quint32 s = semilla;
    qint64 i = 0;
    for (; i + 4 <= n; i += 4)
        s ^= quint32(p[i]) | quint32(p[i + 1]) << 8 | quint32(p[i + 2]) << 16 | quint32(p[i + 3]) << 24;
    quint32 resto = 0;
    switch (n - i) {
    case 3:
        resto |= quint32(p[i++]) << 16;
        [[fallthrough]];
    case 2:
        resto |= quint32(p[i++]) << 8;
        [[fallthrough]];
    case 1:
        resto |= quint32(p[i]);
        break;
    default:
        break;
    }
    return s ^ resto;
}

quint16 u16(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}
quint32 u32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// Skips a NUL-terminated name; false when the file ends first.
bool saltarNombre(QFile& f) {
    char c = 1;
    while (c != 0)
        if (!f.getChar(&c))
            return false;
    return true;
}

} // namespace

bool comprobarBloquesCab(const QString& ruta, FalloCab* fallo) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    const auto falla = [&](int numero, const QString& texto) {
        if (fallo)
            *fallo = {numero, texto};
        return false;
    };
    const auto danado = [&](const QString& por) {
        return falla(0, QStringLiteral("El archivo %1 está dañado: %2.").arg(nombre, por));
    };
    const auto incompleto = [&] { return danado(QStringLiteral("está incompleto")); };
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return falla(EIO,
                     QStringLiteral("Error de lectura o escritura en %1 (%2).").arg(nombre, f.errorString()));
    const QByteArray cabecera = f.read(36);
    if (cabecera.size() < 36 || !cabecera.startsWith("MSCF"))
        return falla(0, QStringLiteral("El archivo %1 no es un archivo de Back Up (.cab).").arg(nombre));
    const auto* h = reinterpret_cast<const uchar*>(cabecera.constData());
    const int carpetas = u16(h + 26);
    const quint16 banderas = u16(h + 30);
    int reservaCarpeta = 0;
    int reservaBloque = 0;
    if (banderas & 0x0004) {
        const QByteArray r = f.read(4);
        if (r.size() < 4)
            return incompleto();
        const auto* q = reinterpret_cast<const uchar*>(r.constData());
        reservaCarpeta = q[2];
        reservaBloque = q[3];
        if (!f.seek(f.pos() + u16(q)))
            return incompleto();
    }
    // The names of a previous and a next cabinet of a set.
    for (const quint16 b : {quint16(0x0001), quint16(0x0002)})
        if ((banderas & b) && !(saltarNombre(f) && saltarNombre(f)))
            return incompleto();
    struct Carpeta {
        qint64 inicio;
        int bloques;
    };
    QList<Carpeta> lista;
    for (int i = 0; i < carpetas; ++i) {
        const QByteArray c = f.read(8 + reservaCarpeta);
        if (c.size() < 8 + reservaCarpeta)
            return incompleto();
        const auto* q = reinterpret_cast<const uchar*>(c.constData());
        lista.append({qint64(u32(q)), u16(q + 4)});
    }
    QByteArray datos;
    for (const Carpeta& c : lista) {
        if (!f.seek(c.inicio) || c.inicio > f.size())
            return incompleto();
        for (int b = 0; b < c.bloques; ++b) {
            const QByteArray cab = f.read(8 + reservaBloque);
            if (cab.size() < 8 + reservaBloque)
                return incompleto();
            const auto* q = reinterpret_cast<const uchar*>(cab.constData());
            const int largo = u16(q + 4);
            datos = f.read(largo);
            if (datos.size() < largo)
                return incompleto();
            const quint32 guardada = u32(q);
            // A stored sum of zero means the block carries none.
            if (guardada != 0 &&
                suma(q + 4, 4 + reservaBloque,
                     suma(reinterpret_cast<const uchar*>(datos.constData()), largo, 0)) != guardada)
                return danado(QStringLiteral("sus datos no coinciden con su suma de control"));
        }
    }
    return true;
}
