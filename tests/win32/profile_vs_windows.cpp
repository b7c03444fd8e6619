// The profile engine against the platform's own private-profile calls on
// tricky files: where they disagree, the platform is right.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ini/ini_file.h"
#include "ini/ini_text.h"
#include "ini/profile_value.h"
#include "files/std_files.h"
#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu {
namespace {

struct Sample {
  const char* name;
  std::string bytes;
  bool needs_cp932 = false;  // holds double-byte names or values
  // The platform rewrites the whole file on a write: a NUL-cut value keeps
  // blanks before the NUL that its next reading trims, while the engine
  // leaves untouched lines as they were.
  bool rewrite_changes_reads = false;
};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::vector<Sample> Samples() {
  using namespace std::string_literals;
  return {
      {"duplicates", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nx=b1\r\n[a]\r\nk=3\r\nonly=second\r\n"},
      {"blanks", "  [ Sec One ]  \r\n\t key one \t=\t value one \t\r\n  k2=  \r\nk3 =x y  z\r\n"},
      {"quotes",
       "[Q]\r\nq1=\"abc\"\r\nq2='abc'\r\nq3=\"abc'\r\nq4=\"\r\nq5=\"\"\r\nq6=\" a \"\r\n"
       "q7=x\"y\"z\r\nq8=\"a\"b\"\r\nq9=  \"spaced\"  \r\nq10=''\r\nq11='\r\n"},
      {"no final line end", "[S]\r\na=1\r\nb=last"},
      {"long values",
       "[L]\r\nlong=" + Repeat("0123456789", 500) + "\r\n" + Repeat("bare", 2500) +
           "\r\nafter=1\r\n"},
      {"shift_jis",
       // [日本] 名前=表示 (trail bytes 5C and 5D), ア and ツ as keys (trail
       // bytes 41 and 61), a value of half-width katakana.
       "[\x93\xFA\x96\x7B]\r\n\x96\xBC\x91\x4F=\x95\x5C\x8E\xA6\r\n\x83\x5D=\x83\x5D\x83\x5D\r\n"
       "\x83\x41=upper\r\n\x83\x61=lower\r\nkana=\xB1\xB2\xB3\r\n"
       "[X]\x83\x5D\r\nd=4\r\n[\x83\x5D]\r\ne=5\r\n",
       true},
      {"empty values", "[E]\r\nk=\r\nk2=   \r\nk3=\"\"\r\n=novalue\r\n"},
      {"keys without equals", "[S]\r\nbare\r\nbare=later\r\nother\r\nlast=1\r\n"},
      {"cr only", "[S]\ra=1\rb=2\r[T]\rc=3\r"},
      {"lf only", "[S]\na=1\nb=2\n[T]\nc=3\n"},
      {"mixed line ends", "[S]\na=1\rb=2\nc=3\r[T]\rd=4\re=5"},
      {"header with trailing text",
       "[S] ; comment\r\na=1\r\n[T]junk\r\nb=2\r\n[U\r\nc=3\r\n[V]x]y\r\nd=4\r\n[W]]\r\ne=5\r\n"},
      {"comments", "; c\r\n[S]\r\n;a=1\r\na=2\r\n # x=y\r\n;[T]\r\nb=3\r\n"},
      {"nul bytes", "[S]\r\na=1\0junk\r\nb\0x=2\r\nc =3 \0 \r\n[T\0U]\r\nd=4\r\n"s, false, true},
      {"keys before a section", "a=0\r\n[S]\r\na=1\r\n"},
      {"integers",
       "[I]\r\nd=42\r\nn=-17\r\np=+5\r\nh=0x1F\r\nH=0X1F\r\nb=0b101\r\no=0o17\r\nt= 12abc\r\n"
       "w=abc\r\ne=\r\nbig=4294967297\r\nneg=-2147483649\r\nq=\"77\"\r\nsp=\" 8\"\r\n"
       "long=123456789012345678901234567890123\r\nm=--5\r\nc=\x01 9\r\nx=0x\r\nhex=0xfFz\r\n"},
      {"utf-8 mark", "\xEF\xBB\xBF[S]\r\na=1\r\n"},
      {"control blanks", "[S]\r\na=\x1a 1 \x1a\r\n\x0b b=2\x0c\r\n\x1a"},
      {"empty file", ""},
      {"section only", "[S]"},
      {"blank lines between", "[S]\r\n\r\na=1\r\n\r\n\r\n[T]\r\n\r\n"},
  };
}

// Names worth asking for: every section and key spelled in the file, in
// other cases and with blanks around, and names that are missing.
struct Names {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  std::set<std::string> plain;  // spelled as in the file
  std::vector<std::string> section_order, key_order;  // those, in file order
};

void AddName(std::vector<std::string>& out, std::set<std::string>& plain, std::string name,
             std::vector<std::string>* order = nullptr) {
  name = name.substr(0, name.find('\0'));
  while (!name.empty() && strchr(" \t\r\n\x0b\x0c\x1a", name.back())) name.pop_back();
  size_t start = name.find_first_not_of(" \t\r\n\x0b\x0c\x1a");
  name = start == std::string::npos ? "" : name.substr(start);
  // Keys that begin like a comment or a header are never asked for.
  if (name.empty() || name[0] == ';' || name[0] == '[') return;
  if (plain.insert(name).second && order) order->push_back(name);
  std::string upper = name, lower = name;
  for (size_t i = 0; i < name.size(); ++i) {
    if (text::IsLeadByte(static_cast<uint8_t>(name[i]))) { ++i; continue; }
    upper[i] = static_cast<char>(toupper(static_cast<unsigned char>(name[i])));
    lower[i] = static_cast<char>(tolower(static_cast<unsigned char>(name[i])));
  }
  for (const std::string& n : {name, upper, lower, " " + name + "\t"})
    if (std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
}

Names NamesIn(const std::string& bytes) {
  Names names;
  size_t pos = 0;
  while (pos <= bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == '[') {
      size_t close = line.rfind(']');
      if (close != std::string::npos && close > first)
        AddName(names.sections, names.plain, line.substr(first + 1, close - first - 1),
                &names.section_order);
    } else {
      AddName(names.keys, names.plain, line.substr(0, line.find('=')), &names.key_order);
    }
    pos = end + 1;
  }
  AddName(names.sections, names.plain, "missing");
  AddName(names.keys, names.plain, "missing");
  return names;
}

class Platform {
 public:
  static std::string Get(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& def, size_t size) {
    std::vector<char> buffer(size + 1, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                       static_cast<DWORD>(size), path.c_str());
    return std::string(buffer.data(), std::min<size_t>(n, strlen(buffer.data())));
  }
  static int GetInt(const std::string& path, const std::string& section, const std::string& key,
                    int def) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, path.c_str()));
  }
};

