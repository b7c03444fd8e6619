#include "avatar/transfer.h"

#include <algorithm>
#include <utility>

#include "text/paths.h"

namespace tellu {
namespace {

std::string Line(std::string_view words) { return std::string(words) + kPeerLineEnd; }

// Upper-case hexadecimal only: any other byte, lower-case digits included,
// counts 0, as every peer reads it.
uint32_t DigitValue(uint8_t b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'A' && b <= 'F') return b - 'A' + 10;
  return 0;
}

std::string Hex(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(digits, '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = kDigits[value & 0xF];
  return out;
}

}  // namespace

// Only the file name is cut: a "." in a folder name must not move the
// temporary file out of the folder.
std::string TemporaryPath(std::string_view final_path) {
  std::size_t dot = final_path.find('.', FileNameStart(final_path));
  return std::string(final_path.substr(0, dot)) + ".tmp";
}

Transfer::Transfer(TransferSite& site, std::string peer, std::string file,
                   TransferDirection direction, EndedFn ended)
    : site_(site),
      peer_(std::move(peer)),
      reference_(std::move(file)),
      direction_(direction),
      progress_(site.ui(), site.timers(), [this] { Close(); }),
      ended_fn_(std::move(ended)) {}

Transfer::~Transfer() {
  progress_.Close();
  DropFile();
}

void Transfer::SetUp() {
  progress_.SetTexts(peer_, reference_, direction_ == TransferDirection::kGet);
  final_path_ = site_.ProgramDir() + reference_;
}

bool Transfer::OpenForSending() {
  file_ = site_.files().Open(final_path_, OpenMode::Read);
  if (!file_) return false;
  auto size = site_.files().Size(final_path_);
  if (!size || *size > UINT32_MAX) return false;
  total_ = static_cast<uint32_t>(*size);
  done_ = 0;
  Progress();
  return true;
}

bool Transfer::CreateTemporary() {
  const std::string base = TemporaryPath(final_path_);
  std::set<std::string>& taken = site_.TempPaths();
  std::string path = base;
  // Two transfers at once must not write one file.
  for (int n = 1; taken.count(path); ++n)
    path = base.substr(0, base.size() - 4) + "~" + std::to_string(n) + ".tmp";
  taken.insert(path);
  temp_path_ = path;
  temp_reserved_ = true;
  file_ = site_.files().Open(temp_path_, OpenMode::Write);
  temp_created_ = file_ != nullptr;
  return temp_created_;
}

void Transfer::StartSending() {
  state_ = kAwaitingAck;
  auto size = site_.files().Size(final_path_);
  if (!size || *size > UINT32_MAX) return Close();
  total_ = static_cast<uint32_t>(*size);
  done_ = 0;
  Progress();
  Send(Hex(total_, 8));
  // An empty file has no chunk; the receiver's "@" (or its close) ends it.
  count_ = 0;
  if (total_ != 0) SendChunk();
  if (!ended_) progress_.StartTimer();
}

void Transfer::OnReceive(std::string_view bytes) {
  for (char c : bytes) {
    if (ended_) return;
    Step(static_cast<uint8_t>(c));
  }
}

void Transfer::Step(uint8_t b) {
  switch (state_) {
    case kGreeting: return Greeting(b);
    case kSizeDigits: return SizeDigit(b);
    case kChunkDigits: return ChunkDigit(b);
    case kChunkData: return ChunkData(b);
    case kAwaitingAck: return Acknowledgement(b);
    default: return Close();
  }
}

void Transfer::Greeting(uint8_t b) {
  if (b >= 0x20) {
    buffer_[cursor_++] = static_cast<char>(b);
    if (remaining_ <= 1) return Close();  // no line end within 8 bytes
    --remaining_;
    return;
  }
  std::string_view line(buffer_.data(), cursor_);
  cursor_ = 0;
  remaining_ = 0;
  if (line != kPeerGreeting) return Close();
  const bool get = direction_ == TransferDirection::kGet;
  std::string command(get ? kGetCommand : kPutCommand);
  command += site_.OwnName() + kCommandFieldSeparator + reference_ + kPeerLineEnd;
  if (get) {
    Send(command);
    count_ = 8;
    state_ = kSizeDigits;
    return;
  }
  state_ = kAwaitingAck;
  Send(command);
  StartSending();
}

void Transfer::SizeDigit(uint8_t b) {
  total_ = total_ * 16 + DigitValue(b);
  if (count_ > 1) {
    --count_;
    return;
  }
  // Refused before a byte is written: the transfer fails as on any error.
  if (total_ > kMaxSize) return Close();
  done_ = 0;
  count_ = 0;
  remaining_ = 4;
  state_ = kChunkDigits;
  Progress();
  progress_.StartTimer();
  if (total_ != 0) return;
  // No chunk will come; a sender still waits for an acknowledgement, as
  // after any last chunk.
  Send(Line(kAck));
  Finish();
}

void Transfer::ChunkDigit(uint8_t b) {
  count_ = count_ * 16 + DigitValue(b);
  if (--remaining_ != 0) return;
  // A sound sender never announces an empty chunk while bytes are due, nor
  // one larger than the buffer.
  if (count_ == 0 || count_ > kChunk) return Close();
  remaining_ = count_;
  cursor_ = 0;
  state_ = kChunkData;
}

void Transfer::ChunkData(uint8_t b) {
  buffer_[cursor_++] = static_cast<char>(b);
  if (--remaining_ != 0) return;
  // A lost write would leave a broken file to be copied over a good one; the
  // chunk is still acknowledged, so that the peer ends as usual.
  if (!write_failed_ && !(file_ && file_->Write(std::string_view(buffer_.data(), count_))))
    write_failed_ = true;
  Send(Line(kAck));
  done_ += count_;
  Progress();
  if (done_ < total_) {
    count_ = 0;
    remaining_ = 4;
    state_ = kChunkDigits;
    return;
  }
  Finish();
}

void Transfer::Acknowledgement(uint8_t b) {
  if (b != kPeerLineEnd) {
    buffer_[cursor_++] = static_cast<char>(b);
    if (++remaining_ >= kChunk) Close();
    return;
  }
  std::string_view line(buffer_.data(), cursor_);
  cursor_ = 0;
  remaining_ = 0;
  if (line != kAck) return Close();
  done_ += count_;
  Progress();
  if (done_ >= total_) return Close();  // the file has been sent
  SendChunk();
}

void Transfer::SendChunk() {
  const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(kChunk, total_ - done_));
  count_ = n;
  std::string data(n, '\0');
  std::size_t got = 0;
  while (file_ && got < n) {
    std::size_t k = file_->Read(data.data() + got, n - got);
    if (k == 0) break;
    got += k;
  }
  // A file that shrank under us would send bytes it does not hold.
  if (got < n) return Close();
  Send(Hex(n, 4) + data);
}

void Transfer::Finish() {
  finished_ = true;
  bool ok = !write_failed_ && file_ && file_->Flush();
  file_.reset();
  Files& files = site_.files();
  ok = ok && files.Copy(temp_path_, final_path_, false);
  files.Delete(temp_path_);
  if (ok) {
    site_.Received(peer_);
    site_.AvatarRefresh(final_path_);
  }
  Close();
}

void Transfer::Progress() {
  progress_.total = total_;
  progress_.done = done_;
}

void Transfer::DropFile() {
  file_.reset();
  if (!temp_reserved_) return;
  temp_reserved_ = false;
  if (temp_created_ && !finished_) site_.files().Delete(temp_path_);
  site_.TempPaths().erase(temp_path_);
}

void Transfer::Close() {
  if (ended_) return;
  ended_ = true;
  progress_.Close();
  CloseConnection();
  DropFile();
  if (ended_fn_) ended_fn_(*this);
}

}  // namespace tellu
