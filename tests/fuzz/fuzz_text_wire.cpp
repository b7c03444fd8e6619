// Feeds arbitrary bytes to both directions of the wire text codec and checks
// that a converted text survives another trip unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string sjis = tellu::text::WireToSjis(input);
  if (sjis.find('\0') != std::string::npos) __builtin_trap();
  if (sjis.size() > 2 * input.size()) __builtin_trap();
  if (tellu::text::WireToSjis(tellu::text::SjisToWire(sjis)) != sjis) __builtin_trap();

  const std::string wire = tellu::text::SjisToWire(input);
  if (wire.find('\0') != std::string::npos) __builtin_trap();
  if (tellu::text::SjisToWire(tellu::text::WireToSjis(wire)) != wire) __builtin_trap();
  return 0;
}
