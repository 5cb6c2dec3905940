#include "impresion/PlanillaCarga.h"

#include "catalog/BuscarOperario.h"
#include "core/Texto.h"
#include "db/Preferencias.h"
#include "link/ProgramaDirecto.h"

#include <QHash>
#include <QSqlQuery>
#include <QTime>
#include <QVariant>

#include <algorithm>
#include <map>

using namespace DocumentoImpreso;
using Parte = ProgramaDirecto::Seccion;

namespace {

struct Carga {
    int orden = 0;
    QString alimento;
    QVariant kilos; // null when the plan has no amount
};
struct Corral {
    int orden = 0;
    QString nombre;
    QVariant parte; // percent of the ration
};
struct Viaje {
    qint64 numero = 0;
    QString hora;
    QString receta;
    QString operario;
    QList<Carga> cargas;
    QList<Corral> corrales;
};

// The upload's own query for the part, narrowed to one day: the amounts come out exactly as the
// tablet receives them.
bool leer(Parte s, const QDate& dia, QSqlQuery& q) {
    q.prepare(QStringLiteral("select * from (%1) where substr(fecha, 1, 10) = ?")
                  .arg(ProgramaDirecto::consulta(s)));
    q.addBindValue(dia.toString(QStringLiteral("yyyy-MM-dd")));
    return q.exec();
}

QString numero(const QVariant& v) {
    return v.isNull() ? QString() : Texto::numeroRegional(v.toDouble());
}

QTime hora(const QString& t) {
    QTime h = QTime::fromString(t.trimmed(), QStringLiteral("HH:mm"));
    if (!h.isValid())
        h = QTime::fromString(t.trimmed(), QStringLiteral("H:mm"));
    return h;
}

QList<Columna> columnas() {
    return {{QStringLiteral("Viaje"), 0.6, Qt::AlignRight},
            {QStringLiteral("Hora"), 0.6},
            {QStringLiteral("Receta"), 1.6},
            {QStringLiteral("Operario"), 1.3},
            {QStringLiteral("Orden"), 0.55, Qt::AlignRight},
            {QStringLiteral("Alimento"), 1.9},
            {QStringLiteral("Kg"), 0.9, Qt::AlignRight},
            {QStringLiteral("Cargado"), 0.9}};
}

Grupo filasDe(const Viaje& v) {
    Grupo g;
    double total = 0;
    for (qsizetype i = 0; i < v.cargas.size(); ++i) {
        const Carga& c = v.cargas[i];
        total += c.kilos.isNull() ? 0 : c.kilos.toDouble();
        const bool primera = i == 0;
        g.push_back({{primera ? QString::number(v.numero) : QString(), primera ? v.hora : QString(),
                      primera ? v.receta : QString(), primera ? v.operario : QString(),
                      QString::number(c.orden), c.alimento, numero(c.kilos), QString()}});
    }
    g.push_back({{QString(), QString(), QString(), QString(), QString(), QStringLiteral("Total del viaje"),
                  Texto::numeroRegional(total), QString()},
                 Fila::Estilo::Destacada});
    QStringList corrales;
    for (const Corral& c : v.corrales)
        corrales << QStringLiteral("%1. %2: %3 %").arg(c.orden).arg(c.nombre, numero(c.parte));
    g.push_back(
        {{QStringLiteral("Descarga: ") +
          (corrales.isEmpty() ? QStringLiteral("sin corrales") : corrales.join(QStringLiteral(" · ")))}});
    return g;
}

} // namespace

namespace PlanillaCarga {

Resultado construir(const QDate& dia) {
    const QSqlDatabase db = BaseDatos::ConexionBD();
    Resultado r;
    std::map<qint64, Viaje> viajes;
    QHash<QString, QString> operarios;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    for (Parte s : {Parte::ViajesKg, Parte::ViajesPorcentaje}) {
        if (!leer(s, dia, q)) {
            r.error = errorDe(q.lastError());
            return r;
        }
        // Columns: trip, date, recipe id, recipe, feed id, feed, kilograms, order, operator, time.
        while (q.next()) {
            Viaje& v = viajes[q.value(0).toLongLong()];
            if (v.cargas.isEmpty()) {
                v.numero = q.value(0).toLongLong();
                v.hora = q.value(9).toString();
                v.receta = q.value(3).toString();
                const QString op = q.value(8).toString();
                auto it = operarios.find(op);
                if (it == operarios.end()) {
                    const ResultadoOperario o = buscarOperario(op);
                    it = operarios.insert(op, o.error ? op : o.texto);
                }
                v.operario = *it;
            }
            v.cargas.push_back({q.value(7).toInt(), q.value(5).toString(), q.value(6)});
        }
    }
    for (Parte s : {Parte::DescargaKg, Parte::DescargaPorcentaje}) {
        if (!leer(s, dia, q)) {
            r.error = errorDe(q.lastError());
            return r;
        }
        // Columns: trip, date, recipe id, pen, share, order.
        while (q.next()) {
            const auto it = viajes.find(q.value(0).toLongLong());
            if (it != viajes.end())
                it->second.corrales.push_back({q.value(5).toInt(), q.value(3).toString(), q.value(4)});
        }
    }

    QList<Viaje> orden;
    for (auto& [numero, v] : viajes) {
        std::stable_sort(v.cargas.begin(), v.cargas.end(),
                         [](const Carga& a, const Carga& b) { return a.orden < b.orden; });
        std::stable_sort(v.corrales.begin(), v.corrales.end(),
                         [](const Corral& a, const Corral& b) { return a.orden < b.orden; });
        orden.push_back(std::move(v));
    }
    std::stable_sort(orden.begin(), orden.end(), [](const Viaje& a, const Viaje& b) {
        const QTime ha = hora(a.hora), hb = hora(b.hora);
        if (ha != hb)
            return ha.isValid() && (!hb.isValid() || ha < hb);
        return a.numero < b.numero;
    });

    Documento& d = r.documento;
    d.titulo = QStringLiteral("Planilla de carga");
    d.granja = Preferencias::granja();
    d.datos << QStringLiteral("Día: %1").arg(Texto::regional().toString(dia, QLocale::LongFormat));
    d.datos << (orden.size() == 1 ? QStringLiteral("1 viaje")
                                  : QStringLiteral("%1 viajes").arg(orden.size()));
    Seccion s;
    s.columnas = columnas();
    s.sinFilas = QStringLiteral("No hay viajes planificados para este día.");
    for (const Viaje& v : orden)
        s.grupos.push_back(filasDe(v));
    d.secciones << s;
    r.viajes = int(orden.size());
    return r;
}

} // namespace PlanillaCarga
