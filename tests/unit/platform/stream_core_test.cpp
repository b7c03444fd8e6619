#include "platform/stream_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "unit/platform/stream_rig.h"

namespace tellu {
namespace {

constexpr long kBlock = StreamIo::kWouldBlock;
constexpr long kFail = StreamIo::kFailed;
const std::string kChunk(64 * 1024, 'x');  // one full read

// What a stream's owner heard.
struct Heard {
  std::string data;
  int closed = 0;
  int depth = 0, deepest = 0;
};

void Hear(StreamCore& core, Heard& heard, std::function<void()> inside = {}) {
  core.SetHandlers(
      [&heard, inside](std::string_view bytes) {
        heard.deepest = std::max(heard.deepest, ++heard.depth);
        heard.data.append(bytes);
        if (inside) inside();
        --heard.depth;
      },
      [&heard] { ++heard.closed; });
}

class StreamCoreTest : public StreamTest {
 protected:
  // An open stream whose owner listens, after the loop has come to rest.
  std::shared_ptr<StreamCore> OpenHeard(Wire& w, Heard& heard) {
    auto core = Open(w);
    Hear(*core, heard);
    loop_->Settle();
    return core;
  }
  // One case of a table: a loop and group of its own, and such a stream
  // (core_, its owner heard_) on the wire returned.
  Wire& NextCase() {
    Fresh();
    Wire& w = NewWire();
    heard_ = Heard{};
    core_ = OpenHeard(w, heard_);
    return w;
  }

