#pragma once

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
