#include "bar/key_actions.h"

namespace tellu {

BarAction KeyAction(BarKey key, KeyModifiers mods, bool in_edit, bool launch_mode) {
  if (key == BarKey::kEscape) return BarAction::kSwallow;
  if (!in_edit) return BarAction::kDefault;
  if (key == BarKey::kTab) return BarAction::kTabSend;
  if (!launch_mode) return BarAction::kDefault;
  switch (key) {
    case BarKey::kF1: return BarAction::kHelp;
    case BarKey::kF3: return mods.shift ? BarAction::kGhostFrozen : BarAction::kGhost;
    case BarKey::kF4: return mods.shift ? BarAction::kReplyWhisperer : BarAction::kReplySpeaker;
    case BarKey::kPageUp: return BarAction::kRaise;
    case BarKey::kPageDown: return BarAction::kLower;
    case BarKey::kHome: return BarAction::kResetOffsets;
    default: break;
  }
  if (!mods.ctrl) return BarAction::kDefault;
  switch (key) {
    case BarKey::kLeft: return BarAction::kTurnLeft;
    case BarKey::kRight: return BarAction::kTurnRight;
    case BarKey::kUp: return BarAction::kStepForward;
    case BarKey::kDown: return BarAction::kStepBack;
    default: return BarAction::kDefault;
  }
}

bool ResendsPosition(BarAction action) {
  switch (action) {
    case BarAction::kReplySpeaker:
    case BarAction::kReplyWhisperer:
    case BarAction::kRaise:
    case BarAction::kLower:
    case BarAction::kResetOffsets:
    case BarAction::kTurnLeft:
    case BarAction::kTurnRight:
    case BarAction::kStepForward:
    case BarAction::kStepBack:
      return true;
    default:
      return false;
  }
}

std::optional<std::string> ReplyText(const std::string& name, const std::string& text) {
  if (name.empty()) return std::nullopt;
  return name + ":" + text;
}

}  // namespace tellu
