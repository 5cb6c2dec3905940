#include "ui/Dialogos.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

#include <cstdio>
#include <utility>

namespace Dialogos {

namespace {
bool g_prueba = false;
bool g_eco = false;
QQueue<Respuesta> g_respuestas;
QQueue<QString> g_rutas;
QList<Mensaje> g_mostrados;
std::function<void()> g_alMostrar;
QStringList g_dialogos;

QMessageBox::Icon icono(Icono i) {
    switch (i) {
    case Icono::Informacion:
        return QMessageBox::Information;
    case Icono::Exclamacion:
        return QMessageBox::Warning;
    case Icono::Critico:
        return QMessageBox::Critical;
    case Icono::Pregunta:
        return QMessageBox::Question;
    case Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

QString rutaDePrueba(const QString& titulo) {
    g_dialogos << titulo;
    return g_rutas.isEmpty() ? QString() : g_rutas.dequeue();
}
} // namespace

Respuesta mostrar(QWidget* padre, const Mensaje& m) {
    if (g_prueba) {
        g_mostrados << m;
        if (g_alMostrar)
            std::exchange(g_alMostrar, nullptr)();
        if (g_eco)
            // UTF-8 as on Linux: the system's code page would mangle accents on Windows.
            std::fprintf(stderr, "%s: %s\n", m.titulo.toUtf8().constData(), m.texto.toUtf8().constData());
        if (!g_respuestas.isEmpty())
            return g_respuestas.dequeue();
        return m.botones == Botones::Ok ? Respuesta::Ok : Respuesta::Si;
    }
    QMessageBox caja(icono(m.icono), m.titulo, m.texto, QMessageBox::NoButton, padre);
    if (m.botones != Botones::Ok) {
        caja.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QAbstractButton* no = caja.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        // Escape or the close box of a three-way question is "Cancelar"; of a yes/no one, "No".
        QAbstractButton* cancelar = m.botones == Botones::SiNoCancelar
                                        ? caja.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole)
                                        : nullptr;
        caja.setEscapeButton(cancelar ? cancelar : no);
        caja.exec();
        if (cancelar && caja.clickedButton() == cancelar)
            return Respuesta::Cancelar;
        return caja.clickedButton() == no ? Respuesta::No : Respuesta::Si;
    }
    caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    caja.exec();
    return Respuesta::Ok;
}

QString archivoGuardar(QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro,
                       bool preguntarSiExiste) {
    if (g_prueba)
        return rutaDePrueba(titulo);
    return QFileDialog::getSaveFileName(padre, titulo, carpeta, filtro, nullptr,
                                        preguntarSiExiste ? QFileDialog::Options()
                                                          : QFileDialog::DontConfirmOverwrite);
}

QString archivoAbrir(QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro) {
    if (g_prueba)
        return rutaDePrueba(titulo);
    return QFileDialog::getOpenFileName(padre, titulo, carpeta, filtro);
}

QString carpeta(QWidget* padre, const QString& titulo, const QString& inicial) {
    if (g_prueba)
        return rutaDePrueba(titulo);
    return QFileDialog::getExistingDirectory(padre, titulo, inicial);
}

void activarModoPrueba(bool activo, bool eco) {
    g_prueba = activo;
    g_eco = eco;
}
bool modoPrueba() {
    return g_prueba;
}
void encolarRespuesta(Respuesta r) {
    g_respuestas.enqueue(r);
}
void alMostrar(std::function<void()> accion) {
    g_alMostrar = std::move(accion);
}
void encolarRuta(const QString& ruta) {
    g_rutas.enqueue(ruta);
}
QList<Mensaje> mostrados() {
    return g_mostrados;
}
QStringList dialogosDeRuta() {
    return g_dialogos;
}

void limpiar() {
    g_respuestas.clear();
    g_rutas.clear();
    g_mostrados.clear();
    g_dialogos.clear();
    g_alMostrar = nullptr;
}

} // namespace Dialogos
