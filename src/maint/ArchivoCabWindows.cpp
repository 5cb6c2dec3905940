// Cabinet archives on Windows: the system's own cabinet library (FCI writes, FDI reads), behind
// the same interface as the libgcab code used elsewhere. Every path handed to the library is
// UTF-8 and comes back to the callbacks below, which open files with the wide-character calls,
// so folders and user names outside ASCII work.
#include "maint/ArchivoCab.h"
#include "maint/BloquesCab.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

#include <fci.h>
#include <fcntl.h>
#include <fdi.h>

#include <atomic>
#include <cerrno>
#include <vector>

namespace {

// What the callbacks of one operation share: the library's callbacks for reading carry no
// pointer of ours, so the operation in course is per thread.
struct Operacion {
    const AvanceCab* avance = nullptr;
    bool cancelado = false;
    bool corto = false;                      // the archive ended before a read was served
    DWORD error = 0;                         // the last system error of a callback
    QString rutaError;                       // the file it was about
    qint64 hecho = 0;                        // uncompressed bytes written so far (FCI)
    INT_PTR extraerEn = 0;                   // the file being expanded, if any (FDI)
    int indice = -1;                         // files met so far (FDI)
    int solo = -1;                           // the one file to expand, or -1 for all
    QString carpeta;                         // where files are expanded
    QString comoNombre;                      // the name the one file is expanded under
    bool numerados = false;                  // every file as "1", "2" ... in the archive's order
    std::vector<QString>* nombres = nullptr; // when listing
    std::vector<qint64>* tamanos = nullptr;
};
thread_local Operacion* actual = nullptr;

struct Manejador {
    HANDLE h;
    bool cabina; // the archive itself, whose reads tell the progress
};

std::wstring ancha(const char* utf8) {
    return QDir::toNativeSeparators(QString::fromUtf8(utf8)).toStdWString();
}

void recordar(const char* ruta) {
    if (actual) {
        actual->error = GetLastError();
        actual->rutaError = QString::fromUtf8(ruta);
    }
}

INT_PTR abrirArchivo(const char* ruta, int oflag, bool cabina) {
    DWORD acceso = GENERIC_READ;
    DWORD creacion = OPEN_EXISTING;
    if (oflag & (_O_WRONLY | _O_RDWR))
        acceso = oflag & _O_WRONLY ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
    if (oflag & _O_CREAT)
        creacion = oflag & _O_EXCL ? CREATE_NEW : oflag & _O_TRUNC ? CREATE_ALWAYS : OPEN_ALWAYS;
    else if (oflag & _O_TRUNC)
        creacion = TRUNCATE_EXISTING;
    // A file read may be open for writing elsewhere (the database), as Linux allows.
    const DWORD compartir = acceso == GENERIC_READ ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    const HANDLE h = CreateFileW(ancha(ruta).c_str(), acceso, compartir, nullptr, creacion,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        recordar(ruta);
        return -1;
    }
    return reinterpret_cast<INT_PTR>(new Manejador{h, cabina});
}

UINT leer(INT_PTR m, void* buffer, UINT cuantos) {
    auto* a = reinterpret_cast<Manejador*>(m);
    DWORD n = 0;
    if (!ReadFile(a->h, buffer, cuantos, &n, nullptr)) {
        recordar("");
        return UINT(-1);
    }
    if (a->cabina && actual) {
        if (n < cuantos)
            actual->corto = true;
        LARGE_INTEGER cero{}, donde{};
        SetFilePointerEx(a->h, cero, &donde, FILE_CURRENT);
        if (actual->avance && *actual->avance && !(*actual->avance)(donde.QuadPart)) {
            actual->cancelado = true;
            return UINT(-1);
        }
    }
    return n;
}

UINT escribir(INT_PTR m, const void* buffer, UINT cuantos) {
    DWORD n = 0;
    if (!WriteFile(reinterpret_cast<Manejador*>(m)->h, buffer, cuantos, &n, nullptr)) {
        recordar("");
        return UINT(-1);
    }
    return n;
}

int cerrar(INT_PTR m) {
    auto* a = reinterpret_cast<Manejador*>(m);
    const bool ok = CloseHandle(a->h);
    delete a;
    return ok ? 0 : -1;
}

LONG mover(INT_PTR m, LONG distancia, int desde) {
    LARGE_INTEGER d{}, donde{};
    d.QuadPart = distancia;
    const DWORD modo = desde == SEEK_SET ? FILE_BEGIN : desde == SEEK_CUR ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(reinterpret_cast<Manejador*>(m)->h, d, &donde, modo))
        return -1;
    return LONG(donde.QuadPart);
}

