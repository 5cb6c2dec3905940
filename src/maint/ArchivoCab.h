#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Why an archive operation failed: a number and a Spanish description, as the maintenance
// window's error box shows them.
struct FalloCab {
    int numero = 0;
    QString descripcion;
};

// Told the byte count so far as the work goes on; returning false stops it.
using AvanceCab = std::function<bool(qint64 bytes)>;

// A cabinet archive opened for reading. Expanding checks every data block against its checksum,
// so a damaged archive fails instead of giving back wrong bytes. One thread at a time.
class ArchivoCab {
public:
    explicit ArchivoCab(const QString& ruta);
    ~ArchivoCab();
    ArchivoCab(const ArchivoCab&) = delete;
    ArchivoCab& operator=(const ArchivoCab&) = delete;

    // Reads the archive's headers and its list of files. False (with `fallo`) when the file is
    // missing, unreadable or not a cabinet archive.
    bool abrir(FalloCab* fallo);

    // The archive's size in bytes.
    qint64 tamano() const;
    // The names held, in the archive's order, as stored (a name may carry "\" folders).
    const QStringList& nombres() const;
    // The share of the archive read once file `indice` is expanded (files are stored in order),
    // estimated from the files' sizes: what progress counts up to when expanding that file.
    qint64 leidoHasta(int indice) const;
    // The file called `nombre`, regardless of case; a bare name is preferred to one inside a
    // folder of the archive ("copia\base.db"). -1 when there is none.
    int buscar(const QString& nombre) const;

    // Expands file `indice` into the folder `carpeta` under the name `comoNombre`. `avance` gets
    // the archive bytes read so far. A full disk is reported with ENOSPC, naming `carpeta`. A failure can
    // leave part of the file behind: expand into a name of your own and remove it.
    bool extraer(int indice, const QString& carpeta, const QString& comoNombre, const AvanceCab& avance,
                 FalloCab* fallo);
    // Expands every file into `carpeta`, under the names held.
    bool extraerTodo(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo);
    // Expands every file into `carpeta` as "1", "2" ... in the archive's order: names of our own,
    // whatever (or however encoded) the names held are.
    bool extraerNumerados(const QString& carpeta, const AvanceCab& avance, FalloCab* fallo);

private:
    // Expands into `carpeta` the file `solo` (a GCabFile of this archive), or every file when null.
    bool expandir(const QString& carpeta, void* solo, const AvanceCab& avance, FalloCab* fallo);

    struct Datos;
    QString ruta_;
    std::unique_ptr<Datos> d_;
};

// Writes a cabinet archive into the file `destino` (created, or emptied when it exists):
// `archivos` (full paths), each under its bare name, MSZIP-compressed, in one cabinet folder.
// `avance` gets the uncompressed bytes written so far, block by block. Returns the archive's
// size, or -1 with `fallo`.
qint64 escribirCab(const QStringList& archivos, const QString& destino, const AvanceCab& avance,
                   FalloCab* fallo);
