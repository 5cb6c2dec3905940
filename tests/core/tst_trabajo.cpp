// The long-job class and the safe file writer that every long file operation is built on.
#include "core/ArchivoSeguro.h"
#include "core/CerrojoMantenimiento.h"
#include "core/Trabajo.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Counts to 100 in steps of 10; with `retener`, waits for the test between steps (so it can be
// cancelled in the middle), and reports the thread it ran on.
class Contar : public TrabajoCon<QString> {
public:
    explicit Contar(bool retener = false) : retener_(retener) {}
    QSemaphore paso;
    QThread* hilo = nullptr;

protected:
    Resultado hacer() override {
        hilo = QThread::currentThread();
        for (int i = 0; i <= 10; ++i) {
            while (retener_ && !paso.tryAcquire(1, 10))
                if (cancelado())
                    return Resultado::interrumpido();
            if (cancelado())
                return Resultado::interrumpido();
            informar(i, 10);
            informar(i, 10); // the same figure twice is reported once
        }
        return exito(QStringLiteral("contado"));
    }

private:
    const bool retener_;
};

QList<int> enteros(const QSignalSpy& spy) {
    QList<int> r;
    for (const QList<QVariant>& s : spy)
        r << s.first().toInt();
    return r;
}

const QList<int> kDecenas = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

// Names in a folder, hidden ones included: a temporary file left behind shows here.
QStringList nombres(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

#ifdef Q_OS_UNIX
uint modo(const QString& ruta) {
    struct stat st {};
    return ::stat(QFile::encodeName(ruta).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}
#endif

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no se puede leer)");
}

} // namespace

class TstTrabajo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void avanceYFinEnElHiloDeLaVentana();
    void cancelarAMitad();
    void formaSincronica();
    void falloTrasCancelarEsCancelacion();
    void escribirReemplazaYGuardaElAnterior();
    void fallaSinTocarElDestino_data();
    void fallaSinTocarElDestino();
    void fallaAlEscribirDejaElDestino();
    void restosAbandonados();
    void anterioresNumeradasNuncaSeSobrescriben();
    void quitarTemporalesSoloLosNuestros();
    void unaOperacionDeMantenimientoALaVez();
};

void TstTrabajo::avanceYFinEnElHiloDeLaVentana() {
    Contar t;
    QSignalSpy avance(&t, &Trabajo::avance);
    QList<QThread*> hilosFin;
    Resultado fin;
    connect(&t, &Trabajo::terminado, this, [&](const Resultado& r) {
        hilosFin << QThread::currentThread();
        fin = r;
    });
    t.iniciar();
    QTRY_COMPARE(hilosFin.size(), 1);
    QCOMPARE(hilosFin.first(), QThread::currentThread());
    QVERIFY(t.hilo != QThread::currentThread());
    QVERIFY(fin.ok);
    QCOMPARE(t.conValor(fin).valor, QStringLiteral("contado"));
    QCOMPARE(enteros(avance), kDecenas);
    QTRY_VERIFY(!t.enCurso());
}

void TstTrabajo::cancelarAMitad() {
    Contar t(true);
    QSignalSpy fin(&t, &Trabajo::terminado);
    t.iniciar();
    t.paso.release(3);
    t.cancelar();
    t.paso.release(20);
    QTRY_COMPARE(fin.size(), 1);
    const Resultado r = fin.first().first().value<Resultado>();
    QVERIFY(!r.ok);
    QVERIFY(r.cancelado);

    // Let go while it runs: its owner stops it and waits, so nothing runs on after it.
    TrabajoPropio<Contar> otro(new Contar(true));
    otro->iniciar();
    otro->paso.release();
    QTRY_VERIFY(otro->hilo);
    otro.reset();
}

void TstTrabajo::formaSincronica() {
    Contar t;
    QSignalSpy avance(&t, &Trabajo::avance);
    QSignalSpy fin(&t, &Trabajo::terminado);
    QList<int> vistos;
    const Resultado r = t.ejecutar([&](int p) { vistos << p; });
    QVERIFY(r.ok);
    QCOMPARE(t.hilo, QThread::currentThread());
    QCOMPARE(vistos, kDecenas);
    QVERIFY(avance.isEmpty());
    QVERIFY(fin.isEmpty());
    QVERIFY(!t.enCurso());
}

