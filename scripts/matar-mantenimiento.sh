#!/usr/bin/env bash
# Kills tolvaro-cli with SIGKILL at random instants of a backup, a restore and an import (VECES
# each, default 30) and checks after every kill that base.db is the old database or the new one,
# whole (the same bytes as one of the two, or for an import a sound database holding the file's
# recipes and the whole history), and that every backup archive left under its name expands.
# After each series, one more operation must leave no hidden temporary file in the folders the
# killed ones touched. Not part of CTest: it takes minutes.
#
#   scripts/matar-mantenimiento.sh [VECES]          CLI=build-test/src/cli/tolvaro-cli by default
set -euo pipefail
cd "$(dirname "$0")/.."
veces=${1:-30}
cli=$(realpath "${CLI:-build-test/src/cli/tolvaro-cli}")
mdb=$(realpath tests/fixtures/legacy/base.mdb)
for p in sqlite3 cabextract; do
    command -v "$p" >/dev/null || { echo "matar-mantenimiento.sh: falta $p" >&2; exit 2; }
done
[ -x "$cli" ] || { echo "matar-mantenimiento.sh: no existe $cli" >&2; exit 2; }

trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT
datos=$trabajo/datos
copias=$trabajo/copias
mkdir -p "$datos" "$copias"
base=$datos/base.db
fallas=0

falla() {
    echo "FALLA: $*" >&2
    fallas=$((fallas + 1))
}

sana() {
    # Opened as the program opens it: a journal a kill left behind is rolled back first.
    [ "$(sqlite3 "$1" 'pragma integrity_check' 2>&1)" = ok ]
}

sinRestos() {
    local restos
    restos=$(find "$@" -maxdepth 1 -name '.*' ! -name . 2>/dev/null || true)
    [ -z "$restos" ] || falla "quedaron restos: $restos"
}

# Runs the command in the background and kills it after a random time around `duracion` ms.
matar() {
    local duracion=$1
    shift
    "$cli" "$@" >/dev/null 2>&1 &
    local pid=$!
    # Half of the kills anywhere, half around the end, where the old file gives way to the new.
    local azar=$((RANDOM * 32768 + RANDOM))
    local espera=$((azar % (duracion + 1)))
    [ $((RANDOM % 2)) -eq 0 ] && espera=$((duracion * 85 / 100 + azar % (duracion * 30 / 100 + 1)))
    sleep "$(printf '%d.%03d' $((espera / 1000)) $((espera % 1000)))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# How long a command takes, in ms.
medir() {
    local inicio fin
    inicio=$(date +%s%N)
    "$cli" "$@" >/dev/null
    fin=$(date +%s%N)
    echo $(((fin - inicio) / 1000000))
}

# A database worth waiting for: the fixture's farm and 100,000 events.
"$cli" --datos "$datos" importar "$mdb" >/dev/null
sqlite3 "$base" "with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000)
  insert into historial_sucesos (tipo, fecha, hora, receta_corral, alimento, kg_sugerido, kg_real, operario)
  select 'CARGA', '2026-01-01', printf('%02d:%02d', i % 24, i % 60), 'Receta ' || (i % 50),
         'Alimento ' || (i % 70), i * 1.5, i * 1.4, 'Operario ' || (i % 9) from n;"
cp "$base" "$trabajo/nueva.db"
sqlite3 "$base" "delete from historial_sucesos where id % 1000 = 0;"
cp "$base" "$trabajo/vieja.db"
cp "$trabajo/nueva.db" "$base"
nueva=$(md5sum <"$trabajo/nueva.db")
vieja=$(md5sum <"$trabajo/vieja.db")
eventos=$(sqlite3 "$trabajo/vieja.db" 'select count(*) from historial_sucesos')
total=$(sqlite3 "$trabajo/nueva.db" 'select count(*) from historial_sucesos')

# ---- Backup: base.db stays sound with its data; an archive under its name is whole.
duracion=$(medir --datos "$datos" respaldar --carpeta "$copias")
archivo=$(ls "$copias"/BD_*.cab | head -n 1)
cp "$archivo" "$trabajo/respaldo.cab"
rm -f "$copias"/BD_*.cab
echo "respaldo: $duracion ms"
for ((i = 0; i < veces; i++)); do
    matar "$duracion" --datos "$datos" respaldar --carpeta "$copias"
    # A finished backup records itself in the database; its data stays as it was.
    sana "$base" || falla "respaldo $i dejó base.db dañada"
    [ "$(sqlite3 -readonly "$base" 'select count(*) from historial_sucesos')" = "$total" ] ||
        falla "respaldo $i cambió los datos de base.db"
    for a in "$copias"/BD_*.cab; do
        [ -e "$a" ] || continue
        cabextract -t "$a" >/dev/null 2>&1 || falla "respaldo $i dejó $a dañado"
        rm -f "$a"
    done
done
"$cli" --datos "$datos" respaldar --carpeta "$copias" >/dev/null || falla "el respaldo siguiente falló"
sinRestos "$copias" "$datos"

# ---- Restore: base.db is the old one or the archive's, whole.
cp "$trabajo/vieja.db" "$base"
duracion=$(medir --datos "$datos" recuperar "$trabajo/respaldo.cab")
echo "recuperación: $duracion ms"
antes=0
despues=0
for ((i = 0; i < veces; i++)); do
    cp "$trabajo/vieja.db" "$base"
    matar "$duracion" --datos "$datos" recuperar "$trabajo/respaldo.cab"
    suma=$(md5sum <"$base")
    if [ "$suma" = "$vieja" ]; then
        antes=$((antes + 1))
    elif [ "$suma" = "$nueva" ]; then
        despues=$((despues + 1))
    else
        falla "recuperación $i dejó otra base.db"
    fi
    rm -f "$base".anterior*
done
echo "  muertas con la base vieja: $antes, con la nueva: $despues"
"$cli" --datos "$datos" recuperar "$trabajo/respaldo.cab" >/dev/null || falla "la recuperación siguiente falló"
sinRestos "$datos"
rm -f "$base".anterior*

# ---- Import: base.db is the old one, or the file's farm with the whole history kept.
cp "$trabajo/vieja.db" "$base"
duracion=$(medir --datos "$datos" importar "$mdb" --reemplazar)
echo "importación: $duracion ms"
antes=0
despues=0
for ((i = 0; i < veces; i++)); do
    cp "$trabajo/vieja.db" "$base"
    matar "$duracion" --datos "$datos" importar "$mdb" --reemplazar
    if [ "$(md5sum <"$base")" = "$vieja" ]; then
        antes=$((antes + 1))
    else
        despues=$((despues + 1))
        sana "$base" || falla "importación $i dejó base.db dañada"
        [ "$(sqlite3 -readonly "$base" 'select (select count(*) from recetas) || char(47) || (select count(*) from historial_sucesos)' 2>&1)" = "3/$eventos" ] ||
            falla "importación $i dejó una base.db a medias"
    fi
    rm -f "$base".anterior*
done
echo "  muertas con la base vieja: $antes, con la nueva: $despues"
"$cli" --datos "$datos" importar "$mdb" --reemplazar >/dev/null || falla "la importación siguiente falló"
sinRestos "$datos"

if [ "$fallas" -gt 0 ]; then
    echo "$fallas fallas" >&2
    exit 1
fi
echo "ok: $veces interrupciones de cada operación, ninguna base perdida ni restos"
