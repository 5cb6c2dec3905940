#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

// A kept history of 1,000,000 events over the year 2024, about 2,700 a day, in a fresh database of
// its own. Event i is a discharge when i % 5 == 4 (of pen i % 40), else a load of recipe i % 12 and
// feed (i / 5) % 25; suggested 1000 + (i % 7) * 10 kg, real 1000 + (i % 13) - 6 kg, operator i % 8,
// time (i / 60) % 24 : i % 60, all by the direct road.
class HistorialSintetico {
public:
    static constexpr int kGuardados = 1000000;
    static constexpr int kPorDia = 2740;

    explicit HistorialSintetico(const QString& conexion);
    ~HistorialSintetico();
    HistorialSintetico(const HistorialSintetico&) = delete;
    HistorialSintetico& operator=(const HistorialSintetico&) = delete;

    bool ok() const { return ok_; }
    QSqlDatabase& db() { return db_; }

protected:
    bool ok_ = false;

private:
    QString conexion_;
    QTemporaryDir dir_;
    QSqlDatabase db_;
};
