// The avatar exchange's claim on whispers, as the chat stream sees it: every
// incoming whisper, and every whisper the user addresses to their own name,
// is offered before it is shown, logged or answered.
#pragma once
#include <string>

namespace tellu {

class AvatarHook {
 public:
  virtual ~AvatarHook() = default;
  // Nonzero when the whisper belonged to the exchange and has been dealt with.
  virtual int AvatarWhisperCheck(const std::string& text, const std::string& speaker) = 0;
};

// Until an exchange is attached no whisper is claimed.
class NoAvatarExchange : public AvatarHook {
 public:
  int AvatarWhisperCheck(const std::string&, const std::string&) override { return 0; }
};

}  // namespace tellu
