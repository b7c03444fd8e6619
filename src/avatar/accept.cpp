#include "avatar/accept.h"

#include "avatar/address.h"
#include "avatar/texts.h"

namespace tellu {

SCmdAccept::SCmdAccept(TransferSite& site, std::unique_ptr<CServSock> connection)
    : site_(site), connection_(std::move(connection)) {
  connection_->SetPeer(this);
  timer_ = site_.timers().Start(kLineTimeoutMs, false, [this] {
    timer_ = 0;
    End();
  });
}

SCmdAccept::~SCmdAccept() {
  if (timer_ != 0) site_.timers().Cancel(timer_);
  connection_->SetPeer(nullptr);
  transfer_.reset();
}

void SCmdAccept::OnReceive(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (ended_) return;
    // The bytes after the command line belong to the transfer, in order.
    if (transfer_) return transfer_->OnReceive(bytes.substr(i));
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b == kPeerLineEnd) {
      Evaluate();
    } else if (b >= 0x20) {
      line_ += static_cast<char>(b);
      if (line_.size() > kMaxLine) End();
    }
  }
}

void SCmdAccept::Evaluate() {
  std::string_view line(line_);
  const bool get = line.starts_with(kGetCommand);
  // A line that is no command can never be followed by one that is.
  if (!get && !line.starts_with(kPutCommand)) return End();
  std::string_view rest = line.substr(kGetCommand.size());
  std::string_view name = rest, file;
  if (std::size_t comma = rest.find(kCommandFieldSeparator); comma != std::string_view::npos) {
    name = rest.substr(0, comma);
    file = rest.substr(comma + 1);
  }
  if (!IsAvatarFileName(file)) {
    connection_->Close();
    site_.SystemLine(std::string(name) + std::string(avatar_text::kBadFileTail));
    return End();
  }
  // The peer's get is this side's put, and the other way round.
  const TransferDirection side = get ? TransferDirection::kPut : TransferDirection::kGet;
  if (!site_.Admits(side, std::string(name), std::string(file))) return End();
  if (timer_ != 0) site_.timers().Cancel(timer_);
  timer_ = 0;
  transfer_ = std::make_unique<SCmdAvaSnd>(
      site_, *connection_, std::string(name), std::string(file), side,
      [this](Transfer&) { End(); });
  connection_->SetConnectionKind(SockKind::kPeerMovedOn);
  connection_->SetPeer(transfer_.get());
  transfer_->Start();
}

void SCmdAccept::End() {
  if (ended_) return;
  ended_ = true;
  if (timer_ != 0) site_.timers().Cancel(timer_);
  timer_ = 0;
  connection_->Close();
  site_.Release(this);
}

}  // namespace tellu
