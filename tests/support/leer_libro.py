"""Reads a workbook with openpyxl, a reader independent of the program, and prints what a
spreadsheet program would see as JSON: sheet names, every cell of the first sheet with its kind
(texto, numero, fecha, hora, formula) or null when the sheet holds no cell there, the header's
looks, the frozen pane, the autofilter and the column widths; the cells of the other sheets in
"otrasHojas", by name."""
import datetime
import json
import re
import sys
import zipfile

import openpyxl
from openpyxl.utils import get_column_letter

ruta = sys.argv[1]
libro = openpyxl.load_workbook(ruta)
hoja = libro.worksheets[0]
with zipfile.ZipFile(ruta) as z:
    xmls = [z.read("xl/worksheets/sheet%d.xml" % (i + 1)).decode("utf-8") for i in range(len(libro.worksheets))]
xml = xmls[0]


def celdas(i):
    h = libro.worksheets[i]
    presentes = set(re.findall(r'<c r="([A-Z]+[0-9]+)"', xmls[i]))
    return [[celda(c, presentes) for c in fila]
            for fila in h.iter_rows(min_row=1, max_row=h.max_row, max_col=h.max_column)]


def celda(c, presentes):
    if c.coordinate not in presentes:
        return None
    v = c.value
    if c.data_type == "f":
        tipo, valor = "formula", str(v)
    elif isinstance(v, datetime.datetime):
        tipo, valor = "fecha", v.strftime("%Y-%m-%d") if v.time() == datetime.time(0) else v.isoformat()
    elif isinstance(v, datetime.time):
        tipo, valor = "hora", v.strftime("%H:%M:%S")
    elif isinstance(v, (int, float)) and not isinstance(v, bool):
        tipo, valor = "numero", float(v)
    elif isinstance(v, str):
        tipo, valor = "texto", v
    else:
        tipo, valor = "otro", repr(v)
    return {
        "tipo": tipo,
        "valor": valor,
        "formato": c.number_format,
        "negrita": bool(c.font and c.font.b),
        "alineacion": c.alignment.horizontal if c.alignment else None,
        "relleno": c.fill.fgColor.rgb if c.fill is not None and c.fill.fill_type == "solid" else None,
    }


print(json.dumps({
    "hojas": libro.sheetnames,
    "filas": celdas(0),
    "otrasHojas": {libro.sheetnames[i]: celdas(i) for i in range(1, len(libro.worksheets))},
    "congelado": hoja.freeze_panes,
    "filtro": hoja.auto_filter.ref,
    "anchos": [hoja.column_dimensions[get_column_letter(i)].width for i in range(1, hoja.max_column + 1)],
    "formulas": xml.count("<f>") + xml.count("<f "),
}, ensure_ascii=False))
