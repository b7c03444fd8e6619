#include "settings/dialog_edit.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

using Items = std::vector<std::string>;

// The box holds "Momo", "momotaro" and a double-byte handle whose trail
// byte is "a" (0x83 0x61); the combo box's sorted order is theirs.
TEST(MuteBox, AddAndDeleteGoByPrefixWithoutCase) {
  const Items items = {"Momo", "momotaro", "\x83\x61xy"};
  const struct {
    const char* typed;
    size_t deletes;  // the index "削除" takes
    bool adds;
  } cases[] = {
      {"mo", 0, false},        {"MOMOT", 1, false},   {"momotaro2", std::string::npos, true},
      {"Kai", std::string::npos, true}, {"\x83\x61", 2, false},
      {"\x83\x41", std::string::npos, true},  // another character, not the folded trail
      {"", std::string::npos, false},  {"a,b", std::string::npos, false},
      {" x", std::string::npos, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindByPrefix(items, c.typed), c.deletes) << c.typed;
    EXPECT_EQ(CanAddMute(items, c.typed), c.adds) << c.typed;
  }
}

TEST(LogFolder, TheLastThreeCharactersAreKept) {
  const struct {
    const char* log_name;
    const char* folder;
    const char* tail;
  } cases[] = {
      {"C:\\Tellu\\TE", "C:\\Tellu", "\\TE"},
      {"C:\\logs\\", "C:\\lo", "gs\\"},
      {"C:\\\x83\x5C\x83\x5C\\", "C:\\", "\x83\x5C\x83\x5C\\"},  // double-byte characters count once
      {"ab", "", "ab"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const LogNameSplit split = SplitLogName(c.log_name);
    EXPECT_EQ(split.folder, c.folder) << c.log_name;
    EXPECT_EQ(split.tail, c.tail) << c.log_name;
  }
}

TEST(DialogLimits, TheFirstValueTooLongToStoreIsNamed) {
  DialogSettings d;
  EXPECT_EQ(OverlongKey(d), nullptr);
  d.whisper_msg.assign(kMaxStoredText, 'x');
  d.mute_list.assign(2049, "a");  // with the commas, 4097 bytes
  EXPECT_STREQ(OverlongKey(d), "MuteList");
  d.ava_req_refuse_msg.assign(kMaxStoredText + 1, 'x');
  EXPECT_STREQ(OverlongKey(d), "AvaReqRefuseMsg");
}

}  // namespace
}  // namespace tellu
