#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One backup archive found on disk.
struct EntradaRespaldo {
    QString ruta;
    QDateTime fecha; // when it was made: from its name, else from the file
    qint64 tamano = 0;
    bool automatico = false;
};

// The backup archives the program knows: those of a few folders, newest first, told apart by
// name. An automatic archive is named like a manual one with "_auto" before its number, so it
// stays recognisable wherever it is copied, and the rotation can never take a manual one.
namespace CatalogoRespaldos {

// The name of an automatic archive made at `momento`: BD_lun_7_12_2026_09_05_auto.cab.
QString nombreAutomatico(const QDateTime& momento);
// Whether a file name is one of an automatic archive.
bool esAutomatico(const QString& nombre);
// The moment a backup name stands for, and its number (1 for none, 2 for "_2"...); an invalid
// moment when the name is not a backup's.
QDateTime fechaDelNombre(const QString& nombre, int* numero = nullptr);

// The .cab archives of the folders (missing ones and repeated ones are skipped), newest first.
QList<EntradaRespaldo> listar(const QStringList& carpetas);
// Removes the automatic archives of `carpeta` beyond the newest `conservar`; the paths removed.
QStringList rotar(const QString& carpeta, int conservar);

} // namespace CatalogoRespaldos
