// export_100k_ms: 100,000 event rows written to a workbook by the export job (cell rules, looks,
// safe replace included), best of five runs. export_vs_xlsxwriter: the job's time over a plain
// libxlsxwriter loop, in constant-memory mode, writing the same 100,000 x 8 texts as text cells
// (converted to UTF-8 in the loop, as any writer of these rows must), runs alternated in the
// same run of the program; both are timed in CPU time of the calling thread (where all of their
// work happens), so other programs on a busy machine do not tilt the ratio. export_100k_peak_mb:
// growth of the resident set while the job runs, over the set before it (the rows themselves
// already in memory).
#include "Figuras.h"

#include "events/ExportacionSucesos.h"

#include <xlsxwriter.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
constexpr int kFilas = 100000;

QList<FilaEvento> filas() {
    QList<FilaEvento> r;
    r.reserve(kFilas);
    const QDate dia(2024, 3, 1);
    for (int i = 0; i < kFilas; ++i) {
        const QString fecha = dia.addDays(i % 28).toString(QStringLiteral("dd/MM/yyyy"));
        const QString hora = QStringLiteral("%1:%2")
                                 .arg(6 + i % 12, 2, 10, QLatin1Char('0'))
                                 .arg(i % 60, 2, 10, QLatin1Char('0'));
        if (i % 3 == 2)
            r.append({QStringLiteral("DESCARGA"), fecha, hora, QStringLiteral("Corral %1").arg(i % 40),
                      QString(), QString::number(500 + i % 7), QStringLiteral("%1.5").arg(490 + i % 11),
                      QStringLiteral("Operario %1").arg(i % 5)});
        else
            r.append({QStringLiteral("CARGA"), fecha, hora, QStringLiteral("Engorde %1.5").arg(i % 9),
                      QStringLiteral("Maíz molido"), QString::number(1000 + i % 13),
                      QStringLiteral("%1.25").arg(990 + i % 17), QStringLiteral("Operario %1").arg(i % 5)});
    }
    return r;
}

// A /proc/self/status figure in kB.
long estado(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith(campo))
            return linea.mid(qstrlen(campo)).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct Tiempo {
    double ms = 0;    // wall clock
    double cpuMs = 0; // CPU time of this thread
};

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <class F> Tiempo medirTiempo(F&& f) {
    QElapsedTimer t;
    t.start();
    const double c = cpuMs();
    f();
    return {double(t.nsecsElapsed()) / 1e6, cpuMs() - c};
}

void exportar(const QList<FilaEvento>& datos, const QString& destino) {
    ExportacionSucesos e(destino, datos);
    if (!e.ejecutar().ok)
        std::fprintf(stderr, "la exportación falló\n");
}

void plano(const QList<FilaEvento>& datos, const QString& destino) {
    lxw_workbook_options o{};
    o.constant_memory = LXW_TRUE;
    const QByteArray ruta = QFile::encodeName(destino);
    lxw_workbook* libro = workbook_new_opt(ruta.constData(), &o);
    lxw_worksheet* hoja = workbook_add_worksheet(libro, "Sucesos");
    lxw_col_t c = 0;
    for (const QString& e : FilaEvento::encabezados())
        worksheet_write_string(hoja, 0, c++, e.toUtf8().constData(), nullptr);
    for (int i = 0; i < datos.size(); ++i) {
        c = 0;
        for (const QString& s : datos[i].celdas())
            worksheet_write_string(hoja, lxw_row_t(i + 1), c++, s.toUtf8().constData(), nullptr);
    }
    workbook_close(libro);
}

struct Medida {
    double ms = 0;
    double proporcion = 0;
    double picoMb = 0;
};

const Medida& medida() {
    static const Medida m = [] {
        Medida r;
        QTemporaryDir dir;
        const QList<FilaEvento> datos = filas();
        // Peak of the resident set: reset the high-water mark, then read it after the job.
        {
            QFile limpiar(QStringLiteral("/proc/self/clear_refs"));
            if (limpiar.open(QIODevice::WriteOnly))
                limpiar.write("5");
        }
        const long antes = estado("VmRSS:");
        Tiempo e = medirTiempo([&] { exportar(datos, dir.filePath("exportar.xlsx")); });
        r.picoMb = double(estado("VmHWM:") - antes) / 1024.0;
        Tiempo p = medirTiempo([&] { plano(datos, dir.filePath("plano.xlsx")); });
        for (int i = 0; i < 4; ++i) {
            const Tiempo e2 = medirTiempo([&] { exportar(datos, dir.filePath("exportar.xlsx")); });
            const Tiempo p2 = medirTiempo([&] { plano(datos, dir.filePath("plano.xlsx")); });
            e = {std::min(e.ms, e2.ms), std::min(e.cpuMs, e2.cpuMs)};
            p = {std::min(p.ms, p2.ms), std::min(p.cpuMs, p2.cpuMs)};
        }
        r.ms = e.ms;
        r.proporcion = e.cpuMs / p.cpuMs;
        return r;
    }();
    return m;
}

const Figura kMs("export_100k_ms", "ms", [] { return medida().ms; });
const Figura kProporcion("export_vs_xlsxwriter", "x", [] { return medida().proporcion; });
const Figura kPico("export_100k_peak_mb", "MB", [] { return medida().picoMb; });
} // namespace
