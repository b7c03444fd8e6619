#include <gtest/gtest.h>

#include "chat/objects.h"
#include "unit/chat/movement_recording_relay.h"

namespace tellu {
namespace {

const Position kPos{10, -20, 97, 81};

bool AllFree(const ObjectTable& t) {
  for (int n = 0; n <= 13; ++n) {
    const ObjectRecord& r = t.Get(n);
    if (!r.name.empty() || !r.avatar.empty() || r.pos != Position{} || r.room != 0) return false;
  }
  return true;
}

TEST(ObjectTable, NumbersOutside1To11ChangeNothing) {
  ObjectTable t;
  for (int n : {0, 12, 13, 255, -1, 1000}) {
    t.SetObject(n, "x", "y");
    t.SetAvatar(n, "y");
    t.SetPosition(n, kPos);
    t.SetPosition(n, Bytes("\x01\x02\x03\x04\x05\x06\x07\x08"));
    t.SetRoom(n, 5);
    t.EmptyObject(n);
  }
  EXPECT_TRUE(AllFree(t));
}

TEST(ObjectTable, SetObjectAndPositionFromBytes) {
  ObjectTable t;
  t.SetObject(11, "ann", "av\\a.mov");
  t.SetPosition(11, Bytes("\x00\x0A\xFF\xEC\x00\x61\x00\x51"));
  t.SetRoom(11, 200);
  const ObjectRecord& r = t.Get(11);
  EXPECT_EQ(r.name, "ann");
  EXPECT_EQ(r.avatar, "av\\a.mov");
  EXPECT_EQ(r.pos, kPos);
  EXPECT_EQ(r.room, 200);
}

TEST(ObjectTable, PositionCutShortStoresZeroForMissingBytes) {
  ObjectTable t;
  t.SetPosition(2, kPos);
  t.SetPosition(2, Bytes("\x00\x07\x00"));
  EXPECT_EQ(t.Get(2).pos, (Position{7, 0, 0, 0}));
}

TEST(ObjectTable, EmptyObjectFreesItButKeepsPositionAndRoom) {
  ObjectTable t;
  t.SetObject(4, "ann", "av");
  t.SetPosition(4, kPos);
  t.SetRoom(4, 3);
  t.EmptyObject(4);
  EXPECT_EQ(t.Get(4).name, "");
  EXPECT_EQ(t.Get(4).avatar, "");
  EXPECT_EQ(t.Get(4).pos, kPos);
  EXPECT_EQ(t.Get(4).room, 3);
}

TEST(ObjectTable, EmptyingAFreeObjectChangesNothing) {
  ObjectTable t;
  t.SetObject(4, "", "left-over");
  t.EmptyObject(4);
  EXPECT_EQ(t.Get(4).avatar, "left-over");
}

TEST(ObjectTable, EmptyOthersKeepsTheUser) {
  ObjectTable t;
  for (int n = 1; n <= 11; ++n) t.SetObject(n, "p" + std::to_string(n), "a");
  t.EmptyOthers();
  EXPECT_EQ(t.Own().name, "p1");
  for (int n = 2; n <= 11; ++n) EXPECT_EQ(t.Get(n).name, "") << n;
}

TEST(ObjectTable, FindOtherTakesTheFirstNamedMatch) {
  ObjectTable t;
  t.SetObject(1, "ann", "");
  EXPECT_EQ(t.FindOther("ann"), 0) << "the user is not searched";
  t.SetObject(7, "ann", "");
  t.SetObject(3, "ann", "");
  EXPECT_EQ(t.FindOther("ann"), 3);
  EXPECT_EQ(t.FindOther("an"), 0);
  EXPECT_EQ(t.FindOther(""), 0) << "a free object is nobody";
}

// --- marks ---------------------------------------------------------------

TEST(MarkOf, TelluUserShowsTheStatusFromDir) {
  Mark away = MarkOf({0, 0, 97, 81});
  EXPECT_EQ(away.companion, Companion::kTellu);
  EXPECT_EQ(away.status, 1);
  EXPECT_EQ(away.label, "\x97\xA3\x90\xC8\x92\x86");  // 離席中
  EXPECT_EQ(away.bitmap, 152);

  Mark bit3 = MarkOf({0, 0, 97, 89});
  EXPECT_EQ(bit3.status, 0);
  EXPECT_EQ(bit3.label, "\x92\xCA\x8F\xED\x8F\xF3\x91\xD4");  // 通常状態
  EXPECT_EQ(bit3.bitmap, 151);

  EXPECT_EQ(MarkOf({0, 0, 97, 87}).bitmap, 163);
}

TEST(MarkOf, MarksOfNegativeValuesAreTheirLowFourBits) {
  // -15 is ...FFF1; -175 is ...FF51.
  Mark m = MarkOf({0, 0, -15, -175});
  EXPECT_EQ(m.companion, Companion::kTellu);
  EXPECT_EQ(m.status, 1);
}

TEST(MarkOf, MiraboUser) {
  Mark normal = MarkOf({0, 0, 4, 0});
  EXPECT_EQ(normal.companion, Companion::kMirabo);
  EXPECT_EQ(normal.label, "Mirabo");
  EXPECT_EQ(normal.bitmap, 164);
  EXPECT_EQ(MarkOf({0, 0, 4, 8 + 5}).bitmap, 164);
  Mark heart = MarkOf({0, 0, 20, 5});
  EXPECT_EQ(heart.label, "\x83\x6E\x81\x5B\x83\x67\x92\x86");  // ハート中
  EXPECT_EQ(heart.bitmap, 169);
}

TEST(MarkOf, OtherZMarksHaveNoStatus) {
  for (int z : {0, 2, 3, 5, 14, 15}) {
    Mark m = MarkOf({0, 0, static_cast<int16_t>(z), 1});
    EXPECT_EQ(m.companion, Companion::kNone) << z;
    EXPECT_EQ(m.bitmap, kNoStatusBitmap) << z;
    EXPECT_TRUE(m.label.empty()) << z;
    EXPECT_EQ(m.hash, z == 15) << z;
  }
}

// --- Who lines -----------------------------------------------------------

ObjectRecord Person(std::string name, std::string avatar, int16_t z = 0) {
  ObjectRecord r;
  r.name = std::move(name);
  r.avatar = std::move(avatar);
  r.pos.z = z;
  return r;
}

TEST(WhoLine, NameInItsColumnThenAvatarName) {
  EXPECT_EQ(WhoLine(Person("ann", "avatar\\bear.mov")), "ann         bear");
  EXPECT_EQ(WhoLine(Person("ann", "")), "ann         ");
  EXPECT_EQ(WhoLine(Person("abcd", "a\\b.c")), "abcd         b");
}

TEST(WhoLine, LongNamesGetNoBlanks) {
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "a\\bear.mov")), "abcdefghijklmbear");
  EXPECT_EQ(WhoLine(Person("abcdefghijklmno", "a\\bear.mov")), "abcdefghijklmbear");
}

TEST(WhoLine, CutNeverSplitsADoubleByteCharacter) {
  // 12 bytes, then "あ" across bytes 13 and 14.
  EXPECT_EQ(WhoLine(Person("abcdefghijkl\x82\xA0", "a\\bear.mov")), "abcdefghijkl bear");
}

TEST(WhoLine, AvatarReferenceWithoutBackslashOrDot) {
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "bear.mov")), "abcdefghijklmbear");
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "avatar\\bear")), "abcdefghijklmbear");
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "a.b\\c.d")), "abcdefghijklmc");
}

TEST(WhoLine, BackslashInsideADoubleByteCharacterIsNoSeparator) {
  // "ソ" is 83 5C.
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "\x83\x5C\\x.mov")), "abcdefghijklmx");
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "\x83\x5C.mov")), "abcdefghijklm\x83\x5C");
}

TEST(WhoLine, ZMark15EndsInHash) {
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "a\\b.c", 0x1F)), "abcdefghijklmb#");
  EXPECT_EQ(WhoLine(Person("abcdefghijklm", "a\\b.c", 0x11)), "abcdefghijklmb");
}

}  // namespace
}  // namespace tellu
