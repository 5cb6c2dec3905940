#include "FallasProvocadas.h"

std::optional<FallaProvocada> fallaPara(BaseRemota& base, const std::string& sql) {
    const ResultadoSql r = base.ejecutar("select patron, estado, cuerpo from nremoto_control.fallas");
    if (!r.ok)
        return std::nullopt;
    for (const auto& f : r.filas) {
        if (f[0] && !f[0]->empty() && sql.find(*f[0]) != std::string::npos)
            return FallaProvocada{f[1] ? std::stoi(*f[1]) : 500, f[2].value_or(std::string())};
    }
    return std::nullopt;
}
