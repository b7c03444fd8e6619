// Net port: TCP listening, asynchronous connects and buffered stream
// connections on the event loop.  Addresses are IPv4; text is dotted.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tellu {

// One TCP connection.  Destroying it closes it.  Callbacks run on the loop,
// never from inside a call of this interface, and never after Close(); a
// callback may close or destroy this or any other connection.
class Stream {
 public:
  using DataFn = std::function<void(std::string_view bytes)>;
  using ClosedFn = std::function<void()>;
  virtual ~Stream() = default;

  // Received bytes arrive in chunks of any size; closed tells that the peer
  // closed or the connection failed.  Nothing is read before this is called,
  // so bytes that arrive earlier wait.
  virtual void SetHandlers(DataFn data, ClosedFn closed) = 0;
  // Queues bytes for sending, in order.  Nothing queued is dropped while the
  // connection is open; Close() still sends what is queued.
  virtual void Send(std::string_view bytes) = 0;
  virtual void Close() = 0;
  // True from the moment of connection until closed by either side.
  virtual bool IsOpen() const = 0;
  // Dotted IPv4 text of each end; empty before the connection is made.
  virtual std::string LocalAddress() const = 0;
  virtual std::string PeerAddress() const = 0;
  // True when the other end is on this machine's loopback network.
  virtual bool PeerIsLoopback() const = 0;
};

// A listening socket; destroying it stops listening.
class Listener {
 public:
  virtual ~Listener() = default;
  // The port listened on (the one chosen by the system when 0 was asked).
  virtual int Port() const = 0;
};

// Every Net holds its streams to one rule of back-pressure: while one of
// them has more than 256 KB queued and unsent, the others leave their input
// unread until it has drained below 64 KB.  What they would read is mostly
// bound for it (the relay), so a peer that stops reading makes the senders
// wait in the kernel instead of filling this program's memory.  A stream's
// data callback is never entered again while it runs; a read that arrives
// meanwhile waits for the next loop round.
class Net {
 public:
  // A new connection; a failed accept is not reported.
  using AcceptFn = std::function<void(std::unique_ptr<Stream> connection)>;
  // The outcome of a connect; after false the stream stays closed.
  using ConnectFn = std::function<void(bool connected)>;
  virtual ~Net() = default;

  // Listens on every local address; nullptr when the port cannot be had.
  virtual std::unique_ptr<Listener> Listen(int port, AcceptFn accept) = 0;
  // Starts a connect to a dotted address or host name; done is called later,
  // exactly once, unless the stream is closed first.  Bytes sent before the
  // connection is made wait for it.
  virtual std::unique_ptr<Stream> Connect(const std::string& host, int port,
                                          ConnectFn done) = 0;
};

}  // namespace tellu
