// cardemu's TCP server: device sessions and control sessions on one loopback port, a thread
// per client, one card behind a mutex.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "emulator/core/emulator.h"
#include "platform/socket.h"

namespace vz {

struct ServerStats {
    uint64_t accepted = 0;
    uint64_t refused = 0;     // over the client limit
    uint64_t malformed = 0;   // dropped for a bad or half frame
    uint64_t faultDrops = 0;  // dropped by an injected fault or drop-clients
    size_t active = 0;
};

class CardServer {
  public:
    static constexpr size_t kMaxClients = 32;
    static constexpr int kMidFrameTimeoutMs = 5000;
    static constexpr size_t kMaxControlLine = 1024;

    CardServer(Emulator& emulator, std::mutex& cardLock);
    ~CardServer();

    // Listens on 127.0.0.1:port (0: the system chooses) and starts accepting.
    bool Start(uint16_t port);
    uint16_t Port() const { return port_; }
    // Closes the listener and every connection, and waits for the client threads.
    void Stop();
    ServerStats Stats();

  private:
    struct Client {
        SocketHandle socket = kInvalidSocket;
        std::thread thread;
        std::atomic<bool> control{false};
        std::atomic<bool> done{false};
    };

    void AcceptLoop();
    void Serve(Client& client);
    void ServeDevice(Client& client, const std::vector<uint8_t>& firstFrame);
    void ServeControl(Client& client);
    std::string ControlLine(const std::string& line);
    void DropDeviceClients();
    void ReapFinished();

    Emulator& emulator_;
    std::mutex& cardLock_;
    SocketHandle listener_ = kInvalidSocket;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex clientsLock_;
    std::list<Client> clients_;
    ServerStats stats_;
};

}  // namespace vz
