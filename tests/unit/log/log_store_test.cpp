#include "log/log_store.h"

#include <gtest/gtest.h>

#include <string>

namespace tellu {
namespace {

TEST(LogStore, EntitiesAreReplacedOnAppend) {
  LogStore store;
  EXPECT_EQ(store.Append("{a -> b}", "&lt;x&gt; &gt;&gt;").text, "<x> >>");
  EXPECT_EQ(ReplaceLogEntities("&lt;&lt;&lt"), "<<&lt");
  EXPECT_EQ(ReplaceLogEntities("&amp;lt;"), "&amp;lt;");
}

TEST(LogStore, AppendGoesToPendingAndFillCounts) {
  LogStore store;
  for (int i = 0; i < 512; ++i) store.Append("<a>", std::to_string(i));
  EXPECT_EQ(store.pending().size(), 512u);
  EXPECT_TRUE(store.shown().empty());
  EXPECT_EQ(store.fill(), 50);
  store.Append("<a>", "x");
  EXPECT_EQ(store.fill(), 50);  // 513 * 100 / 1024 rounds down
  for (int i = 0; i < 10; ++i) store.Append("<a>", "y");
  EXPECT_EQ(store.fill(), 51);
}

TEST(LogStore, TrimTakesTheOldestShownEntriesFirst) {
  LogStore store;
  for (int i = 0; i < 1000; ++i) store.Append("<a>", "s" + std::to_string(i));
  store.TakePending();
  for (int i = 0; i < 24; ++i) store.Append("<a>", "p" + std::to_string(i));
  EXPECT_EQ(store.size(), 1024u);
  EXPECT_EQ(store.fill(), 100);

  store.Append("<a>", "new");
  EXPECT_EQ(store.size(), 1024u);
  EXPECT_EQ(store.fill(), 100);
  EXPECT_EQ(store.shown().size(), 999u);
  EXPECT_EQ(store.shown().front().text, "s1");
  EXPECT_EQ(store.pending().back().text, "new");
}

TEST(LogStore, TrimFallsBackToPendingWhenNothingIsShown) {
  LogStore store;
  for (int i = 0; i < 1030; ++i) store.Append("<a>", std::to_string(i));
  EXPECT_EQ(store.pending().size(), 1024u);
  EXPECT_EQ(store.pending().front().text, "6");
  EXPECT_EQ(store.pending().back().text, "1029");
}

TEST(LogStore, WhisperIsTheBracePrefix) {
  EXPECT_TRUE(IsWhisperEntry({"{a -> b}", ""}));
  EXPECT_FALSE(IsWhisperEntry({"<a>", ""}));
  EXPECT_FALSE(IsWhisperEntry({"", ""}));
}

}  // namespace
}  // namespace tellu
