#include "core/LibroXlsx.h"

#include "core/ArchivoSeguro.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <locale.h>
#endif
#ifdef Q_OS_WIN
#include <clocale>
#include <string>
#endif

namespace {

// The library prints numbers (cell values, column widths, page margins) with the C library's
// formatting, so a decimal-comma locale would write "1250,5" into the XML and corrupt the
// workbook. Every call into it runs with the "C" locale on the calling thread only, which
// leaves the rest of the program (and other threads) as they are.
class LocaleC {
public:
    LocaleC() {
#ifdef Q_OS_UNIX
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        anterior_ = uselocale(c);
#elif defined(Q_OS_WIN)
        // Windows' C library keeps a locale per thread once asked to.
        modo_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
        const char* actual = std::setlocale(LC_ALL, nullptr);
        anterior_ = actual ? actual : "C";
        std::setlocale(LC_ALL, "C");
#endif
    }
    ~LocaleC() {
#ifdef Q_OS_UNIX
        uselocale(anterior_);
#elif defined(Q_OS_WIN)
        std::setlocale(LC_ALL, anterior_.c_str());
        _configthreadlocale(modo_);
#endif
    }
    LocaleC(const LocaleC&) = delete;
    LocaleC& operator=(const LocaleC&) = delete;

private:
#ifdef Q_OS_UNIX
    locale_t anterior_;
#elif defined(Q_OS_WIN)
    int modo_;
    std::string anterior_;
#endif
};

// Column widths, in characters: room for a short value, and no column so wide that one long
// name pushes the others off the screen.
constexpr double kAnchoMinimo = 8;
constexpr double kAnchoMaximo = 60;

// A library error in Spanish. File and archive errors are described by the system error that
// caused them when there is one.
bool esDeArchivo(lxw_error e) {
    switch (e) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return true;
    default:
        return false;
    }
}

QString describirLibro(lxw_error e) {
    switch (e) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("no hay memoria suficiente para el libro");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("no se puede crear el archivo del libro");
    case LXW_ERROR_CREATING_TMPFILE:
        return QStringLiteral("no se puede crear un archivo temporal para la hoja");
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("no se puede leer el archivo temporal de la hoja");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("no se puede escribir el archivo comprimido del libro");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("un texto supera los 32767 caracteres que admite una celda");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("los datos no caben en una hoja (1048576 filas como máximo)");
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
        return QStringLiteral("nombre de hoja no válido");
    default:
        return QStringLiteral("error del generador de libros %1").arg(int(e));
    }
}

// Approximate shown width, in characters, of a number in the General format: its shortest form.
int anchoNumero(double n) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, n);
    return r.ec == std::errc() ? static_cast<int>(r.ptr - texto) : 11;
}

} // namespace

struct LibroXlsx::Datos {
    explicit Datos(const QString& destino) : archivo(destino) {}

    // One worksheet and where its writing stands.
    struct Hoja {
        lxw_worksheet* hoja = nullptr;
        lxw_row_t filaSiguiente = 0;
        std::optional<lxw_row_t> encabezado;
        std::vector<int> anchos; // longest value of each column, in characters
    };
    // The number formats a cell can take, each in the three looks of a row.
    enum Clase { General, Fecha, Hora, Porcentaje, Moneda, kClases };

    ArchivoSeguro archivo;
    QByteArray nombreHoja;
    lxw_workbook* libro = nullptr;
    std::vector<Hoja> hojas; // the last one is being written
    lxw_worksheet* hoja = nullptr;
    lxw_format* formatos[kClases][3] = {};
    lxw_row_t filaSiguiente = 0;
    std::optional<lxw_row_t> encabezado;
    std::vector<int> anchos;
    QStringEncoder utf8{QStringEncoder::Utf8};
    std::vector<char> texto; // one cell's text in UTF-8, reused from cell to cell
    bool roto = false;
    int numero_ = 0;
    QString error;

