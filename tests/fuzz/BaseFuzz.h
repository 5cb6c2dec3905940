#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// What every harness needs once before its first input: a Qt application object (the SQL driver
// is a plugin) and, for those that look operators up, a database of their own in a temporary
// folder with operators 1 to 3.
namespace BaseFuzz {
void iniciarQt(int* argc, char*** argv);
void abrirBaseConOperarios();

// Stops the run with a message when a property fails: libFuzzer keeps the input that did it.
[[noreturn]] void fallar(const QString& que);
} // namespace BaseFuzz