// ---- FDI (reading) ----

FNALLOC(fdiReservar) {
    return HeapAlloc(GetProcessHeap(), 0, cb);
}
FNFREE(fdiLiberar) {
    HeapFree(GetProcessHeap(), 0, pv);
}
FNOPEN(fdiAbrir) {
    Q_UNUSED(pmode);
    return abrirArchivo(pszFile, oflag, true);
}
FNREAD(fdiLeer) {
    return leer(hf, pv, cb);
}
FNWRITE(fdiEscribir) {
    return escribir(hf, pv, cb);
}
FNCLOSE(fdiCerrar) {
    return cerrar(hf);
}
FNSEEK(fdiMover) {
    return mover(hf, dist, seektype);
}

QString nombreGuardado(const char* nombre, USHORT atributos) {
    return atributos & _A_NAME_IS_UTF ? QString::fromUtf8(nombre) : QString::fromLocal8Bit(nombre);
}

// Opens a file the archive expands into; its folders inside the archive become folders.
INT_PTR abrirDestino(const QString& ruta) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    const HANDLE h = CreateFileW(QDir::toNativeSeparators(ruta).toStdWString().c_str(), GENERIC_WRITE, 0,
                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        actual->error = GetLastError();
        actual->rutaError = ruta;
        return -1;
    }
    return reinterpret_cast<INT_PTR>(new Manejador{h, false});
}

FNFDINOTIFY(fdiAviso) {
    Operacion* op = actual;
    switch (fdint) {
    case fdintCOPY_FILE: {
        const int i = ++op->indice;
        if (op->nombres) {
            op->nombres->push_back(nombreGuardado(pfdin->psz1, pfdin->attribs));
            op->tamanos->push_back(pfdin->cb);
            return 0;
        }
        if (op->solo >= 0 && i != op->solo)
            return 0;
        QString nombre = op->solo >= 0   ? op->comoNombre
                         : op->numerados ? QString::number(i + 1)
                                         : nombreGuardado(pfdin->psz1, pfdin->attribs);
        nombre.replace(u'\\', u'/');
        return op->extraerEn = abrirDestino(QDir(op->carpeta).filePath(nombre));
    }
    case fdintCLOSE_FILE_INFO:
        op->extraerEn = 0;
        return cerrar(pfdin->hf) == 0 ? TRUE : FALSE;
    case fdintNEXT_CABINET:
        return -1; // one archive, never a set
    default:
        return 0;
    }
}

// The folder with its final separator and the bare name, as FDICopy takes them.
std::pair<QByteArray, QByteArray> partes(const QString& ruta) {
    const QFileInfo i(ruta);
    return {(QDir::toNativeSeparators(i.absolutePath()) + u'\\').toUtf8(), i.fileName().toUtf8()};
}

FalloCab falloSistema(DWORD codigo, const QString& ruta) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    switch (codigo) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {ENOENT, QStringLiteral("No existe el archivo %1.").arg(nombre)};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        if (QFileInfo(ruta).isDir())
            return {EISDIR, QStringLiteral("%1 es una carpeta, no un archivo.").arg(nombre)};
        return {EACCES, QStringLiteral("No se tiene permiso para usar %1.").arg(nombre)};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return {ENOSPC, QStringLiteral("No queda espacio en el disco para %1.").arg(nombre)};
    default:
        return {EIO, QStringLiteral("Error de lectura o escritura en %1 (error %2 del sistema).")
                         .arg(nombre)
                         .arg(codigo)};
    }
}

// Why FDI failed, from what the callbacks saw first and the library's own code after.
FalloCab falloLectura(const Operacion& op, const ERF& erf, const QString& ruta) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    if (op.cancelado)
        return {ECANCELED, QStringLiteral("Operación cancelada")};
    if (op.error != 0)
        return falloSistema(op.error, op.rutaError.isEmpty() ? ruta : op.rutaError);
    if (op.corto)
        return {EIO, QStringLiteral("El archivo %1 está dañado: está incompleto.").arg(nombre)};
    switch (erf.erfOper) {
    case FDIERROR_CABINET_NOT_FOUND:
        return {ENOENT, QStringLiteral("No existe el archivo %1.").arg(nombre)};
    case FDIERROR_NOT_A_CABINET:
    case FDIERROR_UNKNOWN_CABINET_VERSION:
        return {0, QStringLiteral("El archivo %1 no es un archivo de Back Up (.cab).").arg(nombre)};
    case FDIERROR_BAD_COMPR_TYPE:
        return {0,
                QStringLiteral("El archivo %1 usa una compresión que este programa no conoce.").arg(nombre)};
    case FDIERROR_ALLOC_FAIL:
        return {ENOMEM, QStringLiteral("No hay memoria suficiente para leer %1.").arg(nombre)};
    case FDIERROR_USER_ABORT:
        return {ECANCELED, QStringLiteral("Operación cancelada")};
    default:
        return {0, QStringLiteral("El archivo %1 está dañado: sus datos comprimidos no se pueden expandir.")
                       .arg(nombre)};
    }
}