void TstTrabajo::falloTrasCancelarEsCancelacion() {
    // The stop as a library that watches the flag reports it: an error with its own number.
    class Detenida : public Trabajo {
    protected:
        Resultado hacer() override {
            cancelar();
            return Resultado::fallo(19, QStringLiteral("Operación cancelada"));
        }
    };
    Detenida t;
    const Resultado r = t.ejecutar();
    QVERIFY(!r.ok);
    QVERIFY(r.cancelado);
}

void TstTrabajo::escribirReemplazaYGuardaElAnterior() {
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("sucesos.csv"));
    QVERIFY(ArchivoSeguro::escribir(destino, "primero"));
    QCOMPARE(leer(destino), QByteArray("primero"));
#ifdef Q_OS_UNIX
    // A new file gets the usual permissions (the umask's), not a temporary file's owner-only ones.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    QCOMPARE(modo(destino), uint(0666 & ~mascara));

    QVERIFY(::chmod(QFile::encodeName(destino).constData(), 0640) == 0);
#endif
    ArchivoSeguro a(destino, true);
    QVERIFY(a.preparar());
    QFile t(a.rutaTemporal());
    QVERIFY(t.open(QIODevice::WriteOnly));
    t.write("segundo");
    t.close();
    QVERIFY(a.confirmar());
    QCOMPARE(leer(destino), QByteArray("segundo"));
    QCOMPARE(leer(ArchivoSeguro::rutaAnterior(destino)), QByteArray("primero"));
#ifdef Q_OS_UNIX
    // The replaced file's permissions carry over to the new one.
    QCOMPARE(modo(destino), 0640u);
#endif
    QCOMPARE(nombres(dir.path()), QStringList({"sucesos.csv", "sucesos.csv.anterior"}));
}

void TstTrabajo::fallaSinTocarElDestino_data() {
    QTest::addColumn<QString>("carpeta");
    QTest::newRow("carpeta que falta") << QStringLiteral("no/existe");
    QTest::newRow("carpeta en la que no se escribe") << QStringLiteral("/proc");
}

void TstTrabajo::fallaSinTocarElDestino() {
    QFETCH(QString, carpeta);
    QTemporaryDir dir;
    const QString en = QDir(dir.path()).filePath(carpeta);
    const QString destino = QDir(en).filePath(QStringLiteral("sucesos.csv"));
    QString error;
    QVERIFY(!ArchivoSeguro::escribir(destino, "datos", &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(QFileInfo(destino).absolutePath())), qPrintable(error));
    QVERIFY(!QFile::exists(destino));
    if (QDir(en).exists() && en.startsWith(dir.path()))
        QCOMPARE(nombres(en), QStringList());
}

void TstTrabajo::fallaAlEscribirDejaElDestino() {
#ifndef Q_OS_UNIX
    QSKIP("Windows has no file-size limit to stand in for a full disk");
#else
    // A file-size limit makes the write fail half-way, as a full disk would.
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("respaldo.cab"));
    QVERIFY(ArchivoSeguro::escribir(destino, "el respaldo bueno"));
    const auto anterior = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &limite) == 0);
    rlimit chico = limite;
    chico.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &chico) == 0);
    QString error;
    const bool escrito = ArchivoSeguro::escribir(destino, QByteArray(64 * 1024, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &limite);
    std::signal(SIGXFSZ, anterior);
    QVERIFY(!escrito);
    QVERIFY(!error.isEmpty());
    QCOMPARE(leer(destino), QByteArray("el respaldo bueno"));
    QCOMPARE(nombres(dir.path()), QStringList({"respaldo.cab"}));
#endif
}

