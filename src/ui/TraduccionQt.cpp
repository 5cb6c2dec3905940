#include "ui/TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace TraduccionQt {

bool instalar(QCoreApplication* aplicacion) {
    const QString nombre = QStringLiteral("TraduccionQt");
    if (aplicacion->findChild<QTranslator*>(nombre, Qt::FindDirectChildrenOnly))
        return true;
    auto* traductor = new QTranslator(aplicacion);
    traductor->setObjectName(nombre);
    const QLocale espanol(QLocale::Spanish, QLocale::Argentina);
    if (!traductor->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    QCoreApplication::installTranslator(traductor);
    return true;
}

} // namespace TraduccionQt
