#include "bar/host_typing_model.h"

#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu {
namespace {

// The IME context flags the host's own activation would carry.
constexpr uint32_t kImeContextAll = 0xC000000F;
constexpr uint32_t kImnSetStatusWindowPos = 12;
constexpr uint32_t kImnPrivate = 14;
constexpr uint32_t kWaClickActive = 2;
// Enter as the keyboard gives it: the key code with the high word the host
// has always seen, scan code 0x1C, and the up-transition bits on release.
constexpr uint32_t kEnterKey = 0x49E2000D;
constexpr uint32_t kEnterDown = 0x001C0001;
constexpr uint32_t kEnterUp = 0xC01C0001;
// Mouse key state high word seen with every mouse message, and the left
// button bit.
constexpr uint32_t kMouseState = 0x49E20000;
constexpr uint32_t kLeftButton = 0x0001;
// Hit-test code in the low word, the mouse message that caused it in the
// high word: a button press on the client area, a move over the caption.
constexpr uint32_t kMouseActivateHit = 0x02010001;
constexpr uint32_t kSetCursorHit = 0x02000002;

HostStep Sent(uint32_t message, uint32_t wparam, uint32_t lparam) {
  return {HostStep::Kind::Send, message, wparam, lparam};
}

HostStep SentWithWindow(uint32_t message, uint32_t lparam) {
  HostStep step = Sent(message, 0, lparam);
  step.wparam_is_window = true;
  return step;
}

HostStep Posted(uint32_t message, uint32_t wparam, uint32_t lparam) {
  return {HostStep::Kind::Post, message, wparam, lparam};
}

HostStep Pause(int ms) {
  HostStep step{HostStep::Kind::Pause};
  step.ms = ms;
  return step;
}

HostStep Cursor(HostStep::Kind kind, int x = 0, int y = 0) {
  HostStep step{kind};
  step.x = x;
  step.y = y;
  return step;
}

uint32_t Point(int x, int y) {
  return (static_cast<uint32_t>(y) & 0xFFFF) << 16 | (static_cast<uint32_t>(x) & 0xFFFF);
}

// The full-width stand-in of a character the host would take as markup.
uint16_t Substitute(uint8_t b) {
  switch (b) {
    case '~': return 0x8160;  // ～
    case '&': return 0x8195;  // ＆
    case '<': return 0x8183;  // ＜
    case '>': return 0x8184;  // ＞
    default: return 0;
  }
}

void PostPlain(std::vector<HostStep>& out, uint8_t b) {
  out.push_back(Posted(hostmsg::kChar, b, 0));
  out.push_back(Pause(kCharPauseMs));
}

void Append(std::vector<HostStep>& out, const std::vector<HostStep>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

std::vector<HostStep> ActivationSteps() {
  return {
      Sent(hostmsg::kActivateApp, 1, 0),
      Sent(hostmsg::kNcActivate, 1, 0),
      Sent(hostmsg::kActivate, kWaClickActive, 0),
      Sent(hostmsg::kImeSetContext, 1, kImeContextAll),
      Sent(hostmsg::kImeNotify, kImnSetStatusWindowPos, 0),
      Sent(hostmsg::kSetFocus, 0, 0),
      Sent(hostmsg::kImeSetContext, 0, kImeContextAll),
      Sent(hostmsg::kImeNotify, kImnSetStatusWindowPos, 0),
  };
}

std::vector<HostStep> DeactivationSteps() {
  return {
      Sent(hostmsg::kImeNotify, kImnPrivate, 1),
      Sent(hostmsg::kNcActivate, 0, 0),
      Sent(hostmsg::kImeSetContext, 0, kImeContextAll),
  };
}

std::vector<HostStep> CharacterSteps(std::string_view text) {
  std::vector<HostStep> out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (text::CharSize(text, i) == 2) {
      // A trail byte is half of a character, never "~": ミ is 83 7E.
      PostPlain(out, b);
      PostPlain(out, static_cast<uint8_t>(text[++i]));
    } else if (b == 0x0A) {
      continue;
    } else if (b == 0x0D) {
      out.push_back(Posted(hostmsg::kKeyDown, kEnterKey, kEnterDown));
      out.push_back(Posted(hostmsg::kChar, 0x0D, 0));
      out.push_back(Posted(hostmsg::kKeyUp, kEnterKey, kEnterUp));
    } else if (uint16_t wide = Substitute(b)) {
      out.push_back(Posted(hostmsg::kChar, wide >> 8, 0));
      out.push_back(Posted(hostmsg::kChar, wide & 0xFF, 0));
    } else {
      PostPlain(out, b);
    }
  }
  if (!text.empty() && text.back() != '\r') Append(out, CharacterSteps("\r"));
  return out;
}

std::vector<HostStep> TypingSteps(std::string_view text) {
  std::vector<HostStep> out = ActivationSteps();
  Append(out, CharacterSteps(text));
  Append(out, DeactivationSteps());
  return out;
}

std::vector<HostStep> ClickSteps(int x, int y) {
  std::vector<HostStep> out{Cursor(HostStep::Kind::SaveCursor)};
  Append(out, ActivationSteps());
  Append(out, {
      Cursor(HostStep::Kind::CursorTo, x, y),
      SentWithWindow(hostmsg::kMouseActivate, kMouseActivateHit),
      Sent(hostmsg::kMouseMove, kMouseState, Point(x + 1, y)),
      Sent(hostmsg::kMouseMove, kMouseState, Point(x, y)),
      SentWithWindow(hostmsg::kSetCursor, kSetCursorHit),
      Sent(hostmsg::kLButtonDown, kMouseState | kLeftButton, Point(x, y)),
      Sent(hostmsg::kLButtonUp, kMouseState, Point(x, y)),
      Cursor(HostStep::Kind::RestoreCursor),
  });
  Append(out, DeactivationSteps());
  return out;
}

}  // namespace tellu
