#include "core/CerrojoMantenimiento.h"

#include "core/ArchivoSeguro.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const QString kNombre = QStringLiteral(".tolvaro-mantenimiento.lock");
} // namespace

CerrojoMantenimiento::CerrojoMantenimiento(const QString& carpeta) : carpeta_(QDir(carpeta).absolutePath()) {}

CerrojoMantenimiento::~CerrojoMantenimiento() {
    soltar();
}

QString CerrojoMantenimiento::rutaCerrojo(const QString& carpeta) {
    return QDir(carpeta).filePath(kNombre);
}

#ifdef Q_OS_WIN

bool CerrojoMantenimiento::tomado() const {
    return manejador_ != nullptr;
}

int CerrojoMantenimiento::intentar(int* numero) {
    const std::wstring ruta = QDir::toNativeSeparators(rutaCerrojo(carpeta_)).toStdWString();
    HANDLE h = CreateFileW(ruta.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // A lock file its holder is removing cannot be opened until the holder closes it: that
        // is a lock still held, to wait for, not a folder we may not write in.
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && QFileInfo::exists(rutaCerrojo(carpeta_)))
            return 0;
        // The same causes, and so the same messages, as on other systems.
        *numero = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ? ENOENT
                  : error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL  ? ENOSPC
                                                                                 : EACCES;
        return -1;
    }
    OVERLAPPED o{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o)) {
        CloseHandle(h);
        return 0;
    }
    // The process number lies past the locked byte, where the others can read it.
    const QByteArray pid = QByteArray::number(qint64(GetCurrentProcessId()));
    SetFilePointer(h, 1, nullptr, FILE_BEGIN);
    DWORD escritos = 0;
    WriteFile(h, pid.constData(), DWORD(pid.size()), &escritos, nullptr);
    SetEndOfFile(h);
    manejador_ = h;
    return 1;
}

void CerrojoMantenimiento::soltar() {
    if (!manejador_)
        return;
    OVERLAPPED o{};
    UnlockFileEx(manejador_, 0, 1, 0, &o);
    CloseHandle(manejador_);
    manejador_ = nullptr;
    // As on other systems, nothing of ours stays in the folder; Windows removes an open file
    // only once closed, so this comes after the handle is gone.
    DeleteFileW(QDir::toNativeSeparators(rutaCerrojo(carpeta_)).toStdWString().c_str());
}

#else

bool CerrojoMantenimiento::tomado() const {
    return fd_ >= 0;
}

int CerrojoMantenimiento::intentar(int* numero) {
    const QByteArray ruta = QFile::encodeName(rutaCerrojo(carpeta_));
    const int fd = ::open(ruta.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        *numero = errno;
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        if (e == EWOULDBLOCK || e == EINTR)
            return 0;
        *numero = e;
        return -1;
    }
    // The holder removes the file as it lets go: a lock taken on a file that is no longer under
    // that name guards nothing, and the attempt starts again.
    struct stat abierto {};
    struct stat nombrado {};
    if (::fstat(fd, &abierto) != 0 || ::stat(ruta.constData(), &nombrado) != 0 ||
        abierto.st_ino != nombrado.st_ino || abierto.st_dev != nombrado.st_dev) {
        ::close(fd);
        return 0;
    }
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.constData(), size_t(pid.size()), 0) != pid.size()) {
        // Without its number the lock still works; the message of the refused one is vaguer.
    }
    fd_ = fd;
    return 1;
}

void CerrojoMantenimiento::soltar() {
    if (fd_ < 0)
        return;
    // Removed while still held, so nobody can take a lock on it that the next holder would not see.
    ::unlink(QFile::encodeName(rutaCerrojo(carpeta_)).constData());
    ::close(fd_);
    fd_ = -1;
}

#endif

bool CerrojoMantenimiento::tomar(QString* error, int esperaMs) {
    if (tomado())
        return true;
    const QDeadlineTimer plazo(esperaMs);
    for (;;) {
        int numero = 0;
        const int r = intentar(&numero);
        if (r == 1)
            return true;
        if (r < 0) {
            if (error)
                *error = QStringLiteral("No se puede usar la carpeta %1 para el mantenimiento: %2.")
                             .arg(QDir::toNativeSeparators(carpeta_), ArchivoSeguro::describir(numero));
            return false;
        }
        if (plazo.hasExpired())
            break;
        QThread::msleep(50);
    }
    if (error) {
        QFile f(rutaCerrojo(carpeta_));
        QByteArray pid;
        if (f.open(QIODevice::ReadOnly))
            pid = f.readAll().trimmed();
#ifdef Q_OS_WIN
        pid = pid.mid(1).trimmed();
#endif
        bool esNumero = false;
        pid.toLongLong(&esNumero);
        *error = esNumero ? QStringLiteral("Otra operación de mantenimiento está en curso (proceso %1).")
                                .arg(QString::fromLatin1(pid))
                          : QStringLiteral("Otra operación de mantenimiento está en curso.");
    }
    return false;
}
