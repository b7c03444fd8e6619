// The numbers of the relayed protocol that both ends of the relay and its
// parser agree on: payload size, default port, directions, the parser's
// verdict and the kinds of connection.
#pragma once
#include <cstddef>

namespace tellu {

// Largest payload a frame can carry (its length byte holds payload + 1).
inline constexpr std::size_t kMaxPayload = 254;

// The listening port and the server's port when tellu.ini names none.
inline constexpr int kDefaultPort = 5200;

// Which way a payload travels.
inline constexpr int kFromHost = 0;    // host to server
inline constexpr int kFromServer = 1;  // server to host

// The parser's verdict on a payload.
inline constexpr int kSwallow = 0;  // not forwarded (dropped, or sent rebuilt or early)
inline constexpr int kPassOn = 1;   // forwarded unchanged

// What a connection serves.
inline constexpr int kRelayConnection = 0;   // the host's, or the relay's own to the server
inline constexpr int kPeerAccepted = 1;      // an avatar-exchange peer, greeted with "ok"
inline constexpr int kPeerMovedOn = 2;       // a peer a transfer has taken over
inline constexpr int kOutgoingTransfer = 3;  // an avatar transfer this side opened

}  // namespace tellu
