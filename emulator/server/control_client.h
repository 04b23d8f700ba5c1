// `cardemu --control 127.0.0.1:PORT [CMD...|-e CMD...]`: sends control lines to a running cardemu.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/socket.h"

namespace vz {

// A control connection: opened with the control frame, then one answer line per command line.
class ControlConnection {
  public:
    ~ControlConnection();
    bool Open(uint16_t port);
    // The answer line, or empty when the connection failed.
    std::string Send(const std::string& command);
    void Close();

  private:
    SocketHandle socket_ = kInvalidSocket;
    std::string pending_;
};

// The commands the arguments after the address stand for: the words joined by blanks as one
// command, or one command per `-e CMD`; none: read standard input. False when `-e` lacks its
// command or is mixed with bare words.
bool ControlCommandsFromArguments(const std::vector<std::string>& arguments,
                                  std::vector<std::string>& commands);

// Sends the commands the arguments stand for (or, with none, each line of `input`) and prints
// the answers to `output`. Returns 0 when every answer began with "OK", 1 otherwise, 2 when the
// arguments are malformed or cardemu could not be reached.
int RunControlClient(const std::string& address, const std::vector<std::string>& arguments,
                     std::istream& input, std::ostream& output, std::ostream& errors);

}  // namespace vz
