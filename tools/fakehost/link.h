// fakehost's chat connection: the server name from its configuration file,
// a connect like the real host's, the login, and a record of what comes.
#pragma once
#include <memory>
#include <string>

#include "platform/net.h"
#include "recorder.h"

namespace tellu::fakehost {

// The login the host sends first: 01 06 03, then three property records
// (identifier byte and counted string), the third the user's name.
std::string LoginPayload(const std::string& wire_name);

class Link {
 public:
  Link(Net& net, Recorder& recorder) : net_(net), recorder_(recorder) {}
  // Connects to host:port and logs in as wire_name (wire text) unless told
  // not to; a link that does not read leaves what comes in the kernel.
  void Start(const std::string& host, int port, const std::string& wire_name, bool reads = true,
             bool login = true);
  // One payload to the server, framed; dropped before the connection.
  void Send(const std::string& payload);

 private:
  void Received(std::string_view bytes);

  Net& net_;
  Recorder& recorder_;
  std::unique_ptr<Stream> stream_;
  size_t remaining_ = 0;
  std::string message_;
};

}  // namespace tellu::fakehost
