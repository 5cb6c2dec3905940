#include "core/ArchivoSeguro.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ruta(const QString& s) {
#ifdef Q_OS_WIN
    // Wide characters: the 8-bit code page cannot spell every user's name.
    return fs::path(QDir::toNativeSeparators(s).toStdWString());
#else
    return fs::path(QFile::encodeName(QDir::toNativeSeparators(s)).toStdString());
#endif
}

#ifdef Q_OS_WIN
int numeroDe(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    default:
        return EIO;
    }
}
#endif

// Puts `temporal` in the place of `destino` in one step.
int reemplazar(const QString& temporal, const QString& destino) {
#ifdef Q_OS_WIN
    // std::filesystem's rename does not replace an existing file on every Windows runtime.
    if (MoveFileExW(ruta(temporal).c_str(), ruta(destino).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return numeroDe(GetLastError());
#else
    std::error_code ec;
    fs::rename(ruta(temporal), ruta(destino), ec);
    return ec.value();
#endif
}

// Forces a file's (or a folder's) contents onto the disk before it is relied on.
int sincronizar(const QString& camino) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(camino).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int r = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // A folder that cannot be synced (some file systems refuse) is no failure of ours.
    return r == EINVAL || r == EBADF ? 0 : r;
#elif defined(Q_OS_WIN)
    // Folders need no flushing on Windows; a file open elsewhere is flushed by its owner.
    if (QFileInfo(camino).isDir())
        return 0;
    const HANDLE h = CreateFileW(ruta(camino).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    const int r = FlushFileBuffers(h) ? 0 : numeroDe(GetLastError());
    CloseHandle(h);
    return r;
#else
    Q_UNUSED(camino);
    return 0;
#endif
}

} // namespace

namespace {
// The names preparar() gives: "." + the target's name + "." + a number in base 36, and their
// auxiliary names with "." + a number after it.
QRegularExpression nombresTemporales(const QString& nombre, bool auxiliares) {
    return QRegularExpression(QStringLiteral("^\\.") + QRegularExpression::escape(nombre) +
                              QStringLiteral("\\.[0-9a-z]{1,13}") +
                              (auxiliares ? QStringLiteral("(\\.[0-9]{1,3})?$") : QStringLiteral("$")));
}
} // namespace

ArchivoSeguro::ArchivoSeguro(const QString& destino, bool guardarAnterior)
    : destino_(QFileInfo(destino).absoluteFilePath()), guardarAnterior_(guardarAnterior) {}

ArchivoSeguro::~ArchivoSeguro() {
    descartar();
}

bool ArchivoSeguro::fallar(int numero, const QString& que) {
    numero_ = numero;
    error_ = que + QStringLiteral(": ") + describir(numero);
    return false;
}

int ArchivoSeguro::limpiarRestos(const QString& destino, int edadSegundos) {
    const QFileInfo info(destino);
    const QRegularExpression propio = nombresTemporales(info.fileName(), false);
    const QDateTime limite = QDateTime::currentDateTimeUtc().addSecs(-edadSegundos);
    int quitados = 0;
    const QFileInfoList restos =
        info.dir().entryInfoList({u'.' + info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& resto : restos) {
        if (propio.match(resto.fileName()).hasMatch() && resto.lastModified().toUTC() < limite &&
            QFile::remove(resto.absoluteFilePath()))
            ++quitados;
    }
    return quitados;
}

int ArchivoSeguro::quitarTemporales(const QString& destino) {
    const QFileInfo info(destino);
    return quitarTemporalesEn(info.absolutePath(), QRegularExpression::escape(info.fileName()), true);
}

int ArchivoSeguro::quitarTemporalesEn(const QString& carpeta, const QString& nombres) {
    const QString patron = QRegularExpression::wildcardToRegularExpression(
        nombres, QRegularExpression::UnanchoredWildcardConversion);
    return quitarTemporalesEn(carpeta, patron, true);
}

int ArchivoSeguro::quitarTemporalesEn(const QString& carpeta, const QString& patron, bool) {
    // Also the temporary file of a temporary file (an import into a restore's own) and the
    // auxiliary names.
    const QRegularExpression propio(QStringLiteral("^\\.\\.?(") + patron +
                                    QStringLiteral(")\\.[0-9a-z]{1,13}(\\.[0-9a-z]{1,13})?$"));
    int quitados = 0;
    const QFileInfoList restos = QDir(carpeta).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                                             QDir::NoDotAndDotDot | QDir::System);
    for (const QFileInfo& resto : restos) {
        if (!propio.match(resto.fileName()).hasMatch())
            continue;
        const bool quitado = resto.isDir() && !resto.isSymLink()
                                 ? QDir(resto.absoluteFilePath()).removeRecursively()
                                 : QFile::remove(resto.absoluteFilePath());
        if (quitado)
            ++quitados;
    }
    return quitados;
}

QString ArchivoSeguro::rutaAnteriorLibre(const QString& destino) {
    QString ruta = rutaAnterior(destino);
    for (int n = 2; QFileInfo::exists(ruta) || QFileInfo(ruta).isSymLink(); ++n)
        ruta = rutaAnterior(destino) + u'.' + QString::number(n);
    return ruta;
}

QString ArchivoSeguro::rutaAuxiliar(int n) const {
    return temporal_.isEmpty() ? QString() : temporal_ + u'.' + QString::number(n);
}

bool ArchivoSeguro::preparar() {
    descartar();
    const QFileInfo info(destino_);
    if (info.fileName().isEmpty())
        return fallar(EINVAL, QStringLiteral("Nombre de archivo no válido"));
    if (info.isDir())
        return fallar(EISDIR,
                      QStringLiteral("No se puede escribir %1").arg(QDir::toNativeSeparators(destino_)));
    if (!info.dir().exists()) {
        // Said as it is: a file standing where the folder should be is not a missing folder.
        QString parte = info.absolutePath();
        while (!parte.isEmpty() && !QFileInfo::exists(parte) && QFileInfo(parte).absolutePath() != parte)
            parte = QFileInfo(parte).absolutePath();
        if (QFileInfo::exists(parte) && !QFileInfo(parte).isDir())
            return fallar(ENOTDIR, QStringLiteral("No se puede escribir en la carpeta %1 (%2 es un archivo)")
                                       .arg(QDir::toNativeSeparators(info.absolutePath()),
                                            QDir::toNativeSeparators(parte)));
        return fallar(
            ENOENT,
            QStringLiteral("No existe la carpeta %1").arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    // A hidden name in the same folder, so the final rename never crosses file systems. It is
    // created as any file of ours is (the umask decides), not owner-only like a QTemporaryFile.
    const QString base = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.';
    int numero = EACCES;
    for (int intento = 0; intento < 16; ++intento) {
        const QString nombre = base + QString::number(QRandomGenerator::global()->generate(), 36);
        QFile f(nombre);
        errno = 0;
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            temporal_ = nombre;
            return true;
        }
        numero = errno ? errno : EACCES;
        if (numero != EEXIST)
            break;
    }
    return fallar(numero, QStringLiteral("No se puede escribir en la carpeta %1")
                              .arg(QDir::toNativeSeparators(info.absolutePath())));
}

bool ArchivoSeguro::confirmar() {
    if (temporal_.isEmpty())
        return fallar(ENOENT, QStringLiteral("No hay nada que guardar"));
    if (const int e = sincronizar(temporal_))
        return fallar(e, QStringLiteral("No se puede guardar %1").arg(QDir::toNativeSeparators(destino_)));
    std::error_code ec;
    // The new file keeps the permissions of the one it replaces.
    const fs::file_status previo = fs::status(ruta(destino_), ec);
    if (!ec && fs::exists(previo))
        fs::permissions(ruta(temporal_), previo.permissions(), ec);
    ec.clear();
    anteriorGuardada_.clear();
    if (guardarAnterior_ && fs::exists(ruta(destino_), ec)) {
        // The old file gains a second name first; the rename below then swaps the target in one
        // step, so the target name always holds a whole file.
        QString nombre = numeradas_ ? rutaAnteriorLibre(destino_) : rutaAnterior(destino_);
        if (!numeradas_)
            fs::remove(ruta(nombre), ec);
        // A link or a copy never replaces a file: a numbered name taken meanwhile means the next.
        for (int intento = 0;; ++intento) {
            ec.clear();
            fs::create_hard_link(ruta(destino_), ruta(nombre), ec);
            if (ec && ec != std::errc::file_exists) {
                ec.clear();
                fs::copy_file(ruta(destino_), ruta(nombre), fs::copy_options::none, ec);
            }
            if (!ec)
                break;
            if (!numeradas_ || ec != std::errc::file_exists || intento > 1000)
                return fallar(ec.value(), QStringLiteral("No se puede guardar la copia anterior %1")
                                              .arg(QDir::toNativeSeparators(nombre)));
            nombre = rutaAnteriorLibre(destino_);
        }
        if (numeradas_)
            sincronizar(nombre);
        anteriorGuardada_ = nombre;
    }
    if (const int e = reemplazar(temporal_, destino_))
        return fallar(e, QStringLiteral("No se puede reemplazar %1").arg(QDir::toNativeSeparators(destino_)));
    temporal_.clear();
    sincronizar(QFileInfo(destino_).absolutePath());
    return true;
}

void ArchivoSeguro::descartar() {
    if (!temporal_.isEmpty()) {
        QFile::remove(temporal_);
        for (int n = 1; n <= 3; ++n) {
            const QFileInfo aux(rutaAuxiliar(n));
            if (aux.isDir() && !aux.isSymLink())
                QDir(aux.absoluteFilePath()).removeRecursively();
            else if (aux.exists() || aux.isSymLink())
                QFile::remove(aux.absoluteFilePath());
        }
    }
    temporal_.clear();
}

bool ArchivoSeguro::escribir(const QString& destino, const QByteArray& datos, QString* error) {
    ArchivoSeguro a(destino);
    bool ok = a.preparar();
    if (ok) {
        QFile f(a.rutaTemporal());
        errno = 0;
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(datos) != datos.size() ||
            !f.flush()) {
            ok = a.fallar(errno ? errno : EIO,
                          QStringLiteral("No se puede escribir %1").arg(QDir::toNativeSeparators(destino)));
        }
        f.close();
    }
    ok = ok && a.confirmar();
    if (!ok && error)
        *error = a.error();
    return ok;
}

QString ArchivoSeguro::describir(int numero) {
    switch (numero) {
    case 0:
        return QStringLiteral("sin error");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
#ifdef EDQUOT // not on Windows
    case EDQUOT:
        return QStringLiteral("se superó la cuota de disco");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case ENOENT:
        return QStringLiteral("no existe el archivo o la carpeta");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case EINVAL:
        return QStringLiteral("nombre no válido");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("el archivo está en uso");
    case EIO:
        return QStringLiteral("error de entrada/salida del disco");
    case EFBIG:
        return QStringLiteral("el archivo supera el tamaño permitido");
    case EXDEV:
        return QStringLiteral("el archivo temporal y el destino están en discos distintos");
    case EEXIST:
        return QStringLiteral("ya existe");
    default:
        return QStringLiteral("error del sistema %1").arg(numero);
    }
}
