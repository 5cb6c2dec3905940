-- Faults on demand, for tests of the program's error paths: a statement that contains `patron`
-- (exact, case-sensitive) is not run and is answered with `estado` and `cuerpo`.
CREATE DATABASE IF NOT EXISTS nremoto_control CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE TABLE IF NOT EXISTS nremoto_control.fallas (
    patron VARCHAR(255) NOT NULL,
    estado INT NOT NULL DEFAULT 500,
    cuerpo TEXT
) DEFAULT CHARSET = utf8mb4 COLLATE = utf8mb4_bin;
