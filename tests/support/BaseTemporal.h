#pragma once

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A data folder of its own with a fresh database opened as the shared connection; closed and
// removed when the test ends.
class BaseTemporal {
public:
    BaseTemporal();
    ~BaseTemporal();
    BaseTemporal(const BaseTemporal&) = delete;
    BaseTemporal& operator=(const BaseTemporal&) = delete;

    bool ok() const { return ok_; }
    QString carpeta() const { return dir_.path(); }
    QString archivo() const;

    // Runs statements on the shared connection; fails the test (returns false) on error.
    bool ejecutar(const QString& sql);
    // First column of the first row of a query, or an invalid value.
    QVariant valor(const QString& sql);
    // Every row of a query, columns joined by "|".
    QStringList filas(const QString& sql);

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};
