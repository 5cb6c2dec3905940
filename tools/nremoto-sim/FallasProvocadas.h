#pragma once

#include "BaseRemota.h"

#include <optional>
#include <string>

// A reply chosen by a test in place of running the statement (table nremoto_control.fallas).
struct FallaProvocada {
    int estado = 500;
    std::string cuerpo;
};

// The first fault whose pattern the statement contains, if any. Without the control table there are
// no faults.
std::optional<FallaProvocada> fallaPara(BaseRemota& base, const std::string& sql);
