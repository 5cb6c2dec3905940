// The maintenance figures on a 100 MB database: backup (verified) and restore times, each against
// libgcab doing the same archive work directly in the same run, and the UI thread's longest wait
// during a backup from the window.
#include <libgcab.h>

#include "Figuras.h"

#include "app/FrmPrincipal.h"
#include "db/BaseDatos.h"
#include "maint/AjustesRespaldo.h"
#include "maint/ComprobacionBase.h"
#include "maint/Respaldo.h"
#include "maint/Restauracion.h"
#include "maint/frmMantenimiento.h"
#include "ui/Dialogos.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

constexpr int kVueltas = 3;

// A data folder with a database of about 100 MB of plan rows, made once per run.
const QTemporaryDir& datos() {
    static std::unique_ptr<QTemporaryDir> d;
    if (d)
        return *d;
    d = std::make_unique<QTemporaryDir>();
    if (BaseDatos::abrir(d->path()))
        return *d;
    {
        QSqlDatabase db = BaseDatos::ConexionBD();
        QSqlQuery q(db);
        q.exec(QStringLiteral("pragma journal_mode = off"));
        quint32 x = 12345;
        auto azar = [&x](int n) {
            x = x * 1103515245u + 12345u;
            return int((x >> 8) % quint32(n));
        };
        const QString archivo = BaseDatos::archivo(d->path());
        for (int id = 0; QFile(archivo).size() < 100 * 1000 * 1000; id += 20000) {
            db.transaction();
            q.prepare(QStringLiteral("insert into viajes values (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (int i = id; i < id + 20000; ++i) {
                q.addBindValue(i);
                q.addBindValue(QStringLiteral("2026-%1-%2").arg(azar(12) + 1).arg(azar(28) + 1));
                q.addBindValue(QStringLiteral("%1:%2").arg(azar(24)).arg(azar(60)));
                q.addBindValue(azar(50) + 1);
                q.addBindValue(azar(10) + 1);
                q.addBindValue(azar(200) + 1);
                q.addBindValue(azar(500000) / 100.0);
                q.addBindValue(azar(9) + 1);
                q.exec();
            }
            q.prepare(QStringLiteral("insert into descarga values (?, ?, ?, ?)"));
            for (int i = id; i < id + 10000; ++i) {
                q.addBindValue(i);
                q.addBindValue(QStringLiteral("Corral %1").arg(azar(300)));
                q.addBindValue(azar(10000) / 100.0);
                q.addBindValue(azar(9) + 1);
                q.exec();
            }
            db.commit();
        }
    }
    BaseDatos::cerrar();
    return *d;
}

QString base() {
    return BaseDatos::archivo(datos().path());
}

// libgcab straight: the database into an MSZIP archive.
double gcabEscribir(const QString& cab) {
    QElapsedTimer t;
    t.start();
    GCabCabinet* cabina = gcab_cabinet_new();
    GCabFolder* carpeta = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    GFile* origen = g_file_new_for_path(QFile::encodeName(base()).constData());
    GCabFile* f = gcab_file_new_with_file("base.db", origen);
    gcab_folder_add_file(carpeta, f, FALSE, nullptr, nullptr);
    gcab_cabinet_add_folder(cabina, carpeta, nullptr);
    GFile* salida = g_file_new_for_path(QFile::encodeName(cab).constData());
    GFileOutputStream* s = g_file_replace(salida, nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, nullptr);
    const bool ok =
        s && gcab_cabinet_write_simple(cabina, G_OUTPUT_STREAM(s), nullptr, nullptr, nullptr, nullptr) &&
        g_output_stream_close(G_OUTPUT_STREAM(s), nullptr, nullptr);
    const double r = ms(t);
    if (s)
        g_object_unref(s);
    for (gpointer o : {gpointer(salida), gpointer(f), gpointer(origen), gpointer(carpeta), gpointer(cabina)})
        g_object_unref(o);
    return ok ? r : -1;
}

// libgcab straight: every file of the archive into a folder.
double gcabExtraer(const QString& cab, const QString& carpeta) {
    QElapsedTimer t;
    t.start();
    GCabCabinet* cabina = gcab_cabinet_new();
    GFile* archivo = g_file_new_for_path(QFile::encodeName(cab).constData());
    GFileInputStream* entrada = g_file_read(archivo, nullptr, nullptr);
    GFile* destino = g_file_new_for_path(QFile::encodeName(carpeta).constData());
    const bool ok = entrada && gcab_cabinet_load(cabina, G_INPUT_STREAM(entrada), nullptr, nullptr) &&
                    gcab_cabinet_extract_simple(cabina, destino, nullptr, nullptr, nullptr, nullptr);
    const double r = ms(t);
    if (entrada)
        g_object_unref(entrada);
    for (gpointer o : {gpointer(destino), gpointer(archivo), gpointer(cabina)})
        g_object_unref(o);
    return ok ? r : -1;
}

struct Respaldos {
    double gcab = 1e300;
    double escritura = 1e300;
    double verificado = 1e300;
};

// The three backups, alternated, best of each.
const Respaldos& respaldos() {
    static std::unique_ptr<Respaldos> r;
    if (r)
        return *r;
    r = std::make_unique<Respaldos>();
    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath(QStringLiteral("copia.cab"));
    for (int i = 0; i < kVueltas; ++i) {
        r->gcab = std::min(r->gcab, gcabEscribir(cab));
        for (bool verificar : {false, true}) {
            Respaldo respaldo({base()}, cab);
            respaldo.setVerificar(verificar);
            QElapsedTimer t;
            t.start();
            if (!respaldo.ejecutar().ok)
                return *r = Respaldos{-1, -1, -1};
            (verificar ? r->verificado : r->escritura) =
                std::min(verificar ? r->verificado : r->escritura, ms(t));
        }
    }
    return *r;
}

struct Restauraciones {
    double gcab = 1e300;           // expanding alone
    double gcabComprobado = 1e300; // expanding and the same database check
    double nuestra = 1e300;
};

const Restauraciones& restauraciones() {
    static std::unique_ptr<Restauraciones> r;
    if (r)
        return *r;
    r = std::make_unique<Restauraciones>();
    QTemporaryDir d;
    const QString cab = QDir(d.path()).filePath(QStringLiteral("copia.cab"));
    if (!Respaldo({base()}, cab).ejecutar().ok)
        return *r = Restauraciones{-1, -1, -1};
    for (int i = 0; i < kVueltas; ++i) {
        QTemporaryDir directa;
        QElapsedTimer t;
        t.start();
        const double expandir = gcabExtraer(cab, directa.path());
        const bool sana = !comprobarBase(QDir(directa.path()).filePath(QStringLiteral("base.db")));
        if (expandir < 0 || !sana)
            return *r = Restauraciones{-1, -1, -1};
        r->gcab = std::min(r->gcab, expandir);
        r->gcabComprobado = std::min(r->gcabComprobado, ms(t));

        // Ours replaces a database that is there, as a restore does.
        QTemporaryDir destino;
        QFile::copy(base(), QDir(destino.path()).filePath(QStringLiteral("base.db")));
        Restauracion restauracion(cab, destino.path());
        t.restart();
        if (!restauracion.ejecutar().ok)
            return *r = Restauraciones{-1, -1, -1};
        r->nuestra = std::min(r->nuestra, ms(t));
    }
    return *r;
}

// The longest a 5 ms timer of the UI thread waits past its time while the window backs up.
double latencia() {
    Dialogos::activarModoPrueba();
    Dialogos::limpiar();
    if (BaseDatos::abrir(datos().path()))
        return -1;
    QTemporaryDir copias;
    double peor = 0;
    {
        frmMantenimiento ventana;
        ventana.show();
        Dialogos::encolarRuta(copias.path());
        ventana.findChild<QPushButton*>(QStringLiteral("cmdExaminarBackUp"))->click();
        QTimer reloj;
        reloj.setTimerType(Qt::PreciseTimer);
        reloj.setInterval(5);
        QElapsedTimer desde;
        QObject::connect(&reloj, &QTimer::timeout, [&] {
            peor = std::max(peor, ms(desde) - reloj.interval());
            desde.restart();
        });
        ventana.findChild<QPushButton*>(QStringLiteral("cmdBackUpBD"))->click();
        desde.start();
        reloj.start();
        // The window shows its message when the backup ends.
        QEventLoop bucle;
        QObject::connect(&reloj, &QTimer::timeout, &bucle, [&bucle] {
            if (!Dialogos::mostrados().isEmpty())
                bucle.quit();
        });
        bucle.exec();
        reloj.stop();
        ventana.close();
    }
    BaseDatos::cerrar();
    return Dialogos::mostrados().first().titulo == QStringLiteral("Back Up finalizado") ? peor : -1;
}

// From the close request of the main window, with a change to back up, to the window gone.
double medirAlCerrar() {
    Dialogos::activarModoPrueba();
    double mejor = 1e300;
    for (int i = 0; i < kVueltas; ++i) {
        if (BaseDatos::abrir(datos().path()))
            return -1;
        QSqlQuery(BaseDatos::ConexionBD())
            .exec(QStringLiteral("insert into operarios (descripcion) values ('x')"));
        {
            FrmPrincipal ventana;
            ventana.setRespaldosAutomaticos(true);
            ventana.show();
            QElapsedTimer t;
            t.start();
            ventana.close();
            QEventLoop bucle;
            QTimer reloj;
            QObject::connect(&reloj, &QTimer::timeout, &bucle, [&] {
                if (!ventana.isVisible())
                    bucle.quit();
            });
            reloj.start(1);
            bucle.exec();
            mejor = std::min(mejor, ms(t));
        }
        const bool hecho = !PoliticaRespaldo::hayCambios();
        BaseDatos::cerrar();
        if (!hecho)
            return -1;
    }
    QDir(QDir(datos().path()).filePath(QStringLiteral("respaldos"))).removeRecursively();
    return mejor;
}

double respaldoAlCerrar() {
    static const double r = medirAlCerrar();
    return r;
}

// Whether there is anything to back up, on the 100 MB database.
double comprobarCambios() {
    if (BaseDatos::abrir(datos().path()))
        return -1;
    double mejor = 1e300;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        const bool toca = PoliticaRespaldo::tocaAlCerrar();
        mejor = std::min(mejor, ms(t));
        Q_UNUSED(toca);
    }
    BaseDatos::cerrar();
    return mejor;
}

const Figura kRespaldo("backup_100mb_ms", "ms", [] { return respaldos().verificado; });
const Figura kRespaldoGcab("backup_vs_gcab", "x", [] { return respaldos().escritura / respaldos().gcab; });
const Figura kRespaldoVerificado("backup_verified_vs_gcab", "x",
                                 [] { return respaldos().verificado / respaldos().gcab; });
const Figura kRecuperacion("restore_100mb_ms", "ms", [] { return restauraciones().nuestra; });
const Figura kRecuperacionGcab("restore_vs_gcab", "x",
                               [] { return restauraciones().nuestra / restauraciones().gcabComprobado; });
const Figura kRecuperacionExpandir("restore_vs_gcab_extract_only", "x",
                                   [] { return restauraciones().nuestra / restauraciones().gcab; });
const Figura kLatencia("backup_ui_latency_ms", "ms", latencia);
const Figura kAlCerrar("backup_on_close_100mb_ms", "ms", [] { return respaldoAlCerrar(); });
const Figura kAlCerrarRelativo("backup_on_close_vs_backup", "x",
                               [] { return respaldoAlCerrar() / respaldos().verificado; });
const Figura kCambios("change_check_ms", "ms", comprobarCambios);

} // namespace
