// Attach-mode typing of any bytes: the steps are exactly those the typing
// rule gives, written here with the window messages' own numbers: line feeds
// skipped, ~ & < > as full-width pairs, a carriage return as the Enter key,
// a final Enter unless the text ends in one, 50 ms after each other byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "bar/host_typing_model.h"

namespace {

using tellu::HostStep;

HostStep Post(uint32_t message, uint32_t wparam, uint32_t lparam = 0) {
  HostStep s;
  s.kind = HostStep::Kind::Post;
  s.message = message;
  s.wparam = wparam;
  s.lparam = lparam;
  return s;
}

void Enter(std::vector<HostStep>& out) {
  out.push_back(Post(0x0100, 0x49E2000D, 0x001C0001));  // WM_KEYDOWN
  out.push_back(Post(0x0102, 13));                      // WM_CHAR
  out.push_back(Post(0x0101, 0x49E2000D, 0xC01C0001));  // WM_KEYUP
}

// The second byte of a double-byte character (lead 81..9F or E0..FC, then
// 40..FC but 7F) is posted as it is, even a 7E.
bool Lead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool Trail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

std::vector<HostStep> Expected(std::string_view text) {
  std::vector<HostStep> out;
  bool second = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    const bool plain = second;
    second = !second && Lead(b) && i + 1 < text.size() && Trail(text[i + 1]);
    uint32_t wide = b == '~' ? 0x60 : b == '&' ? 0x95 : b == '<' ? 0x83 : b == '>' ? 0x84 : 0;
    if (plain) wide = 0;
    if (b == 0x0A) continue;
    if (b == 0x0D) {
      Enter(out);
    } else if (wide != 0) {
      out.push_back(Post(0x0102, 0x81));
      out.push_back(Post(0x0102, wide));
    } else {
      out.push_back(Post(0x0102, b));
      HostStep pause;
      pause.kind = HostStep::Kind::Pause;
      pause.ms = 50;
      out.push_back(pause);
    }
  }
  if (!text.empty() && text.back() != '\r') Enter(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (tellu::CharacterSteps(text) != Expected(text)) abort();
  return 0;
}
