// Random profile files, random reads and one write: reads stay within the
// buffer, a refused write leaves the file alone, an accepted one reads back
// and leaves every other key reading as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ini/ini_file.h"
#include "platform/fake_files.h"

namespace {

// The private-profile rules, written here without the engine.  Blanks are
// tab to carriage return, space and the end-of-file mark 1A: all below 40,
// so none is ever the second byte of a double-byte character.
bool Blank(char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a'; }

std::string Trimmed(std::string s) {
  while (!s.empty() && Blank(s.back())) s.pop_back();
  size_t start = 0;
  while (start < s.size() && Blank(s[start])) ++start;
  return s.substr(start);
}

bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// A name is read up to a NUL and trimmed; ASCII letters match in either
// case, the bytes of a double-byte character only exactly.
std::string NameKey(const std::string& name) {
  std::string key = Trimmed(name.substr(0, name.find('\0')));
  for (size_t i = 0; i < key.size(); ++i) {
    if (Lead(key[i]) && i + 1 < key.size() && Trail(key[i + 1]))
      ++i;
    else if (key[i] >= 'a' && key[i] <= 'z')
      key[i] = static_cast<char>(key[i] - 'a' + 'A');
  }
  return key;
}

bool SameName(const std::string& a, const std::string& b) { return NameKey(a) == NameKey(b); }

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
  // NUL, blanks trimmed, one pair of like quotes around it removed.  (At
  // most 64 bytes: the 4096-byte buffer never cuts it.)
  std::string expected = Trimmed(value.substr(0, value.find_first_of(std::string("\r\n\0", 3))));
  if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') &&
      expected.back() == expected[0])
    expected = expected.substr(1, expected.size() - 2);
  if (ini.GetString(section, key, "\x01") != expected) __builtin_trap();

  for (size_t i = 0; i < probes.size(); ++i) {
    const auto& [probe_section, probe_key] = probes[i];
    if (SameName(probe_section, section) && SameName(probe_key, key)) continue;
    if (ini.GetString(probe_section, probe_key, "\x01") != before[i]) __builtin_trap();
  }
  return 0;
}
