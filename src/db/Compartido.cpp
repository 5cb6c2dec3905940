#include "db/Compartido.h"

QString Tabla_ABM;