// One pass of FDICopy over the archive with `op` as the operation in course.
bool recorrer(const QString& ruta, Operacion& op, ERF* erf) {
    HFDI fdi = FDICreate(fdiReservar, fdiLiberar, fdiAbrir, fdiLeer, fdiEscribir, fdiCerrar, fdiMover,
                         cpuUNKNOWN, erf);
    if (!fdi)
        return false;
    auto [carpeta, nombre] = partes(ruta);
    actual = &op;
    const bool ok = FDICopy(fdi, nombre.data(), carpeta.data(), 0, fdiAviso, nullptr, nullptr);
    actual = nullptr;
    if (op.extraerEn)
        cerrar(op.extraerEn);
    FDIDestroy(fdi);
    return ok && !op.cancelado;
}

// The part of a stored name after its last folder separator.
QString ultimaParte(const QString& nombre) {
    const int i = qMax(nombre.lastIndexOf(u'\\'), nombre.lastIndexOf(u'/'));
    return nombre.mid(i + 1);
}

} // namespace

struct ArchivoCab::Datos {
    QStringList nombres;
    std::vector<qint64> tamanos;
    qint64 tamano = 0;
    bool abierto = false;
    QString comoNombre; // of the one file being expanded
    bool numerados = false;
};

ArchivoCab::ArchivoCab(const QString& ruta) : ruta_(ruta), d_(std::make_unique<Datos>()) {}

ArchivoCab::~ArchivoCab() = default;

bool ArchivoCab::abrir(FalloCab* fallo) {
    d_ = std::make_unique<Datos>();
    const QFileInfo info(ruta_);
    if (info.isFile() && info.size() == 0) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 está vacío: no es un archivo de Back Up (.cab).")
                             .arg(QDir::toNativeSeparators(ruta_))};
        return false;
    }
    if (!info.exists() || info.isDir()) {
        if (fallo)
            *fallo = falloSistema(info.isDir() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND, ruta_);
        return false;
    }
    // The cabinet library reads a short file of another kind as a cut-off archive.
    {
        QFile f(ruta_);
        if (f.open(QIODevice::ReadOnly) && f.read(4) != QByteArrayLiteral("MSCF")) {
            if (fallo)
                *fallo = {0, QStringLiteral("El archivo %1 no es un archivo de Back Up (.cab).")
                                 .arg(QDir::toNativeSeparators(ruta_))};
            return false;
        }
    }
    // Listing: every file is met and none expanded, so only the headers are read.
    std::vector<QString> nombres;
    Operacion op;
    op.nombres = &nombres;
    op.tamanos = &d_->tamanos;
    ERF erf{};
    if (!recorrer(ruta_, op, &erf)) {
        if (fallo)
            *fallo = falloLectura(op, erf, ruta_);
        d_ = std::make_unique<Datos>();
        return false;
    }
    for (const QString& n : nombres)
        d_->nombres << n;
    d_->tamano = info.size();
    d_->abierto = true;
    return true;
}

qint64 ArchivoCab::tamano() const {
    return d_->tamano;
}

const QStringList& ArchivoCab::nombres() const {
    return d_->nombres;
}

qint64 ArchivoCab::leidoHasta(int indice) const {
    qint64 hasta = 0;
    qint64 todo = 0;
    for (int i = 0; i < static_cast<int>(d_->tamanos.size()); ++i) {
        const qint64 t = d_->tamanos[static_cast<size_t>(i)];
        todo += t;
        if (i <= indice)
            hasta += t;
    }
    return todo > 0 ? qMax<qint64>(1, qint64(double(d_->tamano) * double(hasta) / double(todo))) : d_->tamano;
}

