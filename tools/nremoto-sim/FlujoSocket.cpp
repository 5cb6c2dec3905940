#include "FlujoSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace {

bool esperar(int sock, short eventos, int ms) {
    pollfd p{sock, eventos, 0};
    for (;;) {
        const int r = ::poll(&p, 1, ms);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (p.revents & (eventos | POLLHUP | POLLERR)) != 0;
    }
}

void direccion(const sockaddr_storage& a, std::string& ip, int& port) {
    char texto[INET6_ADDRSTRLEN] = {};
    if (a.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&a);
        ::inet_ntop(AF_INET, &v4->sin_addr, texto, sizeof texto);
        port = ntohs(v4->sin_port);
    } else if (a.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&a);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, texto, sizeof texto);
        port = ntohs(v6->sin6_port);
    }
    ip = texto;
}

} // namespace

FlujoSocket::FlujoSocket(socket_t sock, time_t esperaLecturaSeg, time_t esperaEscrituraSeg)
    : sock_(sock), esperaLectura_(esperaLecturaSeg), esperaEscritura_(esperaEscrituraSeg) {}

bool FlujoSocket::is_readable() const {
    return hayPendiente() || esperar(sock_, POLLIN, static_cast<int>(esperaLectura_ * 1000));
}

bool FlujoSocket::is_writable() const {
    return esperar(sock_, POLLOUT, static_cast<int>(esperaEscritura_ * 1000));
}

bool FlujoSocket::esperarLecturaMs(int ms) const {
    return hayPendiente() || esperar(sock_, POLLIN, ms);
}

ssize_t FlujoSocket::read(char* ptr, size_t size) {
    if (!hayPendiente()) {
        if (!esperar(sock_, POLLIN, static_cast<int>(esperaLectura_ * 1000)))
            return -1;
        ssize_t n;
        do {
            n = ::recv(sock_, buffer_, sizeof buffer_, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            return n;
        pos_ = 0;
        fin_ = static_cast<size_t>(n);
    }
    const size_t n = std::min(size, fin_ - pos_);
    std::memcpy(ptr, buffer_ + pos_, n);
    pos_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t FlujoSocket::write(const char* ptr, size_t size) {
    if (!is_writable())
        return -1;
    ssize_t n;
    do {
        n = ::send(sock_, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
}

void FlujoSocket::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage a{};
    socklen_t largo = sizeof a;
    if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&a), &largo) == 0)
        direccion(a, ip, port);
}

void FlujoSocket::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage a{};
    socklen_t largo = sizeof a;
    if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&a), &largo) == 0)
        direccion(a, ip, port);
}
