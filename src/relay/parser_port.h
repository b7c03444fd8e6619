// The chat parser as the relay calls it: every complete payload, in both
// directions, before it is forwarded.
#pragma once
#include <string_view>

namespace tellu {

class ParserPort {
 public:
  virtual ~ParserPort() = default;
  // direction 0: from the host, 1: from the server.  Returns 1 when the
  // payload is to be forwarded unchanged; anything else swallows it.
  virtual int DispAddBin(int direction, std::string_view payload) = 0;
};

}  // namespace tellu