    bool fallar(int n, const QString& texto) {
        roto = true;
        numero_ = n;
        error = texto;
        return false;
    }
    // A library error, described by errno when a file operation caused it.
    bool fallarLibro(lxw_error e, int errnoAlFallar) {
        if (esDeArchivo(e) && errnoAlFallar != 0)
            return fallar(errnoAlFallar,
                          describirLibro(e) + QStringLiteral(": ") + ArchivoSeguro::describir(errnoAlFallar));
        return fallar(int(e), describirLibro(e));
    }
    // `t` in UTF-8, NUL-terminated, valid until the next call.
    const char* enUtf8(const QString& t) {
        texto.resize(static_cast<size_t>(utf8.requiredSpace(t.size())) + 1);
        utf8.resetState();
        char* fin = utf8.appendToBuffer(texto.data(), t);
        *fin = '\0';
        return texto.data();
    }
    void medir(lxw_col_t c, int ancho) {
        if (c >= anchos.size())
            anchos.resize(c + 1, 0);
        anchos[c] = std::max(anchos[c], ancho);
    }
    // Drops an unfinished workbook without writing it.
    void soltar() {
        if (libro)
            lxw_workbook_free(libro);
        libro = nullptr;
        hoja = nullptr;
        hojas.clear();
        archivo.descartar();
    }
    // Keeps the state of the sheet being written with the others.
    void guardarHoja() {
        if (hoja)
            hojas.push_back({hoja, filaSiguiente, encabezado, std::move(anchos)});
        hoja = nullptr;
        filaSiguiente = 0;
        encabezado.reset();
        anchos.clear();
    }
    bool agregarHoja(const QByteArray& nombre) {
        if (const lxw_error e = workbook_validate_sheet_name(libro, nombre.constData()))
            return fallarLibro(e, 0);
        guardarHoja();
        errno = 0;
        hoja = workbook_add_worksheet(libro, nombre.constData());
        if (!hoja) {
            const int e = errno;
            return fallar(e ? e : int(LXW_ERROR_CREATING_TMPFILE),
                          describirLibro(LXW_ERROR_CREATING_TMPFILE) +
                              (e ? QStringLiteral(": ") + ArchivoSeguro::describir(e) : QString()));
        }
        return true;
    }
    // The format of a cell of class `c` in a row of look `e`; none for a plain number or text.
    lxw_format* formato(Clase c, LibroXlsx::Estilo e) {
        const int i = static_cast<int>(e);
        if (c == General && e == LibroXlsx::Estilo::Normal)
            return nullptr;
        if (!formatos[c][i]) {
            lxw_format* f = workbook_add_format(libro);
            if (c == Fecha)
                format_set_num_format(f, "dd/mm/yyyy");
            else if (c == Hora)
                format_set_num_format(f, "hh:mm");
            else if (c == Porcentaje)
                format_set_num_format(f, "0.00%");
            else if (c == Moneda)
                format_set_num_format(f, "#,##0.00");
            if (e == LibroXlsx::Estilo::Negrita)
                format_set_bold(f);
            if (e == LibroXlsx::Estilo::Resaltada) {
                // As the window paints a row beyond the tolerance.
                format_set_pattern(f, LXW_PATTERN_SOLID);
                format_set_bg_color(f, 0xFFD6D6);
                format_set_font_color(f, 0x960000);
            }
            formatos[c][i] = f;
        }
        return formatos[c][i];
    }
};

LibroXlsx::LibroXlsx(const QString& destino, const QString& nombreHoja)
    : d(std::make_unique<Datos>(destino)) {
    d->nombreHoja = nombreHoja.toUtf8();
}

LibroXlsx::~LibroXlsx() {
    LocaleC c;
    d->soltar();
}

