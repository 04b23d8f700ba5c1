// Socket seam: TCP on the loopback interface only, passed straight through to the system.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vz {

using SocketHandle = intptr_t;
constexpr SocketHandle kInvalidSocket = -1;

// Prepares the socket library (WSAStartup once on Windows). False when sockets are unusable.
bool SocketStartup();

// Connects to 127.0.0.1:port with Nagle's delay off. kInvalidSocket when refused.
SocketHandle ConnectLoopback(uint16_t port);
// Listens on 127.0.0.1:port (0 lets the system choose); boundPort receives the port in use.
SocketHandle ListenLoopback(uint16_t port, uint16_t& boundPort);
// Waits for a connection; the accepted socket has Nagle's delay off.
SocketHandle AcceptConnection(SocketHandle listener);

// One send or receive call: the byte count, 0 at the peer's orderly close (receive), or -1.
long SendSome(SocketHandle socket, const uint8_t* data, size_t size);
long ReceiveSome(SocketHandle socket, uint8_t* data, size_t size);

// One receive call that first waits up to timeoutMs (negative: without end) for something to
// come: the byte count, 0 at the peer's orderly close, kReceiveTimedOut, or -1 on failure. On
// Windows the socket keeps the timeout as its receive time limit (set again only when it
// changes), so a later ReceiveSome that finds nothing ends after that long with -1, not never.
constexpr long kReceiveTimedOut = -2;
long ReceiveWithin(SocketHandle socket, uint8_t* data, size_t size, int timeoutMs);

// 1 when the socket has data (or a connection, or an error) to take, 0 after timeoutMs, -1 on
// failure. A negative timeout waits without end. Under Wine a select() keeps the system's
// server polling for as long as arrived data lies unread: a program waiting for an answer
// waits in ReceiveWithin instead.
int WaitReadable(SocketHandle socket, int timeoutMs);

// Ends both directions so that a thread blocked on the socket returns; the handle stays valid.
void ShutdownSocket(SocketHandle socket);
void CloseSocket(SocketHandle socket);

}  // namespace vz
