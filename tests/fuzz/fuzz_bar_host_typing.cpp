// Attach-mode typing of any bytes: no crash, no line feed or markup
// character reaches the host, one Enter per line, pauses only after
// characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "bar/host_typing_model.h"

using tellu::HostStep;
namespace hostmsg = tellu::hostmsg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<HostStep> steps = tellu::CharacterSteps(text);
  size_t enters = 0, crs = 0;
  for (char c : text) crs += c == '\r';
  for (size_t i = 0; i < steps.size(); ++i) {
    const HostStep& s = steps[i];
    if (s.kind == HostStep::Kind::Pause) {
      // Right after a character, never after Enter's.
      const bool after_char = i > 0 && steps[i - 1].kind == HostStep::Kind::Post &&
                              steps[i - 1].message == hostmsg::kChar && steps[i - 1].wparam != 0x0D;
      if (!after_char || s.ms != tellu::kCharPauseMs) abort();
      continue;
    }
    if (s.kind != HostStep::Kind::Post) abort();  // characters are only posted
    if (s.message == hostmsg::kKeyDown) ++enters;
    if (s.message == hostmsg::kChar &&
        (s.wparam > 0xFF || s.wparam == 0x0A || s.wparam == '<' || s.wparam == '>' ||
         s.wparam == '&'))
      abort();
  }
  const size_t expected = crs + (!text.empty() && text.back() != '\r');
  if (enters != expected) abort();
  return 0;
}
