#include "chat/dispatcher.h"

#include "chat/status.h"
#include "chat/voice.h"
#include "chat/wire.h"

namespace tellu {

Dispatcher::Dispatcher(Links links) : l_(links) {}

// The work state of a call is its own: std::string takes what memory a line
// needs, so the fixed work buffer of old and its failure path are gone.
Verdict Dispatcher::DispAddBin(Direction direction, std::string_view payload) {
  Call call;
  if (direction == Direction::kFromServer) {
    Incoming(call, payload);
  } else if (direction == Direction::kFromHost) {
    Outgoing(call, payload);
  }
  Tail(call);
  return call.result;
}

void Dispatcher::Tail(Call& call) {
  if (!call.prefix.empty()) {
    const LogEntry& entry = l_.log.Append(call.prefix, call.text);
    l_.log_file.WriteLine(entry.prefix, entry.text);
    if (log_window_ && log_window_->wants_refresh()) l_.ui.LogChanged();
  }
  if (call.who_changed) l_.ui.WhoChanged();
  if (call.whisper_to_me && l_.settings.settings().whisper_flash != 0) l_.ui.WhisperFlash();
  // Last of all, so that the host shows the whisper before the answer.  The
  // answer is a chat line "speaker:text", so a handle longer than 12 bytes
  // gets it as a public line, as users of other copies know it.  A handle
  // holding a colon would send it to somebody else: it is whispered directly.
  if (call.reply) {
    if (call.reply_target.find(':') != std::string::npos)
      l_.voice.Whisper(call.reply_target, call.reply_text, true);
    else
      l_.voice.SendChatLine(call.reply_target + ":" + call.reply_text);
  }
}

int Dispatcher::AvatarWhisperCheck(const std::string& text, const std::string& speaker) {
  return hook_->AvatarWhisperCheck(text, speaker);
}

void Dispatcher::SendOwnAvatar(std::string_view reference) {
  std::string ref(reference);  // the caller's view may be the current avatar itself
  std::string payload = BuildOwnAvatar(ref);
  if (payload.empty()) return;
  l_.state.current_avatar = ref;
  l_.relay.SendToServer(payload);
  l_.movement.NewOwnAvatar(ref);
}

void Dispatcher::SetStatus(int index) {
  tellu::SetStatus(index, l_.state, l_.movement, l_.relay, l_.ui);
}

// A builder's empty answer means the message cannot be represented: it is
// dropped like any message that cannot be sent.
void Dispatcher::ToHost(const std::string& payload) {
  if (!payload.empty()) l_.relay.SendToHost(payload);
}

void Dispatcher::ToServer(const std::string& payload) {
  if (!payload.empty()) l_.relay.SendToServer(payload);
}

}  // namespace tellu
