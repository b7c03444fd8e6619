// Test double of the Net port: connections in memory that a test accepts,
// feeds in any split, watches and closes from the far side.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net.h"

namespace tellu {

class FakeNet : public Net {
 public:
  // The far end of one connection, driven by the test.  It lives as long as
  // the FakeNet, whatever the program does with its side.
  class Peer {
   public:
    // Bytes from the far end, delivered to the program as one chunk.  Bytes
    // fed before the program set its handlers wait for the next Feed.
    void Feed(std::string_view bytes);
    // The far end closes; the program hears of it.
    void Close();
    // An outgoing connect succeeds (with the program's local address) or fails.
    void Complete(const std::string& local_address = "192.0.2.10");
    void Fail();

    const std::string& sent() const { return sent_; }
    std::string TakeSent();
    bool open() const { return state_ == State::Open; }
    bool connecting() const { return state_ == State::Connecting; }
    bool closed_by_program() const { return closed_by_program_; }
    // The program's side still exists (has not been destroyed).
    bool held() const { return held_; }
    const std::string& host() const { return host_; }
    int port() const { return port_; }

   private:
    friend class FakeNet;
    friend class FakeStream;
    enum class State { Connecting, Open, Closed };
    State state_ = State::Open;
    bool closed_by_program_ = false;
    bool held_ = true;
    std::string sent_, waiting_;
    std::string local_, peer_, host_;
    int port_ = 0;
    Stream::DataFn data_;
    Stream::ClosedFn closed_;
    ConnectFn done_;
  };

  std::unique_ptr<Listener> Listen(int port, AcceptFn accept) override;
  std::unique_ptr<Stream> Connect(const std::string& host, int port, ConnectFn done) override;

  // A new connection to a listening port; nullptr when nothing listens there.
  Peer* Accept(int port, const std::string& peer_address = "127.0.0.1");
  bool Listening(int port) const { return listeners_.count(port) != 0; }
  // Every outgoing connect, oldest first.
  const std::vector<Peer*>& connects() const { return connects_; }
  Peer* LastConnect() const { return connects_.empty() ? nullptr : connects_.back(); }

 private:
  friend class FakeListener;
  std::map<int, AcceptFn> listeners_;
  std::vector<std::unique_ptr<Peer>> peers_;
  std::vector<Peer*> connects_;
  int next_port_ = 40000;
};

}  // namespace tellu
