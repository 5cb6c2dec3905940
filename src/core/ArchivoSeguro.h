#pragma once

#include <QByteArray>
#include <QString>

// Writes a file so that a crash, a full disk or a kill never leaves half of it under its name:
// everything goes into a temporary file in the target's folder, which replaces the target by one
// rename only when it is complete and on disk. Until then the target stays exactly as it was;
// a temporary file that is not confirmed is removed.
//
//   ArchivoSeguro a(destino);
//   if (!a.preparar()) ...;          // a.rutaTemporal() now exists, empty
//   ... write a.rutaTemporal() (with any library that writes by path) ...
//   if (!a.confirmar()) ... a.error() ...
class ArchivoSeguro {
public:
    explicit ArchivoSeguro(const QString& destino, bool guardarAnterior = false);
    ~ArchivoSeguro();
    ArchivoSeguro(const ArchivoSeguro&) = delete;
    ArchivoSeguro& operator=(const ArchivoSeguro&) = delete;

    // Creates the temporary file beside the target. False (with error()) when the folder is
    // missing or not writable.
    bool preparar();
    const QString& rutaTemporal() const { return temporal_; }
    const QString& destino() const { return destino_; }

    // Flushes the temporary file to disk and renames it over the target. With guardarAnterior,
    // the file it replaces stays beside it as "<name>.anterior" (one previous copy, or a new
    // numbered one each time with setAnterioresNumeradas); the target name itself never goes
    // missing, not even for an instant.
    bool confirmar();
    // Every replaced file is kept: "<name>.anterior", then "<name>.anterior.2", ".3" ... none of
    // them ever overwritten. For files whose loss cannot be undone (the database).
    void setAnterioresNumeradas(bool numeradas) { numeradas_ = numeradas; }
    // The previous copy confirmar() made, empty when it made none.
    const QString& anteriorGuardada() const { return anteriorGuardada_; }
    // A second temporary name of this file's own (`n` from 1), for work that needs more than one
    // file beside the target; removed with the temporary file and by quitarTemporales().
    QString rutaAuxiliar(int n) const;
    // Removes the temporary file; the target is untouched. Also done by the destructor.
    void descartar();

    // Why the last step failed, in Spanish; its system error number in numeroError().
    const QString& error() const { return error_; }
    int numeroError() const { return numero_; }

    // The whole of `datos` written safely to `destino` in one call.
    static bool escribir(const QString& destino, const QByteArray& datos, QString* error = nullptr);
    // The name the previous copy is kept under.
    static QString rutaAnterior(const QString& destino) { return destino + QStringLiteral(".anterior"); }
    // Removes the temporary files of `destino` that a killed process left behind: those of its
    // hidden names not modified for `edadSegundos` (no writer keeps one that long). How many.
    static int limpiarRestos(const QString& destino, int edadSegundos = 3600);
    // Removes every temporary file (and auxiliary one) of `destino`, whatever its age. Only for
    // whoever holds the folder's CerrojoMantenimiento, which tells that no writer is at work.
    static int quitarTemporales(const QString& destino);
    // The same for every target of `carpeta` whose name matches the wildcard `nombres` ("*.cab").
    static int quitarTemporalesEn(const QString& carpeta, const QString& nombres);
    // The first "<destino>.anterior", "<destino>.anterior.2" ... that does not exist yet.
    static QString rutaAnteriorLibre(const QString& destino);
    // A Spanish description of a system error number (errno).
    static QString describir(int numero);

private:
    bool fallar(int numero, const QString& que);
    // `patron`: a regular expression for the targets' names.
    static int quitarTemporalesEn(const QString& carpeta, const QString& patron, bool);

    QString destino_;
    QString temporal_;
    bool guardarAnterior_;
    bool numeradas_ = false;
    QString anteriorGuardada_;
    QString error_;
    int numero_ = 0;
};
