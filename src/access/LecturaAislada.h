#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

// libmdb trusts what it reads: a damaged page list or catalogue can make it read outside the file
// and bring the whole program down with it. Before the file is read in this process, a small
// program of ours (`tolvaro-lector-access`) reads all of it, every table and every row, and only a
// file it got through is read here: libmdb gives the same bytes the same path.
namespace LecturaAislada {

enum class Resultado {
    Leida,     // the reader got to the end (the file may still be refused, with its own reason)
    Detenida,  // the reader crashed or did not finish in time: the file is damaged
    Cancelada, // `cancelar` was set while it ran
};

// Hands `datos` to the reader on its standard input and waits for it, checking `cancelar` every
// 100 ms. Without the reader program (a build that lacks it) the file counts as read.
Resultado comprobar(const QByteArray& datos, const std::atomic_bool* cancelar = nullptr);

// The reader's own work: opens `datos` and reads every row of every table, whatever they hold.
void leerTodo(QByteArray datos);

// Where the reader program is: beside this program, in lib/tolvaro of an installed one, or in the
// build tree. Empty when none is.
QString programa();

} // namespace LecturaAislada
