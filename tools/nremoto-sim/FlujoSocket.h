#pragma once

#include <httplib.h>

#include <ctime>
#include <string>

// One accepted TCP connection as a stream for the HTTP library, with a read buffer that lives as long
// as the connection so that pipelined bytes are not lost between requests.
class FlujoSocket : public httplib::Stream {
public:
    FlujoSocket(socket_t sock, time_t esperaLecturaSeg, time_t esperaEscrituraSeg);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return sock_; }

    // Bytes already received and not yet read.
    bool hayPendiente() const { return pos_ < fin_; }
    // Waits up to `ms` milliseconds for something to read.
    bool esperarLecturaMs(int ms) const;

private:
    socket_t sock_;
    time_t esperaLectura_;
    time_t esperaEscritura_;
    char buffer_[16384];
    size_t pos_ = 0;
    size_t fin_ = 0;
};
