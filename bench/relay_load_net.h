// The relay benchmark's sockets: loopback connections, pushing two streams
// through a path at full speed, and timing round trips one message at a time.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "relay_load_mix.h"

namespace tellu::bench {

// Listening socket on 127.0.0.1 (port 0: any); -1 on failure.
int ListenLoopback(int port);
int LocalPort(int fd);
// Connects to 127.0.0.1:port, trying again while nothing listens there yet.
int ConnectLoopback(int port, int timeout_ms);
int AcceptWithin(int listen_fd, int timeout_ms);
// Reads exactly expected.size() bytes and compares them.
bool ReadExpected(int fd, std::string_view expected, int timeout_ms, std::string* error);

// The driver's two ends of a path: it plays the host on one and the chat
// server on the other.
struct Link {
  int host = -1, server = -1;
};

// Sends `up` from the host and `down` from the server at once, as fast as the
// path takes them, and checks that what arrives is exactly the expected
// bytes.  Returns the seconds from the first byte sent to the last received,
// or a negative value with *error set.
double Pump(const Link& link, std::string_view up, std::string_view up_expected,
            std::string_view down, std::string_view down_expected, int timeout_ms,
            std::string* error);

// `count` round trips, one message in flight: an up frame from the host to
// the server, then a down frame from the server to the host.  Returns each
// round trip in microseconds, or an empty vector with *error set.
std::vector<double> RoundTrips(const Link& link, const Traffic& traffic, bool relayed,
                               size_t count, std::string* error);

}  // namespace tellu::bench
