#pragma once

#include <QString>

// The tablet's address as typed: an IP address or host name (port 4999), or "host:port" for a
// tablet reached through port forwarding; "[v6]:port" for IPv6 with a port.
struct DireccionTablet {
    QString host;
    quint16 puerto = 4999;

    static constexpr quint16 kPuertoTablet = 4999;
    static DireccionTablet leer(const QString& texto);
    // "host:port" ("[v6]:port" for IPv6), as the user is told where the program connects.
    QString texto() const;
};
