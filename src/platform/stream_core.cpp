#include "platform/stream_core.h"

#include <algorithm>
#include <utility>

namespace tellu {
namespace {

constexpr size_t kReadChunk = 64 * 1024;
// Reads per notification, so one busy connection cannot starve the rest.
constexpr int kReadsPerRound = 4;
// How long a closed connection may keep trying to send what was queued.
constexpr int kLingerMs = 30000;
constexpr unsigned kRead = 1, kWrite = 2;

uint64_t EndCode(const StreamIo::End& e) {
  return static_cast<uint64_t>(e.address) << 16 | static_cast<uint16_t>(e.port);
}

class CoreStream : public Stream {
 public:
  explicit CoreStream(std::shared_ptr<StreamCore> core) : core_(std::move(core)) {}
  ~CoreStream() override { core_->Close(); }
  void SetHandlers(DataFn data, ClosedFn closed) override {
    core_->SetHandlers(std::move(data), std::move(closed));
  }
  void Send(std::string_view bytes) override { core_->Send(bytes); }
  void Close() override { core_->Close(); }
  bool IsOpen() const override { return core_->IsOpen(); }
  std::string LocalAddress() const override { return core_->local(); }
  std::string PeerAddress() const override { return core_->peer(); }
  bool PeerIsLoopback() const override { return core_->loopback(); }

 private:
  std::shared_ptr<StreamCore> core_;
};

}  // namespace

bool ListenPortOk(int port) { return port >= 0 && port <= 0xFFFF; }

bool ConnectTargetOk(const std::string& host, int port) {
  return !host.empty() && host.find('\0') == std::string::npos && port > 0 && port <= 0xFFFF;
}

std::string DottedAddress(uint32_t a) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) text += '.';
    text += std::to_string((a >> shift) & 0xFF);
  }
  return text;
}

bool LoopbackAddress(uint32_t address) { return (address >> 24) == 127; }

std::unique_ptr<Stream> MakeStream(std::shared_ptr<StreamCore> core) {
  return std::make_unique<CoreStream>(std::move(core));
}

// ---- the group

void StreamGroup::Add(const std::shared_ptr<StreamCore>& stream) {
  std::erase_if(streams_, [](const std::weak_ptr<StreamCore>& w) { return w.expired(); });
  streams_.push_back(stream);
}

bool StreamGroup::Holds(const StreamCore* reader) const {
  for (const StreamCore* s : congested_)
    if (s != reader && !s->FarEndIs(*reader)) return true;
  return false;
}

void StreamGroup::Set(const StreamCore* stream, bool congested) {
  Forget(stream);
  if (congested) congested_.push_back(stream);
  // A copy: telling one stream may end another.
  const auto streams = streams_;
  for (const auto& weak : streams)
    if (auto s = weak.lock(); s && s.get() != stream) s->Reconsider();
}

void StreamGroup::Forget(const StreamCore* stream) { std::erase(congested_, stream); }

// ---- one stream

StreamCore::StreamCore(std::shared_ptr<StreamGroup> group, std::unique_ptr<StreamIo> io,
                       State state)
    : group_(std::move(group)), io_(std::move(io)), state_(state) {}

StreamCore::~StreamCore() { group_->Forget(this); }

void StreamCore::Begin() {
  group_->Add(shared_from_this());
  if (state_ == State::kOpen) Established();
  Watch();
}

void StreamCore::FailLater(Net::ConnectFn done) {
  if (!released_) {
    released_ = true;
    if (io_) io_->Release(false);
  }
  state_ = State::kConnecting;
  done_ = std::move(done);
  group_->loop().Defer([self = shared_from_this()] {
    if (self->state_ != State::kConnecting) return;
    self->state_ = State::kClosed;
    auto done = std::move(self->done_);
    if (done) done(false);
  });
}

bool StreamCore::FarEndIs(const StreamCore& other) const {
  return peer_end_ != 0 && peer_end_ == other.local_end_ && local_end_ == other.peer_end_;
}

void StreamCore::Established() {
  StreamIo::End local, peer;
  if (!io_->Ends(local, peer)) return;
  local_ = DottedAddress(local.address);
  peer_ = DottedAddress(peer.address);
  loopback_ = LoopbackAddress(peer.address);
  local_end_ = EndCode(local);
  peer_end_ = EndCode(peer);
}

bool StreamCore::WantsRead() const {
  return state_ == State::kOpen && handlers_ && handlers_->data && !in_data_ &&
         !group_->Holds(this);
}

// Tells the adapter what is wanted when that changes.  Reading that starts
// again is also tried from the loop: a system that reports readiness only
// once (Winsock after a recv left undone) would not tell again.
void StreamCore::Watch() {
  if (released_) return;
  unsigned wanted = 0;
  switch (state_) {
    case State::kConnecting:
    case State::kClosing:
      wanted = kWrite;
      break;
    case State::kOpen:
      wanted = (WantsRead() ? kRead : 0u) | (Pending() ? kWrite : 0u);
      break;
    case State::kClosed:
      return;
  }
  if (static_cast<int>(wanted) == watched_) return;
  const bool read_again = watched_ >= 0 && !(watched_ & kRead) && (wanted & kRead);
  watched_ = static_cast<int>(wanted);
  io_->Want(wanted & kRead, wanted & kWrite);
  if (read_again) ScheduleRead();
}