void TstTrabajo::restosAbandonados() {
    // Only our own temporary names, and only once they are old: a writer at work keeps its file.
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("base.db"));
    for (const char* n :
         {"base.db", ".base.db.k3x9a", ".base.db.z1", ".base.db.notas.txt", ".otra.db.k3x9a"}) {
        QFile f(dir.filePath(QString::fromLatin1(n)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (qstrcmp(n, ".base.db.z1") != 0) // the one still being written
            QVERIFY(
                f.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    }
    QCOMPARE(ArchivoSeguro::limpiarRestos(destino), 1);
    QCOMPARE(nombres(dir.path()),
             QStringList({".base.db.notas.txt", ".base.db.z1", ".otra.db.k3x9a", "base.db"}));
}

void TstTrabajo::anterioresNumeradasNuncaSeSobrescriben() {
    QTemporaryDir dir;
    const QString destino = dir.filePath(QStringLiteral("base.db"));
    QVERIFY(ArchivoSeguro::escribir(destino, "1"));
    // A copy kept by hand earlier, and one a crash left with a gap after it, stay as they are.
    QVERIFY(ArchivoSeguro::escribir(destino + ".anterior.3", "a mano"));
    for (const char* nuevo : {"2", "3", "4"}) {
        ArchivoSeguro a(destino, true);
        a.setAnterioresNumeradas(true);
        QVERIFY(a.preparar());
        QFile t(a.rutaTemporal());
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(nuevo);
        t.close();
        QVERIFY(a.confirmar());
    }
    QCOMPARE(leer(destino), QByteArray("4"));
    QCOMPARE(leer(destino + ".anterior"), QByteArray("1"));
    QCOMPARE(leer(destino + ".anterior.2"), QByteArray("2"));
    QCOMPARE(leer(destino + ".anterior.3"), QByteArray("a mano"));
    QCOMPARE(leer(destino + ".anterior.4"), QByteArray("3"));
    QCOMPARE(nombres(dir.path()).size(), 5);
}

void TstTrabajo::quitarTemporalesSoloLosNuestros() {
    // Whatever their age: whoever calls it holds the folder's maintenance lock.
    QTemporaryDir dir;
    for (const char* n : {"base.db", ".base.db.k3x9a", "..base.db.k3x9a.z1", ".base.db.k3x9a.1",
                          ".otra.db.k3x9a", "base.db.anterior", ".BD_lun.cab.z", ".goutputstream-AB12"}) {
        QFile f(dir.filePath(QString::fromLatin1(n)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir(".BD_mar.cab.q2.1"));
    QCOMPARE(ArchivoSeguro::quitarTemporales(dir.filePath("base.db")), 3);
    QCOMPARE(ArchivoSeguro::quitarTemporalesEn(dir.path(), "*.cab"), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({".goutputstream-AB12", ".otra.db.k3x9a", "base.db", "base.db.anterior"}));
}

void TstTrabajo::unaOperacionDeMantenimientoALaVez() {
    QTemporaryDir dir;
    CerrojoMantenimiento primero(dir.path());
    QString error;
    QVERIFY(primero.tomar(&error));
    // Another holder, in this process or any other, waits and is refused with the holder's number.
    CerrojoMantenimiento segundo(dir.path());
    QElapsedTimer reloj;
    reloj.start();
    QVERIFY(!segundo.tomar(&error, 300));
    QVERIFY(reloj.elapsed() >= 250);
    QCOMPARE(error,
             QStringLiteral("Otra operación de mantenimiento está en curso (proceso %1).").arg(::getpid()));
    // Let go, it is free at once, and the lock file goes with it.
    primero.soltar();
    QVERIFY(!QFile::exists(CerrojoMantenimiento::rutaCerrojo(dir.path())));
    QVERIFY(segundo.tomar(&error, 0));
    QVERIFY(QFile::exists(CerrojoMantenimiento::rutaCerrojo(dir.path())));
    // A folder that is not there is said so, not taken for a busy one.
    CerrojoMantenimiento ninguno(dir.filePath("no/existe"));
    QVERIFY(!ninguno.tomar(&error, 0));
    QVERIFY2(error.contains("no existe"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TstTrabajo)
#include "tst_trabajo.moc"
