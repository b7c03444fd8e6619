// Attach mode's window messages into the host, as data: the activation and
// deactivation sequences, typed characters with their pauses, and the click.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace tellu {

// Window message numbers the host is sent; the Windows layer checks them
// against its headers.
namespace hostmsg {
inline constexpr uint32_t kActivate = 0x0006;
inline constexpr uint32_t kSetFocus = 0x0007;
inline constexpr uint32_t kActivateApp = 0x001C;
inline constexpr uint32_t kSetCursor = 0x0020;
inline constexpr uint32_t kMouseActivate = 0x0021;
inline constexpr uint32_t kNcActivate = 0x0086;
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kKeyUp = 0x0101;
inline constexpr uint32_t kChar = 0x0102;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kImeSetContext = 0x0281;
inline constexpr uint32_t kImeNotify = 0x0282;
}  // namespace hostmsg

struct HostStep {
  enum class Kind : uint8_t {
    Send,           // message sent, waiting for the host to handle it
    Post,           // message posted
    Pause,          // ms milliseconds before the next step
    SaveCursor,     // remember where the mouse cursor is
    CursorTo,       // cursor to (x, y) of the host's client area
    RestoreCursor,  // cursor back where it was remembered
  };
  Kind kind = Kind::Send;
  uint32_t message = 0;
  uint32_t wparam = 0;
  uint32_t lparam = 0;
  // wParam is the host window's own handle, not the number above.
  bool wparam_is_window = false;
  int x = 0, y = 0;
  int ms = 0;

  friend bool operator==(const HostStep&, const HostStep&) = default;
};

inline constexpr int kCharPauseMs = 50;

std::vector<HostStep> ActivationSteps();
std::vector<HostStep> DeactivationSteps();
// The bytes of a text as posted characters: line feeds skipped, "~ & < >"
// as full-width characters, carriage returns as the Enter key, a final
// Enter when the text does not end in one, and a pause after every
// character posted as it is.
std::vector<HostStep> CharacterSteps(std::string_view text);
// A whole delivery: activation, the characters, deactivation.
std::vector<HostStep> TypingSteps(std::string_view text);
// A left click at (x, y) of the host's client area, the cursor put back.
std::vector<HostStep> ClickSteps(int x, int y);

}  // namespace tellu
