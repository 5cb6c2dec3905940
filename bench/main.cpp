// tolvaro-bench: every figure, or only those named on the command line.
#include "Figuras.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

Figura::Figura(const char* n, const char* u, std::function<double()> m)
    : nombre(n), unidad(u), medir(std::move(m)) {
    todas().push_back(this);
}

std::vector<const Figura*>& Figura::todas() {
    static std::vector<const Figura*> figuras;
    return figuras;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList pedidas = QApplication::arguments().mid(1);
    if (pedidas.contains(QStringLiteral("--help"))) {
        std::printf("Uso: tolvaro-bench [NOMBRE...]\nFiguras:\n");
        for (const Figura* f : Figura::todas())
            std::printf("  %s (%s)\n", f->nombre, f->unidad);
        return 0;
    }
    int desconocidas = 0;
    for (const QString& p : pedidas) {
        bool existe = false;
        for (const Figura* f : Figura::todas())
            existe = existe || p == QLatin1String(f->nombre);
        if (!existe) {
            std::fprintf(stderr, "figura desconocida: %s\n", qPrintable(p));
            ++desconocidas;
        }
    }
    if (desconocidas)
        return 2;
    int sinMedir = 0;
    for (const Figura* f : Figura::todas()) {
        if (!pedidas.isEmpty() && !pedidas.contains(QLatin1String(f->nombre)))
            continue;
        const double v = f->medir();
        if (v < 0) {
            std::printf("%s: sin medir\n", f->nombre);
            std::fprintf(stderr, "%s: no se pudo medir\n", f->nombre);
            ++sinMedir;
        } else {
            std::printf("%s: %.6g %s\n", f->nombre, v, f->unidad);
        }
        std::fflush(stdout);
    }
    return sinMedir ? 1 : 0;
}
