#!/usr/bin/env python3
"""Packs PNG images into one Windows icon (.ico): ico.py SALIDA.ico IMAGEN.png..."""
import struct
import sys


def main():
    salida, imagenes = sys.argv[1], sys.argv[2:]
    datos = [open(ruta, 'rb').read() for ruta in imagenes]
    cabecera = struct.pack('<HHH', 0, 1, len(datos))
    entradas = b''
    desplazamiento = 6 + 16 * len(datos)
    for png in datos:
        ancho, alto = struct.unpack('>II', png[16:24])  # the PNG's IHDR
        # 256 is written as 0, as the format says.
        entradas += struct.pack('<BBBBHHII', ancho % 256, alto % 256, 0, 0, 1, 32, len(png), desplazamiento)
        desplazamiento += len(png)
    with open(salida, 'wb') as f:
        f.write(cabecera + entradas + b''.join(datos))


if __name__ == '__main__':
    main()
