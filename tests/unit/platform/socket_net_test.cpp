#include "platform/socket_net.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/platform/stream_rig.h"

namespace tellu {
namespace {

// What a scripted system answers to the listener's and the connect's calls.
struct SystemScript {
  // Accept's answers in turn: a connection's wire, or nullptr for one that
  // failed; none left: the queue is empty.
  std::deque<Wire*> waiting;
  bool listen_ok = true, listen_notify_ok = true;
  int listens = 0, accepts = 0, listen_releases = 0;
  std::function<void()> ready;  // the listener's notification

  bool resolves = true;
  int resolves_asked = 0;
  Wire* socket = nullptr;  // nullptr: none to be had
};

class ScriptedListenIo : public ListenIo {
 public:
  explicit ScriptedListenIo(SystemScript& s) : s_(s) {}
  bool Notify(std::function<void()> ready) override {
    if (s_.listen_notify_ok) s_.ready = std::move(ready);
    return s_.listen_notify_ok;
  }
  std::unique_ptr<StreamIo> Accept(bool& more) override {
    ++s_.accepts;
    more = !s_.waiting.empty();
    if (!more) return nullptr;
    Wire* wire = s_.waiting.front();
    s_.waiting.pop_front();
    if (!wire) return nullptr;
    return std::make_unique<ScriptedIo>(*wire);
  }
  void Release() override {
    ++s_.listen_releases;
    s_.ready = nullptr;
  }
  int Port() const override { return 4321; }

 private:
  SystemScript& s_;
};

class ScriptedCalls : public SocketCalls {
 public:
  explicit ScriptedCalls(SystemScript& s) : s_(s) {}
  std::unique_ptr<ListenIo> Listen(int) override {
    ++s_.listens;
    if (!s_.listen_ok) return nullptr;
    return std::make_unique<ScriptedListenIo>(s_);
  }
  bool Resolve(const std::string&, uint32_t& address) override {
    ++s_.resolves_asked;
    address = 0x0A000001;
    return s_.resolves;
  }
  std::unique_ptr<StreamIo> Socket() override {
    if (!s_.socket) return nullptr;
    return std::make_unique<ScriptedIo>(*s_.socket);
  }

 private:
  SystemScript& s_;
};

class SocketNetTest : public StreamTest {
 protected:
  SocketNetTest() {
    auto loop = std::make_unique<ScriptedLoop>();
    net_loop_ = loop.get();
    net_ = std::make_unique<SocketNet>(std::move(loop), std::make_unique<ScriptedCalls>(system_));
  }
  void TearDown() override {
    net_loop_->Settle();
    StreamTest::TearDown();
  }

