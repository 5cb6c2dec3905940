#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct st_mysql;

// What a statement gave: a result set (columns and rows of text, NULL as nullopt) or, for a statement
// without one, the affected rows; or the server's error.
struct ResultadoSql {
    bool ok = false;
    bool conFilas = false;
    std::vector<std::string> columnas;
    std::vector<std::vector<std::optional<std::string>>> filas;
    unsigned long long afectadas = 0;
    unsigned int numeroError = 0;
    std::string error;
};

// The remote database, reached through the server's unix socket with the MariaDB client library and
// spoken to in utf8mb4. Values come back as the text the server sends, as the web-service script
// receives them. One connection, used by one request at a time.
class BaseRemota {
public:
    BaseRemota(std::string socket, std::string base);
    ~BaseRemota();
    BaseRemota(const BaseRemota&) = delete;
    BaseRemota& operator=(const BaseRemota&) = delete;

    // Opens the connection; on failure the message is in error().
    bool conectar();
    const std::string& error() const { return error_; }

    // Runs one statement, as the script does with each request.
    ResultadoSql ejecutar(const std::string& sql);
    // Runs a script of several statements separated by ";" (table creation, seeds); stops at the first
    // failing one and returns false with its message in error().
    bool ejecutarGuion(const std::string& guion);

private:
    st_mysql* abrir(bool variasSentencias);
    ResultadoSql ejecutarUnaVez(const std::string& sql);

    std::string socket_;
    std::string base_;
    std::string usuario_;
    std::string error_;
    st_mysql* con_ = nullptr;
    std::mutex mutex_;
};
