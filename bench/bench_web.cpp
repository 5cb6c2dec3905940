// The web channel's figures:
//   json_mb_per_s        reading a valid 10 MB reply of load rows
//   json_vs_nlohmann     that speed over nlohmann::json's on the same text (> 1: faster)
//   web_download_10k_ms  Recibir_web of 10,000 load rows over 10 dates from an in-process service
//   web_download_100k_ms the same with 100,000 rows over 100 dates (linear: about 10x the first)
//   web_upload_build_ms  building the INSERT statements of a 20,000-row plan
#include "Figuras.h"
#include "ServidorFalso.h"

#include "db/BaseDatos.h"
#include "web/DescargaWeb.h"
#include "web/Json.h"
#include "web/TuplasWeb.h"

#include <nlohmann/json.hpp>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>

namespace {

QByteArray filaCarga(int i, const QDate& fecha) {
    return "{\"cliente\":\"7\",\"fecha\":\"" + fecha.toString(QStringLiteral("yyyy-MM-dd")).toLatin1() +
           "\",\"hora\":\"" + QByteArray::number(6 + i % 12) + ":" + QByteArray::number(10 + i % 50) +
           "\",\"receta\":\"Engorde novillos\",\"id_alim\":\"" + QByteArray::number(i % 40) +
           "\",\"alimento\":\"Maiz partido\",\"kg_real\":" + QByteArray::number(1000 + i % 997) + "." +
           QByteArray::number(i % 10) + ",\"Operario\":\"" + QByteArray::number(i % 5) + "\",\"kg_sug\":\"" +
           QByteArray::number(1000 + i % 991) + "\"}";
}

QByteArray respuestaCargas(int filas, int fechas) {
    QByteArray r = "[";
    const int porFecha = filas / fechas;
    for (int i = 0; i < filas; ++i) {
        if (i)
            r += ',';
        r += filaCarga(i, QDate(2024, 1, 1).addDays(i / porFecha));
    }
    return r + "]";
}

const QByteArray& diezMegas() {
    static const QByteArray texto = [] {
        QByteArray r = respuestaCargas(1, 1).chopped(1);
        for (int i = 1; r.size() < 10'000'000; ++i)
            r += "," + filaCarga(i, QDate(2024, 1, 1).addDays(i % 300));
        return r + "]";
    }();
    return texto;
}

template <typename F> double mejorMs(int veces, F f) {
    double mejor = 1e300;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        mejor = std::min(mejor, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return mejor;
}

double msPropio() {
    const QString texto = QString::fromLatin1(diezMegas());
    return mejorMs(3, [&] {
        const auto v = ParseJson(texto);
        if (!v || v->tamano() < 1000)
            std::abort();
    });
}

double msNlohmann() {
    const std::string texto(diezMegas().constData(), static_cast<size_t>(diezMegas().size()));
    return mejorMs(3, [&] {
        const nlohmann::json v = nlohmann::json::parse(texto);
        if (v.size() < 1000)
            std::abort();
    });
}

double megasPorSegundo() {
    return static_cast<double>(diezMegas().size()) / 1e6 / (msPropio() / 1000.0);
}
double contraNlohmann() {
    return msNlohmann() / msPropio();
}

// A local database of its own with five operators, opened as the shared connection.
struct BaseBanco {
    QTemporaryDir dir;
    BaseBanco() {
        BaseDatos::abrir(dir.path());
        QSqlQuery q(BaseDatos::ConexionBD());
        for (int i = 0; i < 5; ++i)
            q.exec(QStringLiteral("insert into operarios values (%1, 'Operario %1')").arg(i));
    }
    ~BaseBanco() { BaseDatos::cerrar(); }
};

double descargar(int filas, int fechas) {
    BaseBanco base;
    const QByteArray cargas = respuestaCargas(filas, fechas);
    ServidorFalso srv([&](const QString& sql) -> ServidorFalso::Respuesta {
        if (sql.startsWith(u"SELECT distinct curdate()"))
            return {200, "[{\"curdate()\":\"2024-01-20\"}]"};
        if (sql.startsWith(u"select * from clientes"))
            return {200, "[{\"id\":\"7\"}]"};
        if (sql.startsWith(u"select * from lectura_carga_tracker"))
            return {200, cargas};
        return {200, "[{\"fecha\":\"2024-01-01\",\"hora\":\"10:00\",\"corral\":\"C1\",\"kg_sug\":\"5\",\"kg_"
                     "real\":\"5\"}]"};
    });
    return mejorMs(2, [&] {
        DescargaWeb d({srv.servidor(), QStringLiteral("u"), QStringLiteral("c")}, QDate(2024, 1, 1),
                      QDate(2024, 12, 31));
        int recibidas = 0;
        bool listo = false;
        QObject::connect(&d, &DescargaWeb::fila, [&](const FilaEvento&) { ++recibidas; });
        QObject::connect(&d, &DescargaWeb::terminado,
                         [&](DescargaWeb::Fin, const Mensaje&) { listo = true; });
        d.iniciar();
        while (!listo)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (recibidas < filas)
            std::abort();
    });
}

double construirSubida() {
    BaseBanco base;
    QSqlDatabase db = BaseDatos::ConexionBD();
    db.transaction();
    QSqlQuery q(db);
    q.exec(QStringLiteral("insert into recetas values (1, 'Engorde', 0)"));
    q.exec(QStringLiteral("insert into recetas values (2, 'Recria', -1)"));
    for (int i = 0; i < 40; ++i)
        q.exec(QStringLiteral("insert into alimentos values (%1, 'Alimento %1')").arg(i));
    q.prepare(QStringLiteral("insert into viajes values (?, '2024-01-15', '08:00', ?, 1, ?, ?, ?)"));
    for (int i = 0; i < 20000; ++i) {
        q.addBindValue(i / 10);
        q.addBindValue(1 + (i / 10) % 2);
        q.addBindValue(i % 40);
        q.addBindValue(100.5 + i % 7);
        q.addBindValue(i % 10);
        q.exec();
    }
    QSqlQuery d(db);
    d.prepare(QStringLiteral("insert into descarga values (?, ?, ?, ?)"));
    for (int i = 0; i < 2000 * 3; ++i) {
        d.addBindValue(i / 3);
        d.addBindValue(QStringLiteral("C%1").arg(i % 3));
        d.addBindValue(10.0 + i % 3);
        d.addBindValue(i % 3);
        d.exec();
    }
    db.commit();
    return mejorMs(3, [] {
        const auto c = TuplasWeb::carga(QStringLiteral("7"));
        const auto r = TuplasWeb::descarga(QStringLiteral("7"));
        if (c.filas != 20000 || r.filas == 0)
            std::abort();
    });
}

const Figura kJson("json_mb_per_s", "MB/s", megasPorSegundo);
const Figura kNlohmann("json_vs_nlohmann", "x", contraNlohmann);
const Figura kDescarga10k("web_download_10k_ms", "ms", [] { return descargar(10000, 10); });
const Figura kDescarga100k("web_download_100k_ms", "ms", [] { return descargar(100000, 100); });
const Figura kSubida("web_upload_build_ms", "ms", construirSubida);

} // namespace