  SystemScript system_;
  ScriptedLoop* net_loop_;
  std::unique_ptr<SocketNet> net_;
};

TEST_F(SocketNetTest, TheAcceptLoopTakesWhatWaitsAndDropsWhatFails) {
  struct Case {
    const char* name;
    std::string queue;  // c: a connection, x: a failed accept, n: no notifications for it
    size_t stop_after;  // the accept callback stops listening after so many (0: never)
    size_t accepted, left, accepted_later;
  };
  const Case cases[] = {
      {"several waiting, all taken", "ccc", 0, 3, 0, 3},
      {"a failed accept is dropped, the rest taken", "cxxc", 0, 2, 0, 2},
      {"one without notifications is closed, not handed on", "cnc", 0, 2, 0, 2},
      {"a flood is taken sixteen at a time", std::string(20, 'c'), 0, 16, 4, 20},
      {"stopped inside the loop, it takes no more", "cccc", 2, 2, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    system_ = SystemScript{};
    std::vector<Wire*> wires;
    for (char k : c.queue) {
      Wire* w = k == 'x' ? nullptr : &NewWire();
      if (k == 'n') w->notify_ok = false;
      wires.push_back(w);
      system_.waiting.push_back(w);
    }
    std::vector<std::unique_ptr<Stream>> accepted;
    std::unique_ptr<Listener> listener;
    listener = net_->Listen(0, [&](std::unique_ptr<Stream> s) {
      accepted.push_back(std::move(s));
      if (accepted.size() == c.stop_after) listener.reset();
    });
    ASSERT_TRUE(listener);
    EXPECT_EQ(listener->Port(), 4321);
    EXPECT_EQ(system_.accepts, 0) << "accepted before told";
    ASSERT_TRUE(system_.ready);
    // A copy, as a loop calls a watch: stopping drops the system's own.
    auto ready = system_.ready;
    ready();
    EXPECT_EQ(accepted.size(), c.accepted);
    EXPECT_EQ(system_.waiting.size(), c.left);
    EXPECT_EQ(system_.listen_releases, listener ? 0 : 1);
    EXPECT_EQ(!system_.ready, !listener) << "still told after it stopped";
    if (system_.ready) (ready = system_.ready)();
    EXPECT_EQ(accepted.size(), c.accepted_later);
    for (const auto& s : accepted) {
      EXPECT_TRUE(s->IsOpen());
      EXPECT_EQ(s->PeerAddress(), "127.0.0.1");
    }
    for (size_t i = 0; i < wires.size(); ++i) {
      if (wires[i] && !wires[i]->notify_ok) {
        EXPECT_EQ(wires[i]->releases, 1) << "left open: " << i;
      }
    }
    listener.reset();
    EXPECT_EQ(system_.listen_releases, 1) << "released more or less than once";
  }
}

TEST_F(SocketNetTest, AListenerIsHadOnlyWithAPortTheSystemGivesAndItsNotifications) {
  struct Case {
    const char* name;
    int port;
    bool listen_ok, notify_ok;
    int listens, releases;
    bool had;
  };
  const Case cases[] = {
      {"any port", 0, true, true, 1, 0, true},
      {"the highest port", 0xFFFF, true, true, 1, 0, true},
      {"below the range: never asked", -1, true, true, 0, 0, false},
      {"above the range: never asked", 0x10000, true, true, 0, 0, false},
      {"a port the system refuses", 4000, false, true, 1, 0, false},
      {"no notifications to be had", 4000, true, false, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    system_ = SystemScript{};
    system_.listen_ok = c.listen_ok;
    system_.listen_notify_ok = c.notify_ok;
    auto listener = net_->Listen(c.port, [](std::unique_ptr<Stream>) {});
    EXPECT_EQ(listener != nullptr, c.had);
    EXPECT_EQ(system_.listens, c.listens);
    EXPECT_EQ(system_.listen_releases, c.releases);
  }
}

TEST_F(SocketNetTest, AConnectIsToldFromTheLoopOnceAndOnlyASoundOneStarts) {
  struct Case {
    const char* name;
    std::string host;
    int port;
    bool resolves, socket, notify_ok, connect_ok;
    int resolves_asked;
    bool connected;
  };
  const Case cases[] = {
      {"a sound target connects", "peer.example", 80, true, true, true, true, 1, true},
      {"no host", "", 80, true, true, true, true, 0, false},
      {"a NUL in the host", std::string("a\0b", 3), 80, true, true, true, true, 0, false},
      {"port 0", "peer.example", 0, true, true, true, true, 0, false},
      {"a port above the range", "peer.example", 0x10000, true, true, true, true, 0, false},
      {"a name that does not resolve", "nowhere", 80, false, true, true, true, 1, false},
      {"no socket to be had", "peer.example", 80, true, false, true, true, 1, false},
      {"no notifications to be had", "peer.example", 80, true, true, false, true, 1, false},
      {"the connect cannot start", "peer.example", 80, true, true, true, false, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    system_ = SystemScript{};
    Wire& w = NewWire();
    w.notify_ok = c.notify_ok;
    w.connect_ok = c.connect_ok;
    system_.resolves = c.resolves;
    system_.socket = c.socket ? &w : nullptr;
    int told = 0;
    bool outcome = false;
    auto stream = net_->Connect(c.host, c.port, [&](bool ok) {
      ++told;
      outcome = ok;
    });
    EXPECT_EQ(told, 0) << "told inside Connect";
    EXPECT_EQ(system_.resolves_asked, c.resolves_asked);
    stream->Send("early");
    if (w.core) {
      EXPECT_EQ(w.connected_to.address, 0x0A000001u);
      EXPECT_EQ(w.connected_to.port, c.port);
      EXPECT_TRUE(w.want_write) << "a connect is told by writability";
      w.core->Connected(true);
    }
    net_loop_->Settle();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(outcome, c.connected);
    EXPECT_EQ(stream->IsOpen(), c.connected);
    EXPECT_EQ(w.sent, c.connected ? "early" : "");
    const bool made = c.resolves_asked > 0 && c.resolves && c.socket;
    EXPECT_EQ(w.releases, made && !c.connected ? 1 : 0);
  }
}

}  // namespace
}  // namespace tellu
