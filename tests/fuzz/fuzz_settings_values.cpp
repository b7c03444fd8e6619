// Feeds arbitrary profile values to the settings parsers: pair, real, list,
// message-table text and the log-name default.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/value_format.h"
#include "settings/message_table.h"
#include "settings/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string value(reinterpret_cast<const char*>(data), size);
  tellu::Pair pair = tellu::ParsePair(value);
  if (tellu::ParsePair(tellu::FormatPair(pair)) != pair) __builtin_trap();
  int tenths = tellu::FontTenths(tellu::ParseReal(value));
  if (tellu::FontTenths(tellu::ParseReal(tellu::FormatReal(tenths / 10.0))) != tenths)
    __builtin_trap();
  auto items = tellu::SplitList(value);
  if (tellu::SplitList(tellu::JoinList(items)) != items) __builtin_trap();
  tellu::MessageEntry entry = tellu::ParseMessageText(value);
  if (entry.label.size() > value.size() || entry.text.size() > value.size()) __builtin_trap();
  std::string log_name = tellu::DefaultLogName(value);
  if (value.compare(0, log_name.size(), log_name) != 0) __builtin_trap();
  return 0;
}
