// tolvaro-lector-access: reads the Access file given on its standard input, all of it, and exits 0
// if it got to the end. The program asks it before reading a file itself, so that a file damaged in
// a way that brings libmdb down brings down only this small process.
#include "access/LecturaAislada.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile entrada;
    if (!entrada.open(stdin, QIODevice::ReadOnly))
        return 2;
    LecturaAislada::leerTodo(entrada.readAll());
    return 0;
}