size_t WideLength(const std::string& s) {
  return static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0));
}

bool CutSplitsCharacter(const std::string& s, size_t size) {
  if (size == 0 || s.size() <= size - 1) return false;
  size_t i = 0;
  while (i < size - 1) i += text::NextSjisChar(s, i).size;
  return i != size - 1;
}

bool Quoted(std::string_view v) {
  return v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
}

std::string Escaped(const std::string& s) {
  std::string out;
  char hex[8];
  for (unsigned char c : s.substr(0, 200)) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return s.size() > 200 ? out + "..." : out;
}

// Names to write: the first two as spelled in the file, the first in
// another spelling, and a new one.
std::vector<std::string> Pick(const std::vector<std::string>& names, const std::string& added) {
  std::vector<std::string> out;
  if (!names.empty()) out = {names[0], " " + names[0] + "\t"};
  if (names.size() > 1) out.push_back(names[1]);
  out.push_back(added);
  return out;
}

bool EndsInLoneLead(const std::string& s) {
  size_t i = 0, last = 0;
  while (i < s.size()) {
    last = i;
    i += text::NextSjisChar(s, i).size;
  }
  return !s.empty() && last + 1 == s.size() && text::IsLeadByte(static_cast<uint8_t>(s[last]));
}

class ProfileVsWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "tellu_profile_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& path : created_) files_.Delete(path);
    RemoveDirectoryA(dir_.c_str());
  }

  // A fresh file name each time: the platform caches files it has read.
  std::string Put(const std::string& bytes) {
    std::string path = dir_ + "f" + std::to_string(created_.size()) + ".ini";
    EXPECT_TRUE(files_.WriteAll(path, bytes));
    created_.push_back(path);
    return path;
  }
  std::string FreshPath() {
    std::string path = dir_ + "f" + std::to_string(created_.size()) + ".ini";
    created_.push_back(path);
    return path;
  }

  // Every read of the engine on `ours` equals the platform's on `theirs`.
  void CompareReads(const std::string& ours, const std::string& theirs, const Names& names,
                    const std::string& label, const std::vector<size_t>& sizes,
                    const std::vector<std::string>& defaults) {
    IniFile engine(files_, ours);
    for (const std::string& section : names.sections) {
      for (const std::string& key : names.keys) {
        // Other spellings are asked once; the buffer sizes and defaults are
        // tried on the names as the file spells them.
        bool plain = names.plain.count(section) && names.plain.count(key);
        for (const std::string& def : defaults) {
          if (!plain && &def != &defaults.front()) break;
          std::string full = Platform::Get(theirs, section, key, def, 8192);
          std::string raw = RawValue(ours, section, key, def);
          for (size_t size : sizes) {
            if (!plain && size != sizes.front()) break;
            // Deliberate differences: the engine never returns half a
            // double-byte character, and keeps the last character of a
            // quoted value that exactly fills the buffer.
            if (CutSplitsCharacter(full, size)) continue;
            if (Quoted(raw) && size == WideLength(full) + 1) continue;
            std::string want = Platform::Get(theirs, section, key, def, size);
            std::string got = engine.GetString(section, key, def, size);
            ASSERT_EQ(Escaped(got), Escaped(want))
                << label << ": [" << Escaped(section) << "] " << Escaped(key) << " default '"
                << Escaped(def) << "' size " << size;
          }
        }
        int want = Platform::GetInt(theirs, section, key, -7);
        ASSERT_EQ(engine.GetInt(section, key, -7), want)
            << label << ": int [" << Escaped(section) << "] " << Escaped(key);
      }
    }
  }

  // The value before its quotes are taken off, as the engine sees it.
  std::string RawValue(const std::string& path, const std::string& section,
                       const std::string& key, const std::string& def) {
    std::string bytes;
    files_.ReadAll(path, bytes);
    auto value = ini::IniText(bytes).Find(section, key);
    return std::string(value ? *value : ini::ShapeDefault(def));
  }

  void CheckReads(bool cp932) {
    for (const Sample& sample : Samples()) {
      if (sample.needs_cp932 != cp932) continue;
      std::string path = Put(sample.bytes);
      CompareReads(path, path, NamesIn(sample.bytes), sample.name,
                   {4096, 261, 128, 32, 8, 5, 4, 3, 2, 1, 0}, {"", "def", "'q'", "x  ", "\"a\" "});
    }
  }

  void CheckWrites(bool cp932) {
    const std::vector<std::string> values = {
        "new", "", "  spaced  ", "\"q v\"", "\x93\xFA\x96\x7B\x8C\xEA" /* 日本語 */,
        "\xB1\xB2\xB3" /* ｱｲｳ */, "a=b;c", "[x]"};
    for (const Sample& sample : Samples()) {
      if (sample.needs_cp932 != cp932 || sample.rewrite_changes_reads) continue;
      Names names = NamesIn(sample.bytes);
      size_t n = 0;
      for (const std::string& section : Pick(names.section_order, "NewSection")) {
        for (const std::string& key : Pick(names.key_order, "added")) {
          const std::string& value = values[n++ % values.size()];
          // A name ending in a lone lead byte would swallow the "]" or "="
          // after it; the engine refuses to write it.
          if (EndsInLoneLead(section) || EndsInLoneLead(key)) continue;
          std::string ours = Put(sample.bytes);
          std::string theirs = Put(sample.bytes);
          IniFile engine(files_, ours);
          ASSERT_TRUE(engine.WriteString(section, key, value)) << sample.name;
          ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                                 theirs.c_str()));
          WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());
          Names after = names;
          AddName(after.sections, after.plain, section);
          AddName(after.keys, after.plain, key);
          std::string label = std::string(sample.name) + " after writing [" + Escaped(section) +
                              "] " + Escaped(key) + "=" + Escaped(value);
          // The platform reads the engine's file as the engine reads the
          // platform's, and both as the platform reads its own.
          CompareReads(ours, theirs, after, label + " (engine file)", {4096, 128}, {"d"});
          CompareReads(theirs, ours, after, label + " (platform file)", {4096}, {"d"});
          if (HasFatalFailure()) return;
        }
      }
    }
  }

  StdFiles files_;
  std::string dir_;
  std::vector<std::string> created_;
};

