#include "costos/InventarioStock.h"

#include "costos/CatalogoAlimentos.h"
#include "costos/ConsumoDiario.h"
#include "costos/MovimientosStock.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

qint64 InventarioStock::Alimento::stockAl(QDate fecha) const {
    const auto despues = std::upper_bound(dias.cbegin(), dias.cend(), fecha,
                                          [](QDate f, const Dia& d) { return f < d.fecha; });
    return despues == dias.cbegin() ? 0 : std::prev(despues)->stock;
}

qint64 InventarioStock::Alimento::consumoEntre(QDate desde, QDate hasta) const {
    qint64 g = 0;
    for (const Dia& d : dias)
        if (d.fecha >= desde && d.fecha <= hasta)
            g += d.consumido;
    return g;
}

std::optional<double> InventarioStock::Fila::diasRestantes() const {
    if (uso7 <= 0)
        return std::nullopt;
    if (stock <= 0)
        return 0.0;
    // stock / (uso7 / 7), in tenths rounded half up, in whole numbers.
    const qint64 decimas = (stock * 70 * 2 + uso7) / (2 * uso7);
    return decimas / 10.0;
}

std::optional<double> InventarioStock::Merma::porcentaje() const {
    if (calculado == 0)
        return std::nullopt;
    const double p = std::round(static_cast<double>(gramos()) * 10000 / static_cast<double>(calculado));
    return p / 100;
}

std::optional<ErrorBD> InventarioStock::calcular(QSqlDatabase db, QDate hasta, InventarioStock* inventario) {
    *inventario = {};
    inventario->hasta = hasta;
    CatalogoAlimentos catalogo;
    if (auto e = CatalogoAlimentos::cargar(db, &catalogo))
        return e;
    QList<MovimientosStock::Movimiento> movimientos;
    if (auto e = MovimientosStock::listar(db, hasta, &movimientos))
        return e;
    QList<ConsumoDiario::Dia> consumos;
    if (auto e = ConsumoDiario::leer(db, hasta, &consumos))
        return e;

    // Per feed and day, what happened; a later count of the same day is the one that holds.
    std::vector<QMap<QDate, Dia>> porAlimento(catalogo.alimentos().size());
    QHash<QString, std::optional<int>> buscados;
    QSet<QString> sinAlimento;
    for (const ConsumoDiario::Dia& c : consumos) {
        auto it = buscados.find(c.alimento);
        if (it == buscados.end())
            it = buscados.insert(c.alimento, catalogo.buscar(c.alimento));
        if (!*it) {
            if (!sinAlimento.contains(CatalogoAlimentos::plegar(c.alimento))) {
                sinAlimento.insert(CatalogoAlimentos::plegar(c.alimento));
                inventario->sinAlimento << c.alimento;
            }
            continue;
        }
        const QDate f = QDate::fromString(c.fecha, QStringLiteral("yyyy-MM-dd"));
        if (f.isValid())
            porAlimento[catalogo.posicion(**it)][f].consumido += c.gramos;
    }
    for (const MovimientosStock::Movimiento& m : movimientos) {
        const qsizetype i = catalogo.posicion(m.idAlimento);
        if (i < 0 || !m.fecha.isValid())
            continue; // a feed taken off the catalogue
        Dia& d = porAlimento[i][m.fecha];
        if (m.tipo == MovimientosStock::kConteo)
            d.contado = m.gramos;
        else
            d.ingresado += m.gramos;
    }
    for (qsizetype i = 0; i < catalogo.alimentos().size(); ++i) {
        Alimento a{catalogo.alimentos().at(i).id, catalogo.alimentos().at(i).nombre, {}};
        qint64 stock = 0;
        for (auto it = porAlimento[i].begin(); it != porAlimento[i].end(); ++it) {
            Dia d = it.value();
            d.fecha = it.key();
            d.calculado = stock + d.ingresado - d.consumido;
            d.stock = d.contado ? *d.contado : d.calculado;
            stock = d.stock;
            a.dias << d;
        }
        inventario->alimentos << a;
    }
    std::sort(inventario->sinAlimento.begin(), inventario->sinAlimento.end(),
              [](const QString& x, const QString& y) { return x.compare(y, Qt::CaseInsensitive) < 0; });
    return std::nullopt;
}

QList<InventarioStock::Fila> InventarioStock::filas(QDate fecha) const {
    QList<Fila> r;
    for (const Alimento& a : alimentos)
        r << Fila{a.id, a.nombre, a.stockAl(fecha), a.consumoEntre(fecha.addDays(-7), fecha.addDays(-1)),
                  a.consumoEntre(fecha.addDays(-30), fecha.addDays(-1))};
    return r;
}

QList<InventarioStock::Merma> InventarioStock::mermas() const {
    QList<Merma> r;
    for (const Alimento& a : alimentos)
        for (const Dia& d : a.dias)
            if (d.contado)
                r << Merma{a.id, a.nombre, d.fecha, d.calculado, *d.contado};
    return r;
}
