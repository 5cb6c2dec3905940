#include "costos/CatalogoAlimentos.h"

#include "link/ProgramaDirecto.h"

#include <QSqlQuery>

std::optional<ErrorBD> CatalogoAlimentos::cargar(QSqlDatabase db, CatalogoAlimentos* catalogo) {
    *catalogo = {};
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select id, descripcion from alimentos where id is not null order by id")))
        return errorDe(q.lastError());
    while (q.next()) {
        const Alimento a{q.value(0).toInt(), q.value(1).toString().trimmed()};
        catalogo->porId_.insert(a.id, catalogo->alimentos_.size());
        catalogo->alimentos_ << a;
        const QString clave = plegar(a.nombre);
        if (!catalogo->porNombre_.contains(clave))
            catalogo->porNombre_.insert(clave, a.id);
    }
    return std::nullopt;
}

std::optional<int> CatalogoAlimentos::buscar(const QString& nombreHistorial) const {
    const auto it = porNombre_.constFind(plegar(nombreHistorial));
    if (it == porNombre_.cend())
        return std::nullopt;
    return *it;
}

QString CatalogoAlimentos::nombre(int id) const {
    const qsizetype i = posicion(id);
    return i < 0 ? QString() : alimentos_.at(i).nombre;
}

QString CatalogoAlimentos::plegar(const QString& nombre) {
    // As the upload sends it (accents and ñ folded, a single quote as "´"), then without case.
    return ProgramaDirecto::plegarAcentos(ProgramaDirecto::valorPlano(nombre.trimmed())).toCaseFolded();
}
