// The few POSIX socket calls chatsim needs, shared by its server, its host
// and the tests that embed them.
#pragma once
#include <cstdint>
#include <string>

namespace tellu::chatsim::net {

// A non-blocking listening socket on every local address; port 0 takes any
// free port.  -1 on failure, with the reason in *error.
int Listen(uint16_t port, std::string* error);
uint16_t LocalPort(int fd);

// Connects to a dotted address or host name (blocking), then makes the socket
// non-blocking.  -1 on failure, with the reason in *error.
int Connect(const std::string& host, uint16_t port, std::string* error);

void SetNonBlocking(int fd);
void Close(int fd);

// Sends as much of `out` as the socket takes now and removes it from `out`.
// False when the peer is gone.
bool Flush(int fd, std::string& out);

// Appends what the socket holds (one read of up to 4096 bytes) to `in`.
// False when the peer closed or the connection failed.
bool ReadSome(int fd, std::string& in);

}  // namespace tellu::chatsim::net