bool LibroXlsx::abrir() {
    LocaleC c;
    if (d->libro || d->roto)
        return d->fallar(EINVAL, QStringLiteral("el libro ya estaba abierto"));
    if (!d->archivo.preparar())
        return d->fallar(d->archivo.numeroError(), d->archivo.error());
    // Constant memory: each row goes to a temporary file as soon as the next one starts, so the
    // size of the list does not matter.
    lxw_workbook_options opciones{};
    opciones.constant_memory = LXW_TRUE;
    const QByteArray ruta = QFile::encodeName(d->archivo.rutaTemporal());
    d->libro = workbook_new_opt(ruta.constData(), &opciones);
    if (!d->libro)
        return d->fallar(int(LXW_ERROR_MEMORY_MALLOC_FAILED), describirLibro(LXW_ERROR_MEMORY_MALLOC_FAILED));
    if (!d->agregarHoja(d->nombreHoja)) {
        const int n = d->numero_;
        const QString texto = d->error;
        d->soltar();
        return d->fallar(n, texto);
    }
    return true;
}

bool LibroXlsx::encabezados(const QStringList& textos) {
    if (d->encabezado)
        return d->fallar(EINVAL, QStringLiteral("la hoja ya tiene encabezados"));
    QList<CeldaLibro> celdas;
    celdas.reserve(textos.size());
    for (const QString& t : textos)
        celdas << (t.isEmpty() ? CeldaLibro::vacia() : CeldaLibro::deTexto(t));
    d->encabezado = d->filaSiguiente;
    return fila(celdas, Estilo::Negrita);
}

bool LibroXlsx::nuevaHoja(const QString& nombre) {
    if (d->roto)
        return false;
    if (!d->hoja)
        return d->fallar(EINVAL, QStringLiteral("el libro no está abierto"));
    LocaleC c;
    return d->agregarHoja(nombre.toUtf8());
}

bool LibroXlsx::fila(const QList<CeldaLibro>& celdas, Estilo estilo) {
    if (d->roto)
        return false;
    if (!d->hoja)
        return d->fallar(EINVAL, QStringLiteral("el libro no está abierto"));
    LocaleC c;
    const lxw_row_t r = d->filaSiguiente;
    const bool encabezado = d->encabezado == r;
    lxw_col_t col = 0;
    for (const CeldaLibro& celda : celdas) {
        lxw_error e = LXW_NO_ERROR;
        int ancho = 0;
        errno = 0;
        switch (celda.tipo) {
        case CeldaLibro::Tipo::Vacia:
            break;
        case CeldaLibro::Tipo::Texto: {
            // Always a string cell, never a formula, whatever the text starts with.
            e = worksheet_write_string(d->hoja, r, col, d->enUtf8(celda.texto),
                                       d->formato(Datos::General, estilo));
            // Room for the filter button beside a header.
            ancho = static_cast<int>(celda.texto.size()) + (encabezado ? 3 : 0);
            break;
        }
        case CeldaLibro::Tipo::Numero:
        case CeldaLibro::Tipo::Moneda: {
            if (!std::isfinite(celda.numero))
                return d->fallar(EINVAL, QStringLiteral("un número no se puede guardar en una celda"));
            // A plain number has no format: the default alignment already puts numbers on the
            // right in every spreadsheet program, and a format on each of them costs a twentieth
            // of the export.
            const bool moneda = celda.tipo == CeldaLibro::Tipo::Moneda;
            e = worksheet_write_number(d->hoja, r, col, celda.numero,
                                       d->formato(moneda ? Datos::Moneda : Datos::General, estilo));
            ancho = anchoNumero(celda.numero) + (moneda ? 4 : 0);
            break;
        }
        case CeldaLibro::Tipo::Porcentaje:
            if (!std::isfinite(celda.numero))
                return d->fallar(EINVAL, QStringLiteral("un número no se puede guardar en una celda"));
            e = worksheet_write_number(d->hoja, r, col, celda.numero / 100,
                                       d->formato(Datos::Porcentaje, estilo));
            ancho = 9; // -100,00 %
            break;
        case CeldaLibro::Tipo::Fecha: {
            int y = 0, m = 0, dia = 0;
            celda.fecha.getDate(&y, &m, &dia); // zeros for an invalid date
            // Spreadsheets count days from 1900; nothing earlier is a date to them.
            if (y < 1900 || y > 9999)
                return d->fallar(EINVAL, QStringLiteral("una fecha está fuera de 1900 a 9999"));
            lxw_datetime f{y, static_cast<uint8_t>(m), static_cast<uint8_t>(dia), 0, 0, 0};
            e = worksheet_write_datetime(d->hoja, r, col, &f, d->formato(Datos::Fecha, estilo));
            ancho = 10;
            break;
        }
        case CeldaLibro::Tipo::Hora: {
            if (!celda.hora.isValid())
                return d->fallar(EINVAL, QStringLiteral("una hora no es válida"));
            lxw_datetime h{0,
                           0,
                           0,
                           static_cast<uint8_t>(celda.hora.hour()),
                           static_cast<uint8_t>(celda.hora.minute()),
                           celda.hora.second() + celda.hora.msec() / 1000.0};
            e = worksheet_write_datetime(d->hoja, r, col, &h, d->formato(Datos::Hora, estilo));
            ancho = 5;
            break;
        }
        }
        if (e != LXW_NO_ERROR)
            return d->fallarLibro(e, errno);
        d->medir(col, ancho);
        ++col;
    }
    ++d->filaSiguiente;
    return true;
}