TEST_F(ProfileVsWindows, ReadsAsThePlatformReads) { CheckReads(false); }

TEST_F(ProfileVsWindows, ReadsShiftJisAsThePlatformReads) {
  if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
  CheckReads(true);
}

TEST_F(ProfileVsWindows, MissingFileGivesTheDefault) {
  std::string path = FreshPath();
  Names names{{"S"}, {"k"}, {"S", "k"}, {}, {}};
  CompareReads(path, path, names, "missing file", {4096, 3, 1}, {"", "def", "'q'", "x  "});
}

TEST_F(ProfileVsWindows, WritesReadBackAsThePlatformsWrites) { CheckWrites(false); }

TEST_F(ProfileVsWindows, ShiftJisWritesReadBackAsThePlatformsWrites) {
  if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
  CheckWrites(true);
}

TEST_F(ProfileVsWindows, ShiftJisFileNameReachesTheSameFile) {
  if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
  std::string path = dir_ + "\x93\xFA\x96\x7B\x95\x5C.ini";  // 日本表.ini
  created_.push_back(path);
  // Wine without a Japanese locale on the host system cannot store the name.
  if (!WritePrivateProfileStringA("S", "probe", "1", path.c_str()))
    GTEST_SKIP() << "the system cannot create this file name";
  IniFile engine(files_, path);
  ASSERT_TRUE(engine.WriteString("S", "k", "\x95\x5C"));
  EXPECT_EQ(Platform::Get(path, "S", "k", "", 100), "\x95\x5C");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "w", "2", path.c_str()));
  EXPECT_EQ(engine.GetInt("S", "w", 0), 2);
}

}  // namespace
}  // namespace tellu
