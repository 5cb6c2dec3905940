#pragma once

// Driving windows in tests: a control found by its name, and the answer to a modal window.
#include <QApplication>
#include <QTimer>
#include <QWidget>

// The control named `nombre` under the window; a missing one ends the test program, since every
// line after it would fail for the same reason.
template <typename T> T* control(const QWidget* ventana, const char* nombre) {
    T* c = ventana->findChild<T*>(QString::fromLatin1(nombre));
    if (!c)
        qFatal("falta el control %s", nombre);
    return c;
}
template <typename T> T* control(const QWidget& ventana, const char* nombre) {
    return control<T>(&ventana, nombre);
}

// Answers the modal window that the next action opens: as soon as the window's own event loop
// runs, `atender` gets the active modal window (null when none opened) to check and close it.
template <typename F> void alAbrirModal(QObject* contexto, F atender) {
    QTimer::singleShot(0, contexto, [atender] { atender(QApplication::activeModalWidget()); });
}