  std::shared_ptr<StreamCore> core_;
  Heard heard_;
};

TEST_F(StreamCoreTest, SendsAreWrittenOncePerRoundAndWhatIsLeftWaitsForRoom) {
  struct Case {
    const char* name;
    std::deque<long> room;
    int transmits;
    std::string sent;
    bool open, wants_write;
  };
  const Case cases[] = {
      {"taken at once", {}, 1, "hello world", true, false},
      {"partial writes in one flush", {3, 2, 6}, 3, "hello world", true, false},
      {"partial, then would block", {3, kBlock}, 2, "hel", true, true},
      {"would block at once", {kBlock}, 1, "", true, true},
      {"fails after a partial write", {4, kFail}, 2, "hell", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Wire& w = NextCase();
    w.room = c.room;
    core_->Send("hello ");
    core_->Send("world");
    EXPECT_EQ(w.transmits, 0) << "written inside Send";
    loop_->Round();
    EXPECT_EQ(w.transmits, c.transmits);
    EXPECT_EQ(w.sent, c.sent);
    EXPECT_EQ(core_->IsOpen(), c.open);
    EXPECT_EQ(heard_.closed, c.open ? 0 : 1);
    EXPECT_EQ(w.want_write, c.wants_write);
    // Room again: the rest follows in order, or nothing after a failure.
    core_->Writable();
    loop_->Settle();
    EXPECT_EQ(w.sent, c.open ? "hello world" : c.sent);
    EXPECT_FALSE(w.want_write);
    EXPECT_EQ(w.releases, c.open ? 0 : 1);
  }
}

TEST_F(StreamCoreTest, ReadsFollowTheNotificationAndTheEndIsToldOnce) {
  struct Case {
    const char* name;
    std::vector<Wire::Read> reads;
    bool peer_close;  // told apart from the reads, as Winsock does
    std::string heard;
    int closed;
    size_t left;
  };
  const Case cases[] = {
      {"one short read per notification", {"ab", "cd"}, false, "ab", 0, 1},
      {"a full read reads on", {kChunk, "cd"}, false, kChunk + "cd", 0, 0},
      {"four full reads, then the others' turn",
       {kChunk, kChunk, kChunk, kChunk, "e"}, false, kChunk + kChunk + kChunk + kChunk, 0, 1},
      {"would block", {kBlock, "ab"}, false, "", 0, 1},
      {"the end", {0L, "ab"}, false, "", 1, 1},
      {"a failure", {kFail}, false, "", 1, 0},
      {"the peer's close: what is unread first", {"ab", "cd", kBlock, "ef"}, true, "abcd", 1, 1},
      {"the peer's close: every full read, however many",
       {kChunk, kChunk, kChunk, kChunk, kChunk, 0L}, true, std::string(5 * kChunk.size(), 'x'), 1,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Wire& w = NextCase();
    w.reads.assign(c.reads.begin(), c.reads.end());
    if (c.peer_close)
      core_->PeerClosed();
    else
      core_->Readable();
    EXPECT_EQ(heard_.data, c.heard);
    EXPECT_EQ(heard_.closed, c.closed);
    EXPECT_EQ(w.reads.size(), c.left);
    EXPECT_EQ(w.releases, c.closed);
    EXPECT_EQ(core_->IsOpen(), c.closed == 0);
    loop_->Settle();
    EXPECT_EQ(heard_.closed, c.closed) << "told again";
  }
}

TEST_F(StreamCoreTest, BytesAndTheEndWaitForTheHandlers) {
  Wire& w = NewWire();
  w.reads = {"early", 0L};
  auto core = Open(w);
  core->Readable();
  loop_->Settle();
  EXPECT_EQ(w.receives, 0);
  Heard heard;
  Hear(*core, heard);
  EXPECT_EQ(heard.data, "") << "read inside SetHandlers";
  loop_->Settle();
  EXPECT_EQ(heard.data, "early");
  core->Readable();
  EXPECT_EQ(heard.closed, 1);
}

// Two streams of one Net: while the first has more than the high mark
// unsent, the second reads nothing until the first is below the low mark.
TEST_F(StreamCoreTest, AStreamAboveTheHighMarkHoldsTheOtherUntilBelowTheLowMark) {
  enum class Then { kDrain, kClose, kEnd };
  struct Case {
    const char* name;
    size_t queued;
    Then then;
    size_t left;  // unsent after kDrain
    bool far_end;
    bool held, held_after;
  };
  const size_t high = kStreamHighWater, low = kStreamLowWater;
  const Case cases[] = {
      {"at the high mark nobody is held", high, Then::kDrain, high, false, false, false},
      {"above it the other is held", high + 1, Then::kDrain, high + 1, false, true, true},
      {"drained to the low mark, still held", high + 1, Then::kDrain, low, false, true, true},
      {"below the low mark, let go", high + 1, Then::kDrain, low - 1, false, true, false},
      {"its own far end is never held", high + 1, Then::kDrain, high + 1, true, false, false},
      {"closing lets go while it lingers", high + 1, Then::kClose, 0, false, true, false},
      {"its end lets go", high + 1, Then::kEnd, 0, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Wire& a = NewWire();
    Wire& b = NewWire();
    a.local = {0x0A000001, 1000};
    a.peer = {0x0A000002, 2000};
    b.local = c.far_end ? a.peer : StreamIo::End{0x0A000003, 3000};
    b.peer = c.far_end ? a.local : StreamIo::End{0x0A000004, 4000};
    Heard to_a, to_b;
    auto sender = OpenHeard(a, to_a);
    auto reader = OpenHeard(b, to_b);
    a.room = {kBlock};
    b.reads = {"b"};
    sender->Send(std::string(c.queued, 'q'));
    EXPECT_EQ(b.want_read, !c.held);
    reader->Readable();
    EXPECT_EQ(to_b.data, c.held ? "" : "b");
    loop_->Settle();

    switch (c.then) {
      case Then::kDrain:
        if (c.queued > c.left) a.room.push_back(static_cast<long>(c.queued - c.left));
        a.room.push_back(kBlock);
        sender->Writable();
        break;
      case Then::kClose:
        a.room = {kBlock};
        sender->Close();
        break;
      case Then::kEnd:
        a.reads = {0L};
        sender->Readable();
        break;
    }
    // No new notification: reading starts again from the loop.
    loop_->Settle();
    EXPECT_EQ(b.want_read, !c.held_after);
    EXPECT_EQ(to_b.data, c.held_after ? "" : "b");
    EXPECT_EQ(a.sent.size(), c.then == Then::kDrain ? c.queued - c.left : 0);
  }
}

TEST_F(StreamCoreTest, TheEndWhileBytesAreQueued) {
  enum class End {
    kClose,
    kCloseNeverRead,
    kCloseThenFail,
    kDropHandle,
    kPeerEnd,
    kPeerCloseWhileClosing
  };
  struct Case {
    const char* name;
    End end;
    std::string sent;
    bool graceful;
    int told;
  };
  const Case cases[] = {
      {"closed: the rest still goes, then a graceful close", End::kClose, "abcdef", true, 0},
      {"closed and never read: given up after a while", End::kCloseNeverRead, "ab", true, 0},
      {"closed, then the send fails: the owner is not told", End::kCloseThenFail, "ab", true, 0},
      {"the handle dropped: kept until sent", End::kDropHandle, "abcdef", true, 0},
      {"the peer's end: nothing more goes, the owner is told", End::kPeerEnd, "ab", false, 1},
      {"the peer's close while closing ends it", End::kPeerCloseWhileClosing, "ab", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Wire& w = NextCase();
    w.room = {2, kBlock, kBlock};
    core_->Send("abcdef");
    loop_->Round();
    ASSERT_EQ(w.sent, "ab");

    std::weak_ptr<StreamCore> weak = core_;
    switch (c.end) {
      case End::kClose:
      case End::kCloseNeverRead:
      case End::kCloseThenFail:
      case End::kPeerCloseWhileClosing:
        core_->Close();
        break;
      case End::kDropHandle:
        MakeStream(std::move(core_)).reset();
        break;
      case End::kPeerEnd:
        w.reads = {0L};
        core_->Readable();
        break;
    }
    core_.reset();
    if (auto kept = weak.lock()) {
      EXPECT_FALSE(kept->IsOpen());
      kept->Send("zz");  // after the end: dropped
    }
    const bool lingering = w.releases == 0;
    EXPECT_EQ(lingering, c.end != End::kPeerEnd);
    EXPECT_EQ(loop_->timers(), lingering ? 1u : 0u);
    if (c.end == End::kCloseNeverRead) loop_->FireTimers();
    if (c.end == End::kCloseThenFail) w.room = {kFail};
    if (c.end == End::kPeerCloseWhileClosing && w.core) w.core->PeerClosed();
    if (w.core) w.core->Writable();
    loop_->Settle();
    EXPECT_EQ(w.sent, c.sent);
    EXPECT_EQ(w.releases, 1);
    EXPECT_EQ(w.graceful, c.graceful);
    EXPECT_EQ(heard_.closed, c.told);
    EXPECT_EQ(loop_->timers(), 0u);
    EXPECT_TRUE(weak.expired()) << "kept after its end";
  }
}

TEST_F(StreamCoreTest, ADataCallbackIsNeverEnteredAgainWhileItRuns) {
  Wire& w = NewWire();
  auto core = Open(w);
  Heard heard;
  bool first = true;
  Hear(*core, heard, [&] {
    if (!first) return;
    first = false;
    // A nested loop inside the callback: the system tells of more input.
    core->Readable();
    EXPECT_FALSE(w.want_read);
    loop_->Round();
    core->Readable();
  });
  loop_->Settle();
  w.reads = {"ab", "cd"};
  core->Readable();
  EXPECT_EQ(heard.data, "ab");
  EXPECT_EQ(w.reads.size(), 1u);
  loop_->Settle();
  EXPECT_EQ(heard.data, "abcd") << "the waiting read was lost";
  EXPECT_EQ(heard.deepest, 1);
  EXPECT_TRUE(w.want_read);
}

// A deferred call that opens a box runs a loop of its own: the streams'
// work queued behind it runs there instead of waiting for the box.
TEST_F(StreamCoreTest, DeferredWorkRunsWhileAnEarlierDeferredCallIsInANestedLoop) {
  Wire& w = NewWire();
  Wire& other = NewWire();
  Heard heard, heard_other;
  auto core = OpenHeard(w, heard);
  auto reader = Open(other);
  std::string sent_in_box, heard_in_box;
  bool box_done = false;
  loop_->Defer([&] {
    for (int i = 0; i < 3; ++i) loop_->Round();
    sent_in_box = w.sent;
    heard_in_box = heard_other.data;
    box_done = true;
  });
  core->Send("ping");  // its flush is queued behind the box
  other.reads = {"pong"};
  Hear(*reader, heard_other);  // and so is the read
  loop_->Round();
  EXPECT_TRUE(box_done);
  EXPECT_EQ(sent_in_box, "ping");
  EXPECT_EQ(heard_in_box, "pong");
}

}  // namespace
}  // namespace tellu
