#include "link/DireccionTablet.h"

DireccionTablet DireccionTablet::leer(const QString& texto) {
    DireccionTablet d;
    const QString t = texto.trimmed();
    d.host = t;
    auto puerto = [](const QString& p, quint16* salida) {
        bool ok = false;
        const uint n = p.toUInt(&ok);
        if (ok && n > 0 && n <= 65535) {
            *salida = static_cast<quint16>(n);
            return true;
        }
        return false;
    };
    if (t.startsWith(u'[')) {
        const qsizetype cierre = t.indexOf(u']');
        if (cierre > 0) {
            d.host = t.mid(1, cierre - 1);
            if (t.mid(cierre + 1).startsWith(u':'))
                puerto(t.mid(cierre + 2), &d.puerto);
        }
        return d;
    }
    // Exactly one colon separates host and port; more than one is a bare IPv6 address.
    if (t.count(u':') == 1) {
        const qsizetype dos = t.indexOf(u':');
        quint16 p = 0;
        if (puerto(t.mid(dos + 1), &p)) {
            d.host = t.left(dos);
            d.puerto = p;
        }
    }
    return d;
}

QString DireccionTablet::texto() const {
    const QString h = host.contains(u':') ? u'[' + host + u']' : host;
    return h + u':' + QString::number(puerto);
}
