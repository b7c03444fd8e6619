// The numbers of the relayed protocol that both ends of the relay and its
// parser agree on: payload size, default port, directions, the parser's
// verdict and the kinds of connection.
#pragma once
#include <cstddef>
#include <string_view>

namespace tellu {

// Largest payload a frame can carry (its length byte holds payload + 1).
inline constexpr std::size_t kMaxPayload = 254;

// The listening port and the server's port when tellu.ini names none.
inline constexpr int kDefaultPort = 5200;

// Which way a payload travels.
enum class Direction {
  kFromHost = 0,    // host to server
  kFromServer = 1,  // server to host
};

// The parser's verdict on a payload.
enum class Verdict {
  kSwallow = 0,  // not forwarded (dropped, or sent rebuilt or early)
  kPassOn = 1,   // forwarded unchanged
};

// What a connection serves.
enum class SockKind {
  kRelayConnection = 0,   // the host's, or the relay's own to the server
  kPeerAccepted = 1,      // an avatar-exchange peer, greeted as below
  kPeerMovedOn = 2,       // a peer a transfer has taken over
  kOutgoingTransfer = 3,  // an avatar transfer this side opened
};

// An avatar-exchange peer's connection carries lines; the relay greets each
// accepted peer with the first.
inline constexpr char kPeerLineEnd = '\n';
inline constexpr std::string_view kPeerGreeting = "ok";

}  // namespace tellu
