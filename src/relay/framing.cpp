#include "relay/framing.h"

#include <cstdio>
#include <cstring>

namespace tellu {

size_t FrameMessage(std::string_view payload, char* out) {
  if (payload.empty() || payload.size() > kMaxPayload) {
#ifndef NDEBUG
    std::fprintf(stderr, "relay: refused to frame a payload of %zu bytes\n", payload.size());
#endif
    return 0;
  }
  out[0] = static_cast<char>(payload.size() + 1);
  std::memcpy(out + 1, payload.data(), payload.size());
  return payload.size() + 1;
}

}  // namespace tellu
