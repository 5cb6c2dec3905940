#include "costos/PreciosAlimento.h"

#include "costos/Importe.h"

#include <QSqlQuery>

#include <algorithm>

std::optional<ErrorBD> PreciosAlimento::guardar(QSqlDatabase db, int idAlimento, QDate desde,
                                                double porKilo) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into precios_alimento (id_alimento, desde, precio) values (?, ?, ?) "
                             "on conflict (id_alimento, desde) do update set precio = excluded.precio"));
    q.addBindValue(idAlimento);
    q.addBindValue(desde.toString(QStringLiteral("yyyy-MM-dd")));
    // Kept as the four decimals it is computed with, so the table says what was used.
    q.addBindValue(Importe::porKilo(Importe::precio(porKilo)));
    if (!q.exec())
        return errorDe(q.lastError());
    return std::nullopt;
}

std::optional<ErrorBD> PreciosAlimento::cargar(QSqlDatabase db, PreciosAlimento* precios) {
    precios->porAlimento_.clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "select id_alimento, desde, precio from precios_alimento order by id_alimento, desde")))
        return errorDe(q.lastError());
    while (q.next())
        precios->porAlimento_[q.value(0).toInt()].append(
            {q.value(1).toString(), Importe::precio(q.value(2).toDouble())});
    return std::nullopt;
}

std::optional<qint64> PreciosAlimento::en(int id, QByteArrayView fecha) const {
    const auto it = porAlimento_.constFind(id);
    if (it == porAlimento_.cend())
        return std::nullopt;
    // The last price from a day not after `fecha` (yyyy-MM-dd sorts as the calendar does).
    const QString dia = QString::fromLatin1(fecha);
    const auto despues = std::upper_bound(it->cbegin(), it->cend(), dia,
                                          [](const QString& d, const Precio& p) { return d < p.desde; });
    if (despues == it->cbegin())
        return std::nullopt;
    return std::prev(despues)->precio;
}

std::optional<qint64> PreciosAlimento::en(int id, QDate fecha) const {
    return en(id, QByteArrayView(fecha.toString(QStringLiteral("yyyy-MM-dd")).toLatin1()));
}
