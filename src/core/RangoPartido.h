#pragma once

#include <QDate>

#include <optional>
#include <thread>

// A long date range read as two halves at once, each on a thread of its own (and so on a
// connection of its own): walking a large history is what takes the time, and the halves can walk
// it side by side.
class RangoPartido {
public:
    // One part of the range: the first half (or the whole range) or the second.
    struct Tramo {
        int indice;
        QDate desde, hasta;
        bool unico; // the whole range in one part
    };

    // Whether a range is long enough to split on this machine: 60 days or more, and a second core.
    static bool conviene(QDate desde, QDate hasta);

    // Runs `leer` (a Tramo in, an optional error out) for the second half on another thread and for
    // the first here, or once for the whole range when it is not worth splitting. Returns after both
    // halves, with the first half's error, else the second's.
    template <typename Leer>
    static auto leer(QDate desde, QDate hasta, Leer&& leer) -> decltype(leer(Tramo{})) {
        if (!conviene(desde, hasta))
            return leer(Tramo{0, desde, hasta, true});
        const QDate corte = desde.addDays(desde.daysTo(hasta) / 2);
        decltype(leer(Tramo{})) errores[2];
        std::thread otra([&] { errores[1] = leer(Tramo{1, corte.addDays(1), hasta, false}); });
        errores[0] = leer(Tramo{0, desde, corte, false});
        otra.join();
        return errores[0] ? errores[0] : errores[1];
    }
};
