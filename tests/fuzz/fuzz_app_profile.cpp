// Random profile files, random reads and one write: reads stay within the
// buffer, a refused write leaves the file alone, an accepted one reads back
// and leaves every other key reading as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ini/ini_chars.h"
#include "ini/ini_file.h"
#include "ini/profile_value.h"
#include "platform/fake_files.h"

namespace {

using tellu::ini::CutAtNul;
using tellu::ini::Trim;

// Names spelled in the file, found without the engine, plus some from the input.
std::vector<std::string> NamesIn(const std::string& bytes) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos <= bytes.size() && names.size() < 64) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    size_t open = line.find('['), close = line.rfind(']');
    if (open != std::string::npos && close != std::string::npos && close > open)
      names.push_back(line.substr(open + 1, close - open - 1));
    names.push_back(line.substr(0, line.find('=')));
    pos = end + 1;
  }
  return names;
}

bool SameName(const std::string& a, const std::string& b) {
  return tellu::ini::NamesEqual(Trim(CutAtNul(a)), Trim(CutAtNul(b)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string path = "c:\\fuzz.ini";
  std::string original = input.ConsumeRandomLengthString(4096);
  tellu::FakeFiles files;
  files.Put(path, original);
  tellu::IniFile ini(files, path);

  std::vector<std::string> names = NamesIn(original);
  for (int i = 0; i < 4; ++i) names.push_back(input.ConsumeRandomLengthString(16));
  auto pick = [&] { return names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)]; };

  std::vector<std::pair<std::string, std::string>> probes;
  for (int i = 0; i < 16; ++i) probes.emplace_back(pick(), pick());
  std::vector<std::string> before;
  for (const auto& [section, key] : probes) {
    size_t buffer = input.ConsumeIntegralInRange<size_t>(0, 300);
    std::string value = ini.GetString(section, key, pick(), buffer);
    if (buffer == 0 ? !value.empty() : value.size() >= buffer) __builtin_trap();
    ini.GetInt(section, key, 7);
    before.push_back(ini.GetString(section, key, "\x01"));
  }

  std::string section = input.ConsumeBool() ? pick() : input.ConsumeRandomLengthString(16);
  std::string key = input.ConsumeBool() ? pick() : input.ConsumeRandomLengthString(16);
  std::string value = input.ConsumeRandomLengthString(64);
  if (!ini.WriteString(section, key, value)) {
    if (files.Get(path) != original) __builtin_trap();
    return 0;
  }

  // The written key reads back as its line would: cut at a line break or
  // NUL, blanks trimmed, quotes removed.
  std::string line_value = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  std::string expected = tellu::ini::CutToBuffer(tellu::ini::StripQuotes(Trim(line_value)), 4096);
  if (ini.GetString(section, key, "\x01") != expected) __builtin_trap();

  for (size_t i = 0; i < probes.size(); ++i) {
    const auto& [probe_section, probe_key] = probes[i];
    if (SameName(probe_section, section) && SameName(probe_key, key)) continue;
    if (ini.GetString(probe_section, probe_key, "\x01") != before[i]) __builtin_trap();
  }
  return 0;
}
