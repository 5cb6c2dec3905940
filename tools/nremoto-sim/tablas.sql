-- Remote tables of the web service, as the desktop program and the tablet use them.
-- Amounts (kg, porc, kg_sug, kg_real) and times (hora) are kept as the text that was sent: the program
-- sends kilograms in the user's regional form ("12,5") and shares with a point ("12.5"), and a text
-- column keeps exactly that, so a check can tell one from the other and see every row as it arrived.
-- Dates are DATE, as the statements compare them with '20240101' and with 20240115.
-- No keys on the programme tables: every row that is sent is kept, duplicates included.

CREATE TABLE IF NOT EXISTS clientes (
    id INT NOT NULL PRIMARY KEY,
    user VARCHAR(64) NOT NULL,
    password VARCHAR(64) NOT NULL
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Prg_Carga (
    cliente INT,
    fecha DATE,
    id_viaje INT,
    id_receta INT,
    receta VARCHAR(100),
    id_alim INT,
    alimento VARCHAR(100),
    kg VARCHAR(32),
    hora VARCHAR(8),
    base INT,
    orden INT,
    operario INT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Prg_Descarga (
    cliente INT,
    fecha DATE,
    id_viaje INT,
    id_receta INT,
    corral VARCHAR(50),
    porc VARCHAR(32),
    hora VARCHAR(8),
    base INT,
    orden INT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Prg_Viajes (
    Cliente INT,
    fecha DATE,
    id_viaje INT,
    id_receta INT,
    hora VARCHAR(8),
    estado INT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Operarios (
    Cliente INT,
    Id INT,
    Nick VARCHAR(50),
    Clave VARCHAR(50)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Alimentos (
    Cliente INT,
    Id INT,
    Descripcion VARCHAR(100)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS lectura_carga_tracker (
    cliente INT,
    fecha DATE,
    hora VARCHAR(8),
    receta VARCHAR(100),
    id_alim INT,
    alimento VARCHAR(100),
    kg_real VARCHAR(32),
    Operario INT,
    kg_sug VARCHAR(32)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS lectura_descarga_tracker (
    cliente INT,
    fecha DATE,
    hora VARCHAR(8),
    corral VARCHAR(50),
    kg_sug VARCHAR(32),
    kg_real VARCHAR(32)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;
