// Framing: what is sent is read back whole, however the bytes arrive, and
// no stream of bytes can upset the reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.h"

namespace tellu::chatsim {
namespace {

std::vector<std::string> ReadAll(const std::vector<std::string>& chunks) {
  FrameReader reader;
  std::vector<std::string> got;
  for (const std::string& c : chunks) reader.Feed(c, [&](std::string_view p) { got.emplace_back(p); });
  return got;
}

TEST(Frame, LengthByteCountsItself) {
  EXPECT_EQ(Frame("abc"), std::string("\x04" "abc"));
  const std::string largest(kMaxPayload, 'x');
  EXPECT_EQ(static_cast<unsigned char>(Frame(largest)[0]), 255);
}

TEST(Frame, UnframeablePayloadsGiveNothing) {
  EXPECT_EQ(Frame(""), "");
  EXPECT_EQ(Frame(std::string(kMaxPayload + 1, 'x')), "");
}

TEST(FrameReader, MessagesSplitAnywhereComeOutWholeAndInOrder) {
  const std::string stream = Frame("first") + Frame(std::string(kMaxPayload, '\0')) + Frame("x");
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    const auto got = ReadAll({stream.substr(0, cut), stream.substr(cut)});
    ASSERT_EQ(got.size(), 3u) << "cut at " << cut;
    EXPECT_EQ(got[0], "first");
    EXPECT_EQ(got[1], std::string(kMaxPayload, '\0'));
    EXPECT_EQ(got[2], "x");
  }
}

TEST(FrameReader, ByteByByteIsTheSameAsAllAtOnce) {
  const std::string stream = Frame("one") + Frame("two");
  std::vector<std::string> bytes;
  for (char c : stream) bytes.emplace_back(1, c);
  EXPECT_EQ(ReadAll(bytes), ReadAll({stream}));
}

TEST(FrameReader, LengthBytesZeroAndOneCarryNothing) {
  FrameReader reader;
  std::vector<std::string> got;
  reader.Feed(std::string("\x00\x01", 2) + Frame("ok"), [&](std::string_view p) { got.emplace_back(p); });
  EXPECT_EQ(got, std::vector<std::string>{"ok"});
  EXPECT_FALSE(reader.Partial());
}

TEST(FrameReader, GarbageOnlyYieldsPayloadsAFrameCanHold) {
  uint32_t state = 12345;
  std::string junk;
  for (int i = 0; i < 100000; ++i) {
    state = state * 1103515245u + 12345u;
    junk.push_back(static_cast<char>(state >> 24));
  }
  FrameReader reader;
  std::size_t total = 0;
  reader.Feed(junk, [&](std::string_view p) {
    EXPECT_FALSE(p.empty());
    EXPECT_LE(p.size(), kMaxPayload);
    total += p.size() + 1;
  });
  EXPECT_LE(total, junk.size());
  EXPECT_GT(total, 0u);
}

}  // namespace
}  // namespace tellu::chatsim
