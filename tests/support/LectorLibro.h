#pragma once

#include <QJsonObject>
#include <QString>

// A workbook as an independent reader sees it (openpyxl under Debian's /usr/bin/python3, see
// leer_libro.py): {"hojas", "filas" (cells with "tipo"/"valor"/"formato"/"negrita"/"alineacion",
// null where no cell), "congelado", "filtro", "anchos", "formulas"}. Empty with `error` set when
// the reader cannot run or cannot read the file.
namespace LectorLibro {
QJsonObject leer(const QString& archivo, QString* error = nullptr);
}
