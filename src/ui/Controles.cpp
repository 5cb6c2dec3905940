#include "ui/Controles.h"

#include "ui/Accesible.h"
#include "ui/CajaFecha.h"
#include "ui/ComboEditable.h"
#include "ui/EntradaFechaHora.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Controles {

QGroupBox* marco(const char* nombre, const QString& titulo, QWidget* padre, const QRect& donde) {
    auto* g = new QGroupBox(titulo, padre);
    g->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        g->setGeometry(donde);
    return g;
}

QLabel* etiqueta(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        l->setGeometry(donde);
    return l;
}

QPushButton* boton(const char* nombre, const QString& texto, QWidget* padre, const QRect& donde) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        b->setGeometry(donde);
    b->setAutoDefault(false);
    Accesible::boton(b);
    return b;
}

QLineEdit* caja(const char* nombre, QLabel* rotulo, QWidget* padre, const QRect& donde) {
    auto* t = new QLineEdit(padre);
    t->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        t->setGeometry(donde);
    Accesible::conEtiqueta(t, rotulo);
    return t;
}

ComboEditable* combo(const char* nombre, QLabel* rotulo, QWidget* padre, const QRect& donde) {
    auto* c = new ComboEditable(padre);
    c->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        c->setGeometry(donde);
    Accesible::conEtiqueta(c, rotulo);
    return c;
}

CajaFecha* fecha(const char* nombre, const QDate& valor, QLabel* rotulo, QWidget* padre, const QRect& donde) {
    auto* d = new CajaFecha(valor, padre);
    d->setObjectName(QString::fromLatin1(nombre));
    if (donde.isValid())
        d->setGeometry(donde);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    Accesible::conEtiqueta(d, rotulo);
    EntradaFechaHora::desdeElPrincipio(d);
    return d;
}

} // namespace Controles
