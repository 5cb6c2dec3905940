#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

// The figures of tolvaro-bench. Each file registers its own with a static Figura; the program
// prints one line per figure: "name: value unit". A measurement that could not be taken returns a
// negative value (after saying why on stderr, when it knows); the program then prints
// "name: sin medir" and ends with 1, so a broken figure is never read as a time.
struct Figura {
    const char* nombre;
    const char* unidad;
    std::function<double()> medir;

    Figura(const char* n, const char* u, std::function<double()> m);
    static std::vector<const Figura*>& todas();
};

// Milliseconds a timer has run, and the median of several runs (half of them noisier, half less).
inline double ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}
inline double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
