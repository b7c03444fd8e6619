// The part of a TCP stream that is the same on every system: the send queue,
// one flush per loop round, loss and finish, back-pressure between the
// streams of one Net, and the checks on ports and addresses.  A platform
// adapter gives it the socket calls (StreamIo) and the loop (StreamLoop).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/net.h"

namespace tellu {

// Unsent bytes at which a stream holds the other streams' reading back, and
// at which it lets them go again.
constexpr size_t kStreamHighWater = 256 * 1024;
constexpr size_t kStreamLowWater = 64 * 1024;

// Ports a listener may ask for (0: any) and a connect may go to.
bool ListenPortOk(int port);
bool ConnectTargetOk(const std::string& host, int port);
// An IPv4 address in host order as dotted text, and whether it is loopback.
std::string DottedAddress(uint32_t address);
bool LoopbackAddress(uint32_t address);

// The loop a platform's sockets run on.
class StreamLoop {
 public:
  virtual ~StreamLoop() = default;
  // Runs fn after the events at hand.
  virtual void Defer(std::function<void()> fn) = 0;
  // One shot; an id of 0 means none could be had.
  virtual uintptr_t StartTimer(int ms, std::function<void()> fire) = 0;
  virtual void CancelTimer(uintptr_t id) = 0;
};

class StreamCore;

// One platform socket as the core sees it.  Its destructor closes the socket
// without touching the loop, which may be gone by then.
class StreamIo {
 public:
  static constexpr long kWouldBlock = -1;
  static constexpr long kFailed = -2;
  struct End {
    uint32_t address = 0;  // host order
    int port = 0;
  };
  virtual ~StreamIo() = default;
  // Starts the notifications, which go to `core` and hold it; false when
  // they cannot be had.
  virtual bool Notify(const std::shared_ptr<StreamCore>& core) = 0;
  // Starts a connect on a socket not yet connected; false when it cannot.
  virtual bool Connect(const End& to) = 0;
  // Bytes read (> 0), 0 at the peer's end, kWouldBlock or kFailed.
  virtual long Receive(char* buffer, size_t size) = 0;
  // Bytes taken (> 0), kWouldBlock or kFailed.
  virtual long Transmit(const char* bytes, size_t size) = 0;
  // The readiness the core wants to be told of from now on.
  virtual void Want(bool read, bool write) = 0;
  // Both ends of a connection just made; false when they cannot be had.
  virtual bool Ends(End& local, End& peer) = 0;
  // Ends the notifications and closes.  Graceful: unread input is drained
  // and the sending side shut first, so the close is not a reset that could
  // destroy what was just sent.
  virtual void Release(bool graceful) = 0;
};

// The streams of one Net.  While one of them has more unsent than its peer
// takes, the others leave their input unread: what they would read is mostly
// bound for it (the relay), and a peer that does not read must not make this
// program queue without limit.  The kernel's buffers then fill and the
// senders wait, as they would for a blocking write.
class StreamGroup {
 public:
  explicit StreamGroup(std::unique_ptr<StreamLoop> loop) : loop_(std::move(loop)) {}
  StreamLoop& loop() { return *loop_; }
  void Add(const std::shared_ptr<StreamCore>& stream);
  // Whether `reader` must leave its input unread for now.
  bool Holds(const StreamCore* reader) const;
  // A stream's queue crossed a mark; the others' reading changes with it.
  void Set(const StreamCore* stream, bool congested);
  // Without telling the others: for a stream going away.
  void Forget(const StreamCore* stream);

 private:
  std::unique_ptr<StreamLoop> loop_;  // the streams may outlive their Net
  std::vector<std::weak_ptr<StreamCore>> streams_;
  std::vector<const StreamCore*> congested_;
};

// One stream's state.  The adapter's notification holds it while the socket
// is open, so it outlives the user's handle until it has finished closing.
// Its data callback is never entered again while it runs: a read that comes
// meanwhile (a nested message loop) waits for the next loop round.
class StreamCore : public std::enable_shared_from_this<StreamCore> {
 public:
  enum class State { kConnecting, kOpen, kClosing, kClosed };

  StreamCore(std::shared_ptr<StreamGroup> group, std::unique_ptr<StreamIo> io, State state);
  ~StreamCore();
  StreamCore(const StreamCore&) = delete;
  StreamCore& operator=(const StreamCore&) = delete;

  // Joins the group and asks for the first notifications; an open stream
  // learns its ends first.
  void Begin();
  // A connect under way reports to done.
  void Connecting(Net::ConnectFn done) { done_ = std::move(done); }
  // A connect that could not start (perhaps without a socket: no io) is
  // reported from the loop all the same, unless closed first.
  void FailLater(Net::ConnectFn done);

  // What the adapter tells.  PeerClosed is for systems that report the
  // peer's close once and apart from the reads: what is unread is read
  // first, and the close told after it.
  void Connected(bool ok);
  void Readable();
  void Writable();
  void PeerClosed();

  void SetHandlers(Stream::DataFn data, Stream::ClosedFn closed);
  void Send(std::string_view bytes);
  void Close();
  bool connecting() const { return state_ == State::kConnecting; }
  bool IsOpen() const { return state_ == State::kOpen; }
  const std::string& local() const { return local_; }
  const std::string& peer() const { return peer_; }
  bool loopback() const { return loopback_; }
  // Whether `other` is this stream's far end in this same program: its
  // reading is what drains this one, so it is never held back by it.
  bool FarEndIs(const StreamCore& other) const;
  // The group's pressure changed.
  void Reconsider() { Watch(); }

 private:
  struct Handlers {
    Stream::DataFn data;
    Stream::ClosedFn closed;
  };

  bool Pending() const { return out_pos_ < out_.size(); }
  size_t Unsent() const { return out_.size() - out_pos_; }
  bool WantsRead() const;
  void Watch();
  void Established();
  void ScheduleFlush();
  void ScheduleRead();
  void ReadSome();
  void Flush();
  void Congested(bool congested);
  void Lost();
  void Finish();

  std::shared_ptr<StreamGroup> group_;
  std::unique_ptr<StreamIo> io_;
  State state_;
  bool released_ = false;
  bool congested_ = false;
  bool peer_closed_ = false;
  bool in_data_ = false;
  bool read_waiting_ = false;
  bool flush_scheduled_ = false;
  bool read_scheduled_ = false;
  int watched_ = -1;  // the bits last given to Want, -1 before the first
  std::string out_;
  size_t out_pos_ = 0;
  uintptr_t linger_ = 0;
  std::shared_ptr<const Handlers> handlers_;
  Net::ConnectFn done_;
  std::string local_, peer_;
  uint64_t local_end_ = 0, peer_end_ = 0;  // address and port, 0 until known
  bool loopback_ = false;
};

// The Stream handed to the core; dropping it closes the stream.
std::unique_ptr<Stream> MakeStream(std::shared_ptr<StreamCore> core);

}  // namespace tellu
