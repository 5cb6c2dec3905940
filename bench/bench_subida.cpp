// The programme upload over the direct link, 200 trip rows and 100 pen rows to the simulator:
// upload_floor_ratio   total time over the protocol's floor, (200 + 100 + 3) x 0.5 s = 151.5 s
// upload_min_pause_ms  shortest time between two sends (and after "'fin'")
// upload_ui_latency_ms longest wait of a zero timer posted while the upload runs
// The three come from one upload, run when the first of them is asked for.
#include "Figuras.h"
#include "ServidorTableta.h"

#include "db/BaseDatos.h"
#include "link/EnvioDirecto.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

struct Resultado {
    double razon = -1;
    double pausaMinimaMs = -1;
    double latenciaMs = -1;
};

bool cargarPlan() {
    QSqlQuery q(BaseDatos::ConexionBD());
    bool ok = q.exec("insert into recetas values (1, 'Mezcla', 0), (2, 'Engorde', -1)");
    for (int i = 1; i <= 10; ++i)
        ok = ok && q.exec(QStringLiteral("insert into alimentos values (%1, 'Alimento número %1')").arg(i));
    ok = ok && q.exec("insert into operarios values (1, 'Peña'), (2, 'Gómez'), (3, 'Ruiz')");
    // 20 trips of 10 feeds each (half of them percentage recipes) and 5 pens each.
    for (int viaje = 1; viaje <= 20 && ok; ++viaje) {
        const int receta = viaje % 2 ? 1 : 2;
        for (int alim = 1; alim <= 10 && ok; ++alim)
            ok = q.exec(
                QStringLiteral("insert into viajes values (%1, '2024-05-%2', '07:30', %3, 1, %4, %5, %4)")
                    .arg(viaje)
                    .arg(viaje, 2, 10, QLatin1Char('0'))
                    .arg(receta)
                    .arg(alim)
                    .arg(receta == 1 ? 350.5 : 10.0));
        for (int pen = 1; pen <= 5 && ok; ++pen)
            ok = q.exec(QStringLiteral("insert into descarga values (%1, 'Corral %2', %3, %2)")
                            .arg(viaje)
                            .arg(pen)
                            .arg(receta == 1 ? 20 : 700));
    }
    return ok;
}

Resultado medir() {
    Resultado r;
    QTemporaryDir datos;
    if (BaseDatos::abrir(datos.path()) || !cargarPlan())
        return r;
    ServidorTableta tableta;
    if (!tableta.escuchar(QHostAddress::LocalHost, 0))
        return r;
    QTcpSocket socket;
    QEventLoop bucle;
    QObject::connect(&socket, &QTcpSocket::connected, &bucle, &QEventLoop::quit);
    socket.connectToHost(QHostAddress::LocalHost, tableta.puerto());
    QTimer plazo;
    plazo.setSingleShot(true);
    QObject::connect(&plazo, &QTimer::timeout, &bucle, &QEventLoop::quit);
    plazo.start(5000);
    bucle.exec();
    plazo.stop();
    if (socket.state() != QAbstractSocket::ConnectedState)
        return r;

    EnvioDirecto envio(&socket);
    QElapsedTimer reloj;
    qint64 anterior = -1;
    qint64 pausaMinima = -1;
    qint64 latencia = 0;
    int enviados = 0;
    auto pausa = [&](qint64 ahora) {
        if (anterior >= 0)
            pausaMinima = pausaMinima < 0 ? ahora - anterior : std::min(pausaMinima, ahora - anterior);
        anterior = ahora;
    };
    QObject::connect(&envio, &EnvioDirecto::mensajeEnviado, [&] {
        pausa(reloj.nsecsElapsed());
        ++enviados;
    });
    QObject::connect(&envio, &EnvioDirecto::terminado, &bucle, [&] {
        pausa(reloj.nsecsElapsed());
        bucle.quit();
    });
    QObject::connect(&envio, &EnvioDirecto::fallo, &bucle, &QEventLoop::quit);
    // The window's own events meanwhile: a zero timer posted every 10 ms.
    QTimer sonda;
    sonda.setInterval(10);
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        const qint64 puesto = reloj.nsecsElapsed();
        QTimer::singleShot(0, &sonda,
                           [&, puesto] { latencia = std::max(latencia, reloj.nsecsElapsed() - puesto); });
    });
    reloj.start();
    sonda.start();
    envio.iniciar();
    bucle.exec();
    const qint64 total = reloj.nsecsElapsed();
    sonda.stop();
    if (envio.enCurso() || enviados != 200 + 100 + 3)
        return r;
    r.razon = static_cast<double>(total) / 151.5e9;
    r.pausaMinimaMs = static_cast<double>(pausaMinima) / 1e6;
    r.latenciaMs = static_cast<double>(latencia) / 1e6;
    BaseDatos::cerrar();
    return r;
}

const Resultado& resultado() {
    static const Resultado r = medir();
    return r;
}

const Figura kRazon("upload_floor_ratio", "x", [] { return resultado().razon; });
const Figura kPausa("upload_min_pause_ms", "ms", [] { return resultado().pausaMinimaMs; });
const Figura kLatencia("upload_ui_latency_ms", "ms", [] { return resultado().latenciaMs; });

} // namespace
