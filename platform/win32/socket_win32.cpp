// The socket seam on Windows (winsock 2).
#include "platform/socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <map>
#include <mutex>

namespace vz {

namespace {

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void NoDelay(SOCKET s) {
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

SocketHandle ToHandle(SOCKET s) {
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

SOCKET ToSocket(SocketHandle h) {
    return static_cast<SOCKET>(h);
}

// The receive time limit each socket holds, so that a wait sets it only when it changes: the
// link waits with the same limit for every reply.
std::mutex limitsMutex;
std::map<SOCKET, DWORD> receiveLimits;

bool HoldReceiveLimit(SOCKET s, DWORD timeoutMs) {
    std::lock_guard<std::mutex> guard(limitsMutex);
    const auto held = receiveLimits.find(s);
    if (held != receiveLimits.end() && held->second == timeoutMs) {
        return true;
    }
    if (setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                   sizeof timeoutMs) != 0) {
        return false;
    }
    receiveLimits[s] = timeoutMs;
    return true;
}

void ForgetReceiveLimit(SOCKET s) {
    std::lock_guard<std::mutex> guard(limitsMutex);
    receiveLimits.erase(s);
}

}  // namespace

bool SocketStartup() {
    // Started once for the life of the process; the system cleans up at exit.
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SocketHandle ConnectLoopback(uint16_t port) {
    if (!SocketStartup()) {
        return kInvalidSocket;
    }
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return kInvalidSocket;
    }
    const sockaddr_in address = LoopbackAddress(port);
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return kInvalidSocket;
    }
    NoDelay(s);
    return ToHandle(s);
}

SocketHandle ListenLoopback(uint16_t port, uint16_t& boundPort) {
    if (!SocketStartup()) {
        return kInvalidSocket;
    }
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return kInvalidSocket;
    }
    BOOL exclusive = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
    sockaddr_in address = LoopbackAddress(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(s, 16) != 0) {
        closesocket(s);
        return kInvalidSocket;
    }
    int size = sizeof address;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        closesocket(s);
        return kInvalidSocket;
    }
    boundPort = ntohs(address.sin_port);
    return ToHandle(s);
}

SocketHandle AcceptConnection(SocketHandle listener) {
    const SOCKET s = accept(ToSocket(listener), nullptr, nullptr);
    if (s == INVALID_SOCKET) {
        return kInvalidSocket;
    }
    NoDelay(s);
    return ToHandle(s);
}

long SendSome(SocketHandle socket, const uint8_t* data, size_t size) {
    const int chunk = size > 0x7FFFFFFF ? 0x7FFFFFFF : int(size);
    const int n = send(ToSocket(socket), reinterpret_cast<const char*>(data), chunk, 0);
    return n == SOCKET_ERROR ? -1 : long(n);
}

long ReceiveSome(SocketHandle socket, uint8_t* data, size_t size) {
    const int chunk = size > 0x7FFFFFFF ? 0x7FFFFFFF : int(size);
    const int n = recv(ToSocket(socket), reinterpret_cast<char*>(data), chunk, 0);
    return n == SOCKET_ERROR ? -1 : long(n);
}

long ReceiveWithin(SocketHandle socket, uint8_t* data, size_t size, int timeoutMs) {
    const SOCKET s = ToSocket(socket);
    // A zero limit means none to the system; a wait of 0 ms asks for the shortest there is.
    const DWORD limit = timeoutMs < 0 ? 0 : timeoutMs == 0 ? 1 : DWORD(timeoutMs);
    if (!HoldReceiveLimit(s, limit)) {
        return -1;
    }
    const long n = ReceiveSome(socket, data, size);
    return n < 0 && WSAGetLastError() == WSAETIMEDOUT ? kReceiveTimedOut : n;
}

int WaitReadable(SocketHandle socket, int timeoutMs) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(ToSocket(socket), &readable);
    timeval limit = {};
    limit.tv_sec = timeoutMs / 1000;
    limit.tv_usec = (timeoutMs % 1000) * 1000;
    const int rc = select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &limit);
    if (rc == SOCKET_ERROR) {
        return -1;
    }
    return rc == 0 ? 0 : 1;
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(ToSocket(socket), SD_BOTH);
}

void CloseSocket(SocketHandle socket) {
    if (socket != kInvalidSocket) {
        ForgetReceiveLimit(ToSocket(socket));
        closesocket(ToSocket(socket));
    }
}

}  // namespace vz
