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
    // the file it replaces stays beside it as "<name>.anterior" (one previous copy); the target
    // name itself never goes missing, not even for an instant.
    bool confirmar();
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
    // A Spanish description of a system error number (errno).
    static QString describir(int numero);

private:
    bool fallar(int numero, const QString& que);

    QString destino_;
    QString temporal_;
    bool guardarAnterior_;
    QString error_;
    int numero_ = 0;
};