int ArchivoCab::buscar(const QString& nombre) const {
    int enCarpeta = -1;
    for (int i = 0; i < d_->nombres.size(); ++i) {
        const QString& n = d_->nombres[i];
        if (n.compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
        if (enCarpeta < 0 && ultimaParte(n).compare(nombre, Qt::CaseInsensitive) == 0)
            enCarpeta = i;
    }
    return enCarpeta;
}

bool ArchivoCab::extraer(int indice, const QString& carpeta, const QString& comoNombre,
                         const AvanceCab& avance, FalloCab* fallo) {
    if (indice < 0 || indice >= d_->nombres.size() || !d_->abierto) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 no contiene ese archivo.").arg(ruta_)};
        return false;
    }
    d_->comoNombre = comoNombre;
    return expandir(carpeta, &indice, avance, fallo);
}

bool ArchivoCab::extraerTodo(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo) {
    if (!d_->abierto) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 no está abierto.").arg(ruta_)};
        return false;
    }
    return expandir(carpeta, nullptr, avance, fallo);
}

bool ArchivoCab::extraerNumerados(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo) {
    if (!d_->abierto) {
        if (fallo)
            *fallo = {0, QStringLiteral("El archivo %1 no está abierto.").arg(ruta_)};
        return false;
    }
    d_->numerados = true;
    const bool ok = expandir(carpeta, nullptr, avance, fallo);
    d_->numerados = false;
    return ok;
}

bool ArchivoCab::expandir(const QString& carpeta, void* solo, const AvanceCab& avance, FalloCab* fallo) {
    if (!comprobarBloquesCab(ruta_, fallo))
        return false;
    Operacion op;
    op.avance = &avance;
    op.carpeta = carpeta;
    op.numerados = d_->numerados;
    if (solo) {
        op.solo = *static_cast<int*>(solo);
        op.comoNombre = d_->comoNombre;
    }
    ERF erf{};
    if (!recorrer(ruta_, op, &erf)) {
        if (fallo)
            *fallo = falloLectura(op, erf, ruta_);
        return false;
    }
    return true;
}

// ---- FCI (writing) ----

namespace {

// Fixed parts of the archive before the first data block: the cabinet header (36 bytes), one
// folder entry (8) and, per file, 16 bytes plus its name and a NUL. A cabinet folder counts its
// data blocks (32 KB each) in 16 bits.
constexpr qint64 kMaximo = qint64(65535) * 32768;

struct Escritura {
    const AvanceCab* avance = nullptr;
    qint64 hecho = 0;
    bool cancelado = false;
    DWORD error = 0;
    QString rutaError;
};

INT_PTR abrirFci(const char* ruta, int oflag, int* err, Escritura* e) {
    const INT_PTR m = abrirArchivo(ruta, oflag, false);
    if (m == -1) {
        *err = int(GetLastError());
        if (e->error == 0) {
            e->error = GetLastError();
            e->rutaError = QString::fromUtf8(ruta);
        }
    }
    return m;
}

FNFCIFILEPLACED(fciColocado) {
    Q_UNUSED(pccab);
    Q_UNUSED(pszFile);
    Q_UNUSED(cbFile);
    Q_UNUSED(fContinuation);
    Q_UNUSED(pv);
    return 0;
}
FNFCIALLOC(fciReservar) {
    return HeapAlloc(GetProcessHeap(), 0, cb);
}
FNFCIFREE(fciLiberar) {
    HeapFree(GetProcessHeap(), 0, memory);
}
FNFCIOPEN(fciAbrir) {
    Q_UNUSED(pmode);
    return abrirFci(pszFile, oflag, err, static_cast<Escritura*>(pv));
}
FNFCIREAD(fciLeer) {
    Q_UNUSED(pv);
    const UINT n = leer(hf, memory, cb);
    if (n == UINT(-1))
        *err = int(GetLastError());
    return n;
}
FNFCIWRITE(fciEscribir) {
    auto* e = static_cast<Escritura*>(pv);
    const UINT n = escribir(hf, memory, cb);
    if (n == UINT(-1) || n < cb) {
        *err = int(GetLastError());
        if (e->error == 0)
            e->error = GetLastError() ? GetLastError() : ERROR_DISK_FULL;
    }
    return n;
}
FNFCICLOSE(fciCerrar) {
    Q_UNUSED(pv);
    const int r = cerrar(hf);
    if (r != 0)
        *err = int(GetLastError());
    return r;
}
FNFCISEEK(fciMover) {
    Q_UNUSED(pv);
    const LONG r = mover(hf, dist, seektype);
    if (r == -1)
        *err = int(GetLastError());
    return r;
}
FNFCIDELETE(fciBorrar) {
    Q_UNUSED(pv);
    if (DeleteFileW(ancha(pszFile).c_str()))
        return 0;
    *err = int(GetLastError());
    return -1;
}
FNFCIGETTEMPFILE(fciTemporal) {
    Q_UNUSED(pv);
    static std::atomic_int serie{0};
    const QByteArray nombre =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("tolvaro-cab-%1-%2.tmp").arg(GetCurrentProcessId()).arg(++serie))
            .toUtf8();
    if (nombre.size() >= cbTempName)
        return FALSE;
    qstrcpy(pszTempName, nombre.constData());
    return TRUE;
}
FNFCIGETNEXTCABINET(fciSiguiente) {
    Q_UNUSED(pccab);
    Q_UNUSED(cbPrevCab);
    Q_UNUSED(pv);
    return FALSE; // one archive, never a set
}
FNFCISTATUS(fciEstado) {
    auto* e = static_cast<Escritura*>(pv);
    if (typeStatus == statusFile) {
        e->hecho += cb2;
        if (e->avance && *e->avance && !(*e->avance)(e->hecho)) {
            e->cancelado = true;
            return -1;
        }
    }
    return 0;
}
FNFCIGETOPENINFO(fciInfo) {
    auto* e = static_cast<Escritura*>(pv);
    const INT_PTR m = abrirFci(pszName, _O_RDONLY, err, e);
    if (m == -1)
        return -1;
    BY_HANDLE_FILE_INFORMATION info{};
    FILETIME local{};
    GetFileInformationByHandle(reinterpret_cast<Manejador*>(m)->h, &info);
    FileTimeToLocalFileTime(&info.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, pdate, ptime);
    *pattribs = _A_ARCH | _A_NAME_IS_UTF;
    return m;
}

} // namespace