void StreamCore::Connected(bool ok) {
  if (state_ != State::kConnecting) return;
  auto done = std::move(done_);
  if (!ok) {
    Finish();
    if (done) done(false);
    return;
  }
  state_ = State::kOpen;
  Established();
  if (Pending()) {
    ScheduleFlush();
    if (Unsent() > kStreamHighWater) Congested(true);
  }
  Watch();
  if (done) done(true);
}

void StreamCore::Readable() {
  if (state_ == State::kOpen && handlers_ && handlers_->data) ReadSome();
}

void StreamCore::Writable() {
  if (Pending()) Flush();
}

void StreamCore::PeerClosed() {
  if (state_ == State::kClosing) {
    Finish();
    return;
  }
  if (state_ != State::kOpen) return;
  peer_closed_ = true;
  Readable();
}

void StreamCore::SetHandlers(Stream::DataFn data, Stream::ClosedFn closed) {
  handlers_ = std::make_shared<const Handlers>(Handlers{std::move(data), std::move(closed)});
  // Bytes (or the end) that came before waited; look from the loop.
  if (state_ == State::kOpen) {
    Watch();
    ScheduleRead();
  }
}

void StreamCore::Send(std::string_view bytes) {
  if (state_ != State::kConnecting && state_ != State::kOpen) return;
  out_.append(bytes);
  if (state_ != State::kOpen) return;
  ScheduleFlush();
  if (!congested_ && Unsent() > kStreamHighWater) Congested(true);
}

void StreamCore::Close() {
  if (state_ == State::kConnecting) {
    Finish();
    return;
  }
  if (state_ != State::kOpen) return;
  state_ = State::kClosing;
  // A closing stream holds nobody back while it lingers.
  if (congested_) Congested(false);
  Flush();
  if (state_ != State::kClosing) return;
  Watch();
  std::weak_ptr<StreamCore> weak = shared_from_this();
  linger_ = group_->loop().StartTimer(kLingerMs, [weak] {
    if (auto self = weak.lock()) self->Finish();
  });
}

// One write for everything sent during this round of the loop.
void StreamCore::ScheduleFlush() {
  if (flush_scheduled_) return;
  flush_scheduled_ = true;
  group_->loop().Defer([self = shared_from_this()] {
    self->flush_scheduled_ = false;
    self->Flush();
  });
}

void StreamCore::ScheduleRead() {
  if (read_scheduled_) return;
  read_scheduled_ = true;
  group_->loop().Defer([self = shared_from_this()] {
    self->read_scheduled_ = false;
    self->Readable();
  });
}

void StreamCore::ReadSome() {
  if (in_data_) {
    // Not inside the callback that runs: after it, from the loop.
    read_waiting_ = true;
    Watch();
    return;
  }
  const auto hold = shared_from_this();
  char buffer[kReadChunk];
  for (int i = 0; i < kReadsPerRound || peer_closed_; ++i) {
    if (group_->Holds(this)) {
      Watch();  // reading starts again when the pressure goes
      return;
    }
    const long n = io_->Receive(buffer, sizeof buffer);
    if (n > 0) {
      const auto handlers = handlers_;  // the callback may replace them
      in_data_ = true;
      handlers->data(std::string_view(buffer, static_cast<size_t>(n)));
      in_data_ = false;
      if (read_waiting_) {
        read_waiting_ = false;
        Watch();
        ScheduleRead();
        return;
      }
      if (state_ != State::kOpen || !handlers_ || !handlers_->data) return;
      if (static_cast<size_t>(n) < sizeof buffer && !peer_closed_) return;  // drained
    } else if (n == StreamIo::kWouldBlock && !peer_closed_) {
      return;
    } else {
      // The end, a failure, or nothing more after the peer's close.
      Lost();
      return;
    }
  }
}

void StreamCore::Flush() {
  if (state_ != State::kOpen && state_ != State::kClosing) return;
  while (Pending()) {
    const long n = io_->Transmit(out_.data() + out_pos_, Unsent());
    if (n > 0) {
      out_pos_ += static_cast<size_t>(n);
    } else if (n == StreamIo::kWouldBlock) {
      break;  // told again when there is room
    } else {
      Lost();
      return;
    }
  }
  if (congested_ && Unsent() < kStreamLowWater) Congested(false);
  if (!Pending()) {
    out_.clear();
    out_pos_ = 0;
    if (state_ == State::kClosing) {
      Finish();
      return;
    }
  } else if (out_pos_ >= kReadChunk && out_pos_ * 2 >= out_.size()) {
    out_.erase(0, out_pos_);
    out_pos_ = 0;
  }
  Watch();
}

void StreamCore::Congested(bool congested) {
  congested_ = congested;
  group_->Set(this, congested);
}

// The peer closed or the connection failed: the owner hears of it only if
// it had not closed the connection itself.
void StreamCore::Lost() {
  const bool tell = state_ == State::kOpen;
  Finish();
  if (tell && handlers_ && handlers_->closed) {
    const auto handlers = handlers_;
    handlers->closed();
  }
}

void StreamCore::Finish() {
  // The notification may hold the last reference.
  const auto hold = shared_from_this();
  const bool graceful = state_ == State::kClosing;
  state_ = State::kClosed;
  if (congested_) Congested(false);
  if (linger_) group_->loop().CancelTimer(linger_);
  linger_ = 0;
  std::string().swap(out_);
  out_pos_ = 0;
  if (released_) return;
  released_ = true;
  io_->Release(graceful);
}

}  // namespace tellu
