// Scripted sockets and loop for the stream core: every answer a system call
// gives is set by the test, and the loop runs only when the test says.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>

#include "platform/deferred_calls.h"
#include "platform/stream_core.h"

namespace tellu {

class ScriptedLoop : public StreamLoop {
 public:
  void Defer(std::function<void()> fn) override { calls_.Push(std::move(fn)); }
  uintptr_t StartTimer(int, std::function<void()> fire) override {
    timers_[++next_] = std::move(fire);
    return next_;
  }
  void CancelTimer(uintptr_t id) override { timers_.erase(id); }

  void Round() { calls_.RunRound(nullptr); }
  // Rounds until nothing is deferred (a bounded number: a call that defers
  // itself for ever is a fault of its own).
  void Settle() {
    for (int i = 0; i < 100 && !calls_.empty(); ++i) Round();
    EXPECT_TRUE(calls_.empty()) << "the loop never came to rest";
  }
  size_t timers() const { return timers_.size(); }
  void FireTimers() {
    auto due = std::move(timers_);
    timers_.clear();
    for (auto& [id, fire] : due) fire();
  }

 private:
  DeferredCalls calls_;
  std::map<uintptr_t, std::function<void()>> timers_;
  uintptr_t next_ = 0;
};

// What one scripted socket answers and what was asked of it.
struct Wire {
  // One answer to Receive: bytes, or 0 (the end), kWouldBlock, kFailed.
  using Read = std::variant<std::string, long>;
  std::deque<Read> reads;     // none left: would block
  std::deque<long> room;      // bytes each Transmit takes; none left: all
  StreamIo::End local{0x7F000001, 1000}, peer{0x7F000001, 2000};
  bool notify_ok = true, connect_ok = true;

  std::shared_ptr<StreamCore> core;  // held by the notification, as on a system
  std::string sent;
  int receives = 0, transmits = 0, releases = 0;
  bool graceful = false, want_read = false, want_write = false;
  StreamIo::End connected_to{};
};

class ScriptedIo : public StreamIo {
 public:
  explicit ScriptedIo(Wire& wire) : w_(wire) {}
  bool Notify(const std::shared_ptr<StreamCore>& core) override {
    if (w_.notify_ok) w_.core = core;
    return w_.notify_ok;
  }
  bool Connect(const End& to) override {
    w_.connected_to = to;
    return w_.connect_ok;
  }
  long Receive(char* buffer, size_t size) override {
    ++w_.receives;
    if (w_.reads.empty()) return kWouldBlock;
    Wire::Read next = std::move(w_.reads.front());
    w_.reads.pop_front();
    if (const long* code = std::get_if<long>(&next)) return *code;
    std::string& bytes = std::get<std::string>(next);
    EXPECT_LE(bytes.size(), size);
    bytes.copy(buffer, size);
    return static_cast<long>(bytes.size());
  }
  long Transmit(const char* bytes, size_t size) override {
    ++w_.transmits;
    long n = static_cast<long>(size);
    if (!w_.room.empty()) {
      n = w_.room.front();
      w_.room.pop_front();
      if (n > static_cast<long>(size)) n = static_cast<long>(size);
    }
    if (n > 0) w_.sent.append(bytes, static_cast<size_t>(n));
    return n;
  }
  void Want(bool read, bool write) override {
    w_.want_read = read;
    w_.want_write = write;
  }
  bool Ends(End& local, End& peer) override {
    local = w_.local;
    peer = w_.peer;
    return true;
  }
  void Release(bool graceful) override {
    ++w_.releases;
    w_.graceful = graceful;
    w_.core.reset();
  }

 private:
  Wire& w_;
};

// The loop and group the streams of a test share.  Wires live as long as
// the test, so what a stream did can be read after it is gone.
class StreamTest : public ::testing::Test {
 protected:
  StreamTest() { Fresh(); }
  void TearDown() override { EndAll(); }

  // A loop and group of its own for the next case, the last one's streams
  // ended: one left congested would hold the next case's back.
  void Fresh() {
    if (loop_) EndAll();
    auto loop = std::make_unique<ScriptedLoop>();
    loop_ = loop.get();
    group_ = std::make_shared<StreamGroup>(std::move(loop));
  }

  Wire& NewWire() { return wires_.emplace_back(); }
  // A stream as an accept makes one.
  std::shared_ptr<StreamCore> Open(Wire& w) {
    auto io = std::make_unique<ScriptedIo>(w);
    ScriptedIo* raw = io.get();
    auto core = std::make_shared<StreamCore>(group_, std::move(io), StreamCore::State::kOpen);
    raw->Notify(core);
    core->Begin();
    return core;
  }

  ScriptedLoop* loop_ = nullptr;
  std::shared_ptr<StreamGroup> group_;
  std::deque<Wire> wires_;

 private:
  void EndAll() {
    loop_->Settle();
    for (Wire& w : wires_) w.core.reset();
    loop_->Settle();
  }
};

}  // namespace tellu
