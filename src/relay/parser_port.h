// The chat parser as the relay calls it: every complete payload, in both
// directions, before it is forwarded.
#pragma once
#include <string_view>

#include "relay/protocol.h"

namespace tellu {

class ParserPort {
 public:
  virtual ~ParserPort() = default;
  // direction kFromHost or kFromServer.  Returns kPassOn when the payload
  // is to be forwarded unchanged; anything else swallows it.
  virtual Verdict DispAddBin(Direction direction, std::string_view payload) = 0;
};

}  // namespace tellu
