#pragma once

#include "db/BaseDatos.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// How far one load may stray from its plan: within `kg` kilograms or within `porcentaje` percent
// of the planned amount, whichever the feed has (a load within either bound is within).
struct ToleranciaCarga {
    std::optional<double> kg;
    std::optional<double> porcentaje;

    // Within means not strictly beyond: 3 % off with 3 % allowed is within; with a planned 0,
    // a percentage allows nothing but 0.
    bool admite(double diferencia, double sugerido) const;
    // "2 kg", "5 %", "2 kg o 5 %", in the given regional form.
    QString texto(const QLocale& local) const;
};

// A feed's own tolerance, kept in `tolerancias_alimento` by the feed's name (the history keeps
// names, not catalogue numbers).
struct ToleranciaAlimento {
    QString alimento;
    ToleranciaCarga tolerancia;
};

namespace ToleranciasAlimento {
// Every feed's own tolerance, by name.
std::optional<ErrorBD> leer(QSqlDatabase db, QList<ToleranciaAlimento>* lista);
// Sets the feed's own bounds; with neither, the feed goes back to the general percentage.
std::optional<ErrorBD> guardar(QSqlDatabase db, const QString& alimento, const ToleranciaCarga& t);
} // namespace ToleranciasAlimento

// The tolerance each load is judged by: its feed's own, or the general percentage. Looked up by
// the feed's bytes as kept, names that differ only in case being the same feed. One per thread.
class ReglaTolerancia {
public:
    ReglaTolerancia(double general, const QList<ToleranciaAlimento>& propias);
    ReglaTolerancia(const ReglaTolerancia&) = delete; // it points into itself
    ReglaTolerancia& operator=(const ReglaTolerancia&) = delete;
    const ToleranciaCarga& para(std::string_view alimento);
    const ToleranciaCarga& para(const QString& alimento);

private:
    struct HashBytes {
        using is_transparent = void;
        size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
    };
    ToleranciaCarga general_;
    QHash<QString, ToleranciaCarga> propias_; // by case-folded name
    std::unordered_map<std::string, const ToleranciaCarga*, HashBytes, std::equal_to<>> vistas_;
};
