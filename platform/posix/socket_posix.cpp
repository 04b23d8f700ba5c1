// The socket seam on POSIX systems.
#include "platform/socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vz {

namespace {

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void NoDelay(int fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace

bool SocketStartup() {
    return true;
}

SocketHandle ConnectLoopback(uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return kInvalidSocket;
    }
    const sockaddr_in address = LoopbackAddress(port);
    int rc;
    do {
        rc = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        close(fd);
        return kInvalidSocket;
    }
    NoDelay(fd);
    return fd;
}

SocketHandle ListenLoopback(uint16_t port, uint16_t& boundPort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return kInvalidSocket;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = LoopbackAddress(port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 16) != 0) {
        close(fd);
        return kInvalidSocket;
    }
    socklen_t size = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close(fd);
        return kInvalidSocket;
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

SocketHandle AcceptConnection(SocketHandle listener) {
    int fd;
    do {
        fd = accept4(int(listener), nullptr, nullptr, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return kInvalidSocket;
    }
    NoDelay(fd);
    return fd;
}

long SendSome(SocketHandle socket, const uint8_t* data, size_t size) {
    ssize_t n;
    do {
        n = send(int(socket), data, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : long(n);
}

long ReceiveSome(SocketHandle socket, uint8_t* data, size_t size) {
    ssize_t n;
    do {
        n = recv(int(socket), data, size, 0);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : long(n);
}

long ReceiveWithin(SocketHandle socket, uint8_t* data, size_t size, int timeoutMs) {
    const int ready = WaitReadable(socket, timeoutMs);
    if (ready <= 0) {
        return ready == 0 ? kReceiveTimedOut : -1;
    }
    return ReceiveSome(socket, data, size);
}

int WaitReadable(SocketHandle socket, int timeoutMs) {
    pollfd entry = {};
    entry.fd = int(socket);
    entry.events = POLLIN;
    int rc;
    do {
        rc = poll(&entry, 1, timeoutMs < 0 ? -1 : timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        return -1;
    }
    return rc == 0 ? 0 : 1;
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(int(socket), SHUT_RDWR);
}

void CloseSocket(SocketHandle socket) {
    if (socket != kInvalidSocket) {
        close(int(socket));
    }
}

}  // namespace vz
