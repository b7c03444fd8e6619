// Random whisper texts into AvatarWhisperCheck, with or without the
// exchange's prefix and keywords, under every combination of the owner's
// settings; questions are answered and any transfer it starts is fed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "avatar/texts.h"
#include "unit/avatar/avatar_world.h"

using namespace tellu;
using namespace tellu::avatar_test;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const size_t speaker_size = std::min<size_t>(data[1] % 16, size - 2);
  std::string speaker(reinterpret_cast<const char*>(data + 2), speaker_size);
  std::string text(reinterpret_cast<const char*>(data + 2 + speaker_size),
                   size - 2 - speaker_size);
  namespace t = avatar_text;
  static const std::string_view kKeys[] = {"", t::kNoticeKey, t::kRequestKey, t::kOfferKey};
  if (flags & 0x40) text = std::string(t::kPrefix) + std::string(kKeys[flags & 3]) + text;

  World w{"me", (flags & 4) ? "192.168.1.2" : "203.0.113.10"};
  w.core.state().current_avatar = (flags & 0x80) ? "avatar\\me.mov" : text;
  w.files.Put("C:\\host\\avatar\\me.mov", std::string(700, 'm'));
  w.settings.settings().ava_req_refuse_flag = (flags & 8) ? 1 : 0;
  w.settings.settings().ava_req_refuse_msg = speaker;
  w.core.state().status = (flags & 16) ? kAwayStatus : 0;

  // An offer is acted on only from a name this side asked.
  if (data[1] & 16) w.exchange.RequestAvatar(speaker);
  const bool claimed = w.exchange.AvatarWhisperCheck(text, speaker) != 0;
  if (claimed != std::string_view(text).starts_with(t::kPrefix)) __builtin_trap();
  while (!w.ui.questions.empty()) w.ui.Answer((flags & 32) != 0);
  for (FakeNet::Peer* peer : w.net.connects()) {
    peer->Complete();
    peer->Feed(text);
  }
  w.timers.Advance(1000);
  for (const auto& [path, bytes] : w.files.contents())
    if (path.rfind("C:\\host\\", 0) != 0) __builtin_trap();
  return 0;
}