qint64 escribirCab(const QStringList& archivos, const QString& destino, const AvanceCab& avance,
                   FalloCab* fallo) {
    const auto falla = [&](const FalloCab& f) -> qint64 {
        if (fallo)
            *fallo = f;
        return -1;
    };
    qint64 total = 0;
    for (const QString& ruta : archivos) {
        const QFileInfo i(ruta);
        if (!i.exists())
            return falla(falloSistema(ERROR_FILE_NOT_FOUND, ruta));
        if (i.isDir())
            return falla(falloSistema(ERROR_ACCESS_DENIED, ruta));
        total += i.size();
    }
    if (total > kMaximo)
        return falla(
            {EFBIG, QStringLiteral("Los archivos suman %1 bytes: un archivo de Back Up no puede guardar "
                                   "más de 2 GB.")
                        .arg(total)});
    Escritura e;
    e.avance = &avance;
    CCAB ccab{};
    ccab.cb = 0x7FFFFFFF;
    ccab.cbFolderThresh = 0x7FFFFFFF;
    auto [carpeta, nombre] = partes(destino);
    if (carpeta.size() >= CB_MAX_CAB_PATH || nombre.size() >= CB_MAX_CABINET_NAME)
        return falla(
            {ENAMETOOLONG, QStringLiteral("La ruta %1 es demasiado larga para un archivo de Back Up.")
                               .arg(QDir::toNativeSeparators(destino))});
    qstrcpy(ccab.szCabPath, carpeta.constData());
    qstrcpy(ccab.szCab, nombre.constData());
    ERF erf{};
    HFCI fci = FCICreate(&erf, fciColocado, fciReservar, fciLiberar, fciAbrir, fciLeer, fciEscribir,
                         fciCerrar, fciMover, fciBorrar, fciTemporal, &ccab, &e);
    if (!fci)
        return falla(
            {ENOMEM,
             QStringLiteral("No se pudo preparar el archivo %1.").arg(QDir::toNativeSeparators(destino))});
    bool ok = true;
    for (const QString& ruta : archivos) {
        QByteArray origen = QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath()).toUtf8();
        QByteArray guardado = QFileInfo(ruta).fileName().toUtf8();
        ok = FCIAddFile(fci, origen.data(), guardado.data(), FALSE, fciSiguiente, fciEstado, fciInfo,
                        tcompTYPE_MSZIP);
        if (!ok)
            break;
    }
    ok = ok && FCIFlushCabinet(fci, FALSE, fciSiguiente, fciEstado);
    FCIDestroy(fci);
    if (!ok) {
        if (e.cancelado || erf.erfOper == FCIERR_USER_ABORT)
            return falla({ECANCELED, QStringLiteral("Operación cancelada")});
        if (e.error != 0)
            return falla(falloSistema(e.error, e.rutaError.isEmpty() ? destino : e.rutaError));
        return falla({EIO, QStringLiteral("No se pudo escribir el archivo %1 (error %2 del cabinet).")
                               .arg(QDir::toNativeSeparators(destino))
                               .arg(erf.erfOper)});
    }
    return QFileInfo(destino).size();
}
