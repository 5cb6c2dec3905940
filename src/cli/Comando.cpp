// The declaration of a command of tolvaro-cli, its help and its parser.
#include "cli/Comando.h"

#include <algorithm>

namespace {

// Where the later lines of a usage form begin: under the arguments of "Uso: tolvaro-cli ".
constexpr qsizetype kSangriaUso = 17;

// "--nombre VALOR" as the help shows an option.
QString comoSeEscribe(const QCommandLineOption& o) {
    QString texto = QStringLiteral("--") + o.names().constLast();
    if (!o.valueName().isEmpty())
        texto += u' ' + o.valueName();
    return texto;
}

} // namespace

Comando::Comando(const char* nombre, const char* resumen, bool usaBase)
    : nombre_(QString::fromUtf8(nombre)), resumen_(QString::fromUtf8(resumen)), usaBase_(usaBase) {}

void Comando::uso(const QStringList& lineas) {
    usos_ << lineas;
}

void Comando::describir(const QString& texto) {
    descripcion_ = texto;
}

void Comando::opciones(const QList<QCommandLineOption>& nuevas) {
    opciones_ << nuevas;
}

void Comando::posicional(const QString& nombre, const QString& descripcion, const QString& sintaxis) {
    posicionales_ << Posicional{nombre, descripcion, sintaxis};
}

QString Comando::ayuda() const {
    QString texto;
    const QString orden = QStringLiteral("tolvaro-cli [--datos CARPETA] ") + nombre_ + u' ';
    for (qsizetype i = 0; i < usos_.size(); ++i)
        for (qsizetype j = 0; j < usos_[i].size(); ++j) {
            if (j > 0)
                texto += QString(kSangriaUso, u' ');
            else
                texto += (i == 0 ? QStringLiteral("Uso: ") : QStringLiteral("     ")) + orden;
            texto += usos_[i][j] + u'\n';
        }
    if (!descripcion_.isEmpty())
        texto += u'\n' + descripcion_;

    // One line for each argument and option, their descriptions in one column.
    QList<std::pair<QString, QString>> lineas;
    for (const Posicional& p : posicionales_)
        lineas.append({p.nombre, p.descripcion});
    for (const QCommandLineOption& o : opciones_)
        lineas.append({comoSeEscribe(o), o.description()});
    if (lineas.isEmpty())
        return texto;
    qsizetype ancho = 0;
    for (const auto& [izquierda, derecha] : lineas)
        ancho = std::max(ancho, izquierda.size());
    const QString sangria(2 + ancho + 2, u' ');
    texto += u'\n';
    for (const auto& [izquierda, derecha] : lineas)
        texto += QStringLiteral("  ") + izquierda.leftJustified(ancho) + QStringLiteral("  ") +
                 QString(derecha).replace(u'\n', u'\n' + sangria) + u'\n';
    return texto;
}

std::optional<int> Comando::leerArgumentos(const QStringList& args, QCommandLineParser& opciones,
                                           QTextStream& salida, QTextStream& errores) const {
    const QCommandLineOption verAyuda({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("muestra esta ayuda"));
    opciones.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    opciones.addOption(verAyuda);
    opciones.addOptions(opciones_);
    for (const Posicional& p : posicionales_)
        opciones.addPositionalArgument(p.nombre, p.descripcion, p.sintaxis);
    const bool leidos = opciones.parse(QStringList{nombre_} + args);
    if (opciones.isSet(verAyuda)) {
        salida << ayuda();
        return 0;
    }
    if (leidos)
        return std::nullopt;
    // The parser stops at an unknown option or at a value option without its value (the last one).
    const QStringList desconocidas = opciones.unknownOptionNames();
    if (!desconocidas.isEmpty())
        errores << "Opción desconocida: " << (desconocidas.first().size() > 1 ? "--" : "-")
                << desconocidas.first();
    else
        errores << "Falta el valor de " << args.last();
    errores << Qt::endl << ayuda();
    return 2;
}
