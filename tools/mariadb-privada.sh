#!/usr/bin/env bash
# A private MariaDB server for tests and trials: data, socket, pid and log all live in DIR, no
# network port is opened, and the running user reaches it through the socket without a password.
#
#   mariadb-privada.sh start DIR   initialises DIR if needed, starts the server, creates the
#                                  database `tolvaro`, waits until it answers and prints the socket
#   mariadb-privada.sh stop DIR    stops the server of DIR and waits until it is gone
#
# With MARIADB_PRIVADA_DUENO=PID in the environment of "start", the server is also stopped once that
# process ends, so a test that crashes leaves no server behind.
#
# Several instances in different folders can run at once: each keeps everything it writes in its
# folder, temporary tables included (the server's default, /tmp, is shared by every instance on the
# machine, and two bootstraps naming their temporary tables alike made one fail). A step that fails
# anyway is tried again; when it fails for good, its log is printed on stderr.
set -euo pipefail

uso() {
    echo "uso: $0 start|stop DIR" >&2
    exit 2
}
[ $# -eq 2 ] || uso
accion=$1
yo="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
mkdir -p "$2"
dir=$(cd "$2" && pwd)
datos="$dir/data"
socket="$dir/mysql.sock"
pidfile="$dir/mariadbd.pid"
registro="$dir/mariadbd.log"
temporal="$dir/tmp"
usuario=$(id -un)
intentos=3

buscar() {
    for p in "$@"; do
        if command -v "$p" >/dev/null 2>&1; then
            command -v "$p"
            return 0
        fi
        for d in /usr/sbin /usr/bin /usr/local/sbin /usr/local/bin; do
            [ -x "$d/$p" ] && { echo "$d/$p"; return 0; }
        done
    done
    return 1
}

vivo() {
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

responde() {
    "$cliente" --no-defaults --socket="$socket" --user="$usuario" -N -e "select 1" >/dev/null 2>&1
}

case "$accion" in
start)
    servidor=$(buscar mariadbd mysqld) || { echo "mariadb-server no está instalado (falta mariadbd)" >&2; exit 3; }
    instalador=$(buscar mariadb-install-db mysql_install_db) || {
        echo "mariadb-server no está instalado (falta mariadb-install-db)" >&2
        exit 3
    }
    cliente=$(buscar mariadb mysql) || { echo "mariadb-client no está instalado (falta mariadb)" >&2; exit 3; }
    # A unix socket path holds at most 107 bytes.
    if [ ${#socket} -gt 100 ]; then
        echo "ruta de socket demasiado larga: $socket" >&2
        exit 2
    fi
    if vivo && responde; then
        echo "$socket"
        exit 0
    fi
    mkdir -p "$temporal"
    opciones=(--no-defaults --datadir="$datos" --tmpdir="$temporal" --user="$usuario"
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci
        --innodb-buffer-pool-size=16M --innodb-log-file-size=16M --skip-name-resolve
        --innodb-buffer-pool-dump-at-shutdown=0 --innodb-buffer-pool-load-at-startup=0)
    if [ ! -d "$datos/mysql" ]; then
        # The running user gets an account of its own (root when run as root), authenticated by the socket.
        for intento in $(seq 1 $intentos); do
            rm -rf "$datos" "$temporal"
            mkdir -p "$temporal"
            if "$instalador" "${opciones[@]}" --auth-root-authentication-method=socket \
                --auth-root-socket-user="$usuario" --skip-test-db >"$dir/install.log" 2>&1; then
                break
            fi
            echo "falló mariadb-install-db (intento $intento de $intentos); $dir/install.log:" >&2
            grep -v '^ *$' "$dir/install.log" | head -n 40 >&2 || true
            if [ "$intento" -eq $intentos ]; then
                rm -rf "$datos"
                exit 1
            fi
            sleep 1
        done
    fi
    for intento in $(seq 1 $intentos); do
        rm -f "$socket" "$pidfile"
        # Detached from the caller's terminal and pipes so that a caller waiting for this script's
        # output is not held by the server.
        setsid "$servidor" "${opciones[@]}" --skip-networking --socket="$socket" --pid-file="$pidfile" \
            --log-error="$registro" </dev/null >>"$registro" 2>&1 &
        arrancado=$!
        for _ in $(seq 1 600); do
            if [ -S "$socket" ] && responde; then
                break
            fi
            # A server that has ended will not answer: no use waiting out the minute.
            kill -0 "$arrancado" 2>/dev/null || break
            sleep 0.1
        done
        if responde; then
            break
        fi
        echo "el servidor MariaDB no respondió (intento $intento de $intentos); $registro:" >&2
        tail -n 40 "$registro" >&2 || true
        kill -KILL "$arrancado" 2>/dev/null || true
        wait "$arrancado" 2>/dev/null || true
        if [ "$intento" -eq $intentos ]; then
            exit 1
        fi
        sleep 1
    done
    if [ -n "${MARIADB_PRIVADA_DUENO:-}" ]; then
        dueno=$MARIADB_PRIVADA_DUENO
        pid=$(cat "$pidfile")
        setsid bash -c 'while kill -0 "$1" 2>/dev/null && kill -0 "$2" 2>/dev/null; do sleep 1; done
            kill -0 "$2" 2>/dev/null && exec bash "$3" stop "$4"' vigia "$dueno" "$pid" "$yo" "$dir" \
            </dev/null >/dev/null 2>&1 &
    fi
    "$cliente" --no-defaults --socket="$socket" --user="$usuario" \
        -e "CREATE DATABASE IF NOT EXISTS tolvaro CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"
    echo "$socket"
    ;;
stop)
    if ! [ -f "$pidfile" ]; then
        exit 0
    fi
    pid=$(cat "$pidfile")
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
    ;;
*)
    uso
    ;;
esac
