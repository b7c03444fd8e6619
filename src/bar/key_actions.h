// The input bar's keys as data: which key, with which modifiers, means which
// operation.  The front end maps its key codes and carries the operation out.
#pragma once
#include <optional>
#include <string>

namespace tellu {

enum class BarKey { kOther, kEscape, kTab, kF1, kF3, kF4, kPageUp, kPageDown, kHome,
                    kLeft, kRight, kUp, kDown };

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
};

enum class BarAction {
  kDefault,           // the dialog's own handling
  kSwallow,           // eaten, nothing happens (Escape: the bar never closes)
  kTabSend,           // append a tab, run text changed, focus the next control
  kHelp,              // open the help file; the key is eaten
  kGhost,             // toggle the ghost
  kGhostFrozen,       // toggle the frozen ghost
  kReplySpeaker,      // F4: last speaker's name in front of the text
  kReplyWhisperer,    // Shift+F4: last whisperer's name in front of the text
  kRaise,             // dz + 16
  kLower,             // dz - 16
  kResetOffsets,      // dx, dy, dz, da = 0
  kTurnLeft,          // da + 5
  kTurnRight,         // da - 5
  kStepForward,       // 64 along the virtual direction
  kStepBack,          // 64 against it
};

// The action of a key-down.  `in_edit`: the key went to the text field;
// `launch_mode`: the host INI path is set (attach mode leaves the chat keys
// to the dialog).
BarAction KeyAction(BarKey key, KeyModifiers mods, bool in_edit, bool launch_mode);

// After these actions the virtual position goes out again.
bool ResendsPosition(BarAction action);

// F4's new field: name + ":" + text, or nothing when there is no name.
std::optional<std::string> ReplyText(const std::string& name, const std::string& text);

}  // namespace tellu
