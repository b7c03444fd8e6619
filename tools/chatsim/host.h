// chatsim's host: plays the chat client that sits behind Tellu.  HostSession
// is its protocol side (what it sends, how it shows what it gets, what typed
// lines mean); RunHost puts it on a socket, a terminal and a script.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "relay/protocol.h"
#include "wire.h"

namespace tellu::chatsim {

struct HostOptions {
  std::string ini;      // the host's configuration file
  std::string section;  // where it keeps the server name...
  std::string key;      // ...and under which key
  std::string name = "Host";
  uint16_t port = kDefaultPort;
  std::string script;  // lines run as if typed, before standard input
  std::string avatar = "avatar\\Vavar.uza";
  uint8_t room = 1;
};

class HostSession {
 public:
  HostSession(std::string_view name, std::string_view avatar, uint8_t room);

  // The opening messages: login first, then own avatar, room entry, a few moves.
  std::vector<std::string> Greeting();

  // Lines to show for a payload from the server (UTF-8, terminal-safe).
  std::vector<std::string> Show(std::string_view payload);

  struct Reply {
    std::vector<std::string> payloads;  // to the server
    std::vector<std::string> lines;     // to show
    bool quit = false;
  };
  // A typed line: "/w NAME TEXT", "/move DX DY", "/avatar REF", "/room N",
  // "/request NAME", "/quit", or chat text.
  Reply Typed(std::string_view line);

  const Pos& pos() const { return pos_; }

 private:
  std::string Label(uint8_t number) const;

  std::string name_;  // wire text
  std::string avatar_;
  uint8_t room_;
  Pos pos_;
  std::array<std::string, 12> known_;  // object number -> name, as shown
};

// Reads the server name from the configuration file, connects, greets, then
// shows what arrives on stdout and sends what is typed on stdin, after the
// script.  Script lines may also be "/sleep MS" and "/expect TEXT" (wait up to
// ten seconds for a shown line containing TEXT).  Returns the exit code: 0
// when the server closed or on "/quit", 1 when it could not connect, 2 on a
// configuration fault, 3 when an expectation was not met.
int RunHost(const HostOptions& options);

}  // namespace tellu::chatsim
