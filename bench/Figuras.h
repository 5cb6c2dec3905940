#pragma once

#include <functional>
#include <vector>

// The figures of tolvaro-bench. Each file registers its own with a static Figura; the program
// prints one line per figure: "name: value unit".
struct Figura {
    const char* nombre;
    const char* unidad;
    std::function<double()> medir;

    Figura(const char* n, const char* u, std::function<double()> m);
    static std::vector<const Figura*>& todas();
};
