// The tablet's address as typed: any text gives a host and a port above 0, and the host and port
// it gave, typed back ("host:port", "[v6]:port"), give the same again.
#include "BaseFuzz.h"

#include "link/DireccionTablet.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    BaseFuzz::iniciarQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
    const DireccionTablet d = DireccionTablet::leer(texto);
    if (d.puerto == 0)
        BaseFuzz::fallar(QStringLiteral("puerto 0 para «%1»").arg(texto));
    if (d.host.isEmpty() || d.host != d.host.trimmed() || d.host.contains(u'[') || d.host.contains(u']'))
        return 0;
    const QString puerto = QString::number(d.puerto);
    const QString otraVez =
        d.host.contains(u':') ? u'[' + d.host + QStringLiteral("]:") + puerto : d.host + u':' + puerto;
    const DireccionTablet e = DireccionTablet::leer(otraVez);
    if (e.host != d.host || e.puerto != d.puerto)
        BaseFuzz::fallar(QStringLiteral("«%1» da %2 puerto %3, pero «%4» da %5 puerto %6")
                             .arg(texto, d.host)
                             .arg(d.puerto)
                             .arg(otraVez, e.host)
                             .arg(e.puerto));
    return 0;
}
