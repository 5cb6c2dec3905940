#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <optional>

// Old trips moved out of the plan into the archive tables `viajes_archivo` and `descarga_archivo`:
// they are no longer listed nor sent to the tablet, stay in the database (and so in its backups)
// and can be brought back whole. A trip's pen rows go with it once no row of its number is left
// in the plan (a number planned again on a later day keeps them).
namespace ArchivoViajes {

struct Resultado {
    int viajes = 0; // distinct trip numbers moved
    int filasPlan = 0;
    int filasCorrales = 0;
    std::optional<ErrorBD> error; // then nothing moved
};

// Every loading row dated before `antes`.
Resultado archivar(const QDate& antes);
// Everything archived, back into the plan.
Resultado recuperar();
// What the archive holds now.
Resultado archivados();

// "Se archivaron 12 viajes anteriores al 01/12/2026 (96 filas del plan, 24 de corrales)."
QString resumenArchivo(const Resultado& r, const QDate& antes);
// "Se recuperaron 12 viajes del archivo (96 filas del plan, 24 de corrales)."
QString resumenRecuperacion(const Resultado& r);

} // namespace ArchivoViajes
