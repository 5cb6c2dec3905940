#include "BaseRemota.h"

#include <errmsg.h>
#include <mysql.h>
#include <pwd.h>
#include <unistd.h>

namespace {

// The private server authenticates the user of the process through the socket.
std::string usuarioDelProceso() {
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return pw->pw_name;
    return "root";
}

} // namespace

BaseRemota::BaseRemota(std::string socket, std::string base)
    : socket_(std::move(socket)), base_(std::move(base)), usuario_(usuarioDelProceso()) {}

BaseRemota::~BaseRemota() {
    if (con_)
        mysql_close(con_);
}

st_mysql* BaseRemota::abrir(bool variasSentencias) {
    MYSQL* con = mysql_init(nullptr);
    if (!con) {
        error_ = "sin memoria para la conexión";
        return nullptr;
    }
    mysql_optionsv(con, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const unsigned long banderas = variasSentencias ? CLIENT_MULTI_STATEMENTS : 0;
    if (!mysql_real_connect(con, nullptr, usuario_.c_str(), nullptr, base_.c_str(), 0, socket_.c_str(),
                            banderas)) {
        error_ = mysql_error(con);
        mysql_close(con);
        return nullptr;
    }
    return con;
}

bool BaseRemota::conectar() {
    std::lock_guard bloqueo(mutex_);
    if (con_)
        return true;
    con_ = abrir(false);
    return con_ != nullptr;
}

ResultadoSql BaseRemota::ejecutar(const std::string& sql) {
    std::lock_guard bloqueo(mutex_);
    ResultadoSql r = ejecutarUnaVez(sql);
    // A server restarted or a connection timed out: open a new one and try once more.
    if (!r.ok && (r.numeroError == CR_SERVER_GONE_ERROR || r.numeroError == CR_SERVER_LOST)) {
        mysql_close(con_);
        con_ = abrir(false);
        r = ejecutarUnaVez(sql);
    }
    return r;
}

ResultadoSql BaseRemota::ejecutarUnaVez(const std::string& sql) {
    ResultadoSql r;
    if (!con_) {
        con_ = abrir(false);
        if (!con_) {
            r.numeroError = CR_CONNECTION_ERROR;
            r.error = error_;
            return r;
        }
    }
    if (mysql_real_query(con_, sql.data(), sql.size()) != 0) {
        r.numeroError = mysql_errno(con_);
        r.error = mysql_error(con_);
        return r;
    }
    MYSQL_RES* res = mysql_store_result(con_);
    if (!res) {
        if (mysql_field_count(con_) != 0) {
            r.numeroError = mysql_errno(con_);
            r.error = mysql_error(con_);
            return r;
        }
        r.ok = true;
        r.afectadas = mysql_affected_rows(con_);
        return r;
    }
    r.ok = true;
    r.conFilas = true;
    const unsigned int n = mysql_num_fields(res);
    const MYSQL_FIELD* campos = mysql_fetch_fields(res);
    for (unsigned int i = 0; i < n; ++i)
        r.columnas.emplace_back(campos[i].name, campos[i].name_length);
    while (MYSQL_ROW fila = mysql_fetch_row(res)) {
        const unsigned long* largos = mysql_fetch_lengths(res);
        auto& f = r.filas.emplace_back();
        f.reserve(n);
        for (unsigned int i = 0; i < n; ++i) {
            if (fila[i])
                f.emplace_back(std::string(fila[i], largos[i]));
            else
                f.emplace_back(std::nullopt);
        }
    }
    mysql_free_result(res);
    return r;
}

bool BaseRemota::ejecutarGuion(const std::string& guion) {
    std::lock_guard bloqueo(mutex_);
    MYSQL* con = abrir(true);
    if (!con)
        return false;
    bool ok = mysql_real_query(con, guion.data(), guion.size()) == 0;
    while (ok) {
        if (MYSQL_RES* res = mysql_store_result(con))
            mysql_free_result(res);
        const int siguiente = mysql_next_result(con);
        if (siguiente == -1)
            break;
        ok = siguiente == 0;
    }
    if (!ok)
        error_ = mysql_error(con);
    mysql_close(con);
    return ok;
}
