-- Remote tables of the web service, as the desktop program and the tablet use them.
-- Amounts (kg, porc, kg_sug, kg_real) and times (hora) are kept as the text that was sent: the program
-- sends kilograms in the user's regional form ("12,5") and shares with a point ("12.5"), and a text
-- column keeps exactly that, so a check can tell one from the other and see every row as it arrived.
-- Dates are DATE, as the statements compare them with '20240101' and with 20240115.
-- No keys on the programme tables: every row that is sent is kept, duplicates included.
-- Names (recipes, feeds, operators, pens) are TEXT: the local columns are unbounded text and the
-- editors take a name of any length, so no VARCHAR width would hold every name they accept. TEXT
-- holds 65,535 bytes, at least 16,383 characters in utf8mb4; MariaDB refuses a longer value
-- ("Data too long"), and the program then shows that reason under its message.

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
    receta TEXT,
    id_alim INT,
    alimento TEXT,
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
    corral TEXT,
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
    Nick TEXT,
    Clave TEXT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS Alimentos (
    Cliente INT,
    Id INT,
    Descripcion TEXT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS lectura_carga_tracker (
    cliente INT,
    fecha DATE,
    hora VARCHAR(8),
    receta TEXT,
    id_alim INT,
    alimento TEXT,
    kg_real VARCHAR(32),
    Operario INT,
    kg_sug VARCHAR(32)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS lectura_descarga_tracker (
    cliente INT,
    fecha DATE,
    hora VARCHAR(8),
    corral TEXT,
    kg_sug VARCHAR(32),
    kg_real VARCHAR(32)
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_unicode_ci;
