#pragma once

#include <httplib.h>

class FlujoSocket;

// An HTTP server that also reads the body of a GET request. The web-service script receives each SQL
// statement as the body of a GET; this version of the library only reads bodies of POST, PUT, PATCH and
// DELETE and would take a GET body for the start of the next request. Parsing, routing and answering
// stay the library's: this class only supplies the connection stream and, between the headers and the
// routing, takes the Content-Length bytes of a GET into the request body.
class ServidorHttp : public httplib::Server {
private:
    bool process_and_close_socket(socket_t sock) override;
    bool esperarPedido(const FlujoSocket& flujo) const;
    void leerCuerpoDeGet(httplib::Stream& flujo, httplib::Request& req, bool& cerrarConexion);
};

// Marks a request whose GET body could not be read whole (the connection is closed after answering).
inline constexpr const char* kCabeceraCuerpoIncompleto = "X-Nremoto-Cuerpo-Incompleto";