bool LibroXlsx::cerrar() {
    if (d->roto) {
        d->soltar();
        return false;
    }
    if (!d->libro)
        return d->fallar(EINVAL, QStringLiteral("el libro no está abierto"));
    LocaleC c;
    d->guardarHoja();
    for (Datos::Hoja& h : d->hojas) {
        for (lxw_col_t col = 0; col < h.anchos.size(); ++col)
            worksheet_set_column(h.hoja, col, col,
                                 std::clamp(h.anchos[col] + 1.0, kAnchoMinimo, kAnchoMaximo), nullptr);
        if (h.encabezado) {
            worksheet_freeze_panes(h.hoja, *h.encabezado + 1, 0);
            if (!h.anchos.empty())
                worksheet_autofilter(h.hoja, *h.encabezado, 0, h.filaSiguiente - 1,
                                     static_cast<lxw_col_t>(h.anchos.size() - 1));
        }
        // The rows wait in a temporary file whose writes the library does not check: a full disk
        // there would silently cut the sheet short, so it is checked before the workbook is built.
        if (FILE* t = h.hoja->optimize_tmpfile) {
            errno = 0;
            if (std::fflush(t) != 0 || std::ferror(t)) {
                const int e = errno ? errno : EIO;
                d->soltar();
                return d->fallar(e, QStringLiteral("no se puede escribir el archivo temporal de la hoja: ") +
                                        ArchivoSeguro::describir(e));
            }
        }
    }
    errno = 0;
    const lxw_error e = workbook_close(d->libro); // frees the workbook, written or not
    const int errnoAlCerrar = errno;
    d->libro = nullptr;
    d->hoja = nullptr;
    d->hojas.clear();
    if (e != LXW_NO_ERROR) {
        d->archivo.descartar();
        return d->fallarLibro(e, errnoAlCerrar);
    }
    if (!d->archivo.confirmar()) {
        d->archivo.descartar();
        return d->fallar(d->archivo.numeroError(), d->archivo.error());
    }
    return true;
}

int LibroXlsx::numeroError() const {
    return d->numero_;
}

QString LibroXlsx::error() const {
    return d->error;
}

QString LibroXlsx::nombreLibro(const QString& ruta) {
    const QString nombre = QFileInfo(ruta).fileName();
    if (nombre.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return ruta;
    if (nombre.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        return ruta.left(ruta.size() - 4) + QStringLiteral(".xlsx");
    return ruta + QStringLiteral(".xlsx");
}
