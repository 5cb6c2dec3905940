#include "ui/Dialogos.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

#include <cstdio>

namespace Dialogos {

namespace {
bool g_prueba = false;
bool g_eco = false;
QQueue<Respuesta> g_respuestas;
QQueue<QString> g_rutas;
QList<Mensaje> g_mostrados;
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
        if (g_eco)
            std::fprintf(stderr, "%s: %s\n", qPrintable(m.titulo), qPrintable(m.texto));
        if (!g_respuestas.isEmpty())
            return g_respuestas.dequeue();
        return m.botones == Botones::SiNo ? Respuesta::Si : Respuesta::Ok;
    }
    QMessageBox caja(icono(m.icono), m.titulo, m.texto, QMessageBox::NoButton, padre);
    if (m.botones == Botones::SiNo) {
        caja.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QAbstractButton* no = caja.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        caja.exec();
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
}

} // namespace Dialogos
