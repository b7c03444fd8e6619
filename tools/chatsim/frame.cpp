#include "frame.h"

namespace tellu::chatsim {

std::string Frame(std::string_view payload) {
  if (payload.empty() || payload.size() > kMaxPayload) return {};
  std::string out;
  out.reserve(payload.size() + 1);
  out.push_back(static_cast<char>(payload.size() + 1));
  out.append(payload);
  return out;
}

void FrameReader::Feed(std::string_view bytes,
                       const std::function<void(std::string_view)>& on_payload) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (remaining_ == 0) {
      const auto length = static_cast<unsigned char>(bytes[i++]);
      buffer_.clear();
      if (length >= 2) remaining_ = length - 1u;
      continue;
    }
    const std::size_t take = std::min(remaining_, bytes.size() - i);
    buffer_.append(bytes.substr(i, take));
    i += take;
    remaining_ -= take;
    if (remaining_ == 0) {
      const std::string payload = std::move(buffer_);
      buffer_.clear();
      on_payload(payload);
    }
  }
}

}  // namespace tellu::chatsim
