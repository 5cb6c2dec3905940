#include "ServidorHttp.h"

#include "FlujoSocket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

bool ServidorHttp::process_and_close_socket(socket_t sock) {
    FlujoSocket flujo(sock, read_timeout_sec_, write_timeout_sec_);
    bool ok = true;
    // Keep-alive as the library does it: a bounded number of requests per connection, each awaited for
    // a bounded time, and none once the server is stopping.
    for (size_t resto = keep_alive_max_count_; resto > 0 && is_running(); --resto) {
        if (!esperarPedido(flujo))
            break;
        bool cerrada = false;
        ok = process_request(flujo, resto == 1, cerrada,
                             [&](httplib::Request& req) { leerCuerpoDeGet(flujo, req, cerrada); });
        if (!ok || cerrada)
            break;
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

bool ServidorHttp::esperarPedido(const FlujoSocket& flujo) const {
    // In short slices, so that stopping the server does not wait for idle connections.
    for (time_t t = 0; t < keep_alive_timeout_sec_ * 10 && is_running(); ++t)
        if (flujo.esperarLecturaMs(100))
            return true;
    return false;
}

void ServidorHttp::leerCuerpoDeGet(httplib::Stream& flujo, httplib::Request& req, bool& cerrarConexion) {
    if (req.method != "GET" || !req.has_header("Content-Length"))
        return;
    const std::string texto = req.get_header_value("Content-Length");
    char* finNumero = nullptr;
    const unsigned long long largo = std::strtoull(texto.c_str(), &finNumero, 10);
    if (texto.empty() || *finNumero != '\0' || largo > payload_max_length_) {
        req.set_header(kCabeceraCuerpoIncompleto, "1");
        cerrarConexion = true;
        return;
    }
    if (req.get_header_value("Expect") == "100-continue") {
        flujo.write("HTTP/1.1 100 Continue\r\n\r\n");
        // The library would answer it again after this step.
        req.headers.erase("Expect");
    }
    req.body.reserve(static_cast<size_t>(largo));
    char trozo[8192];
    while (req.body.size() < largo) {
        const size_t falta = static_cast<size_t>(largo) - req.body.size();
        const ssize_t n = flujo.read(trozo, std::min(falta, sizeof trozo));
        if (n <= 0) {
            req.set_header(kCabeceraCuerpoIncompleto, "1");
            cerrarConexion = true;
            return;
        }
        req.body.append(trozo, static_cast<size_t>(n));
    }
}
