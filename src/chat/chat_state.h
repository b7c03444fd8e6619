// What the chat stream remembers between messages beyond the object table,
// the movement and the stored settings: who the user is, where, and the
// trackers of the automatic reactions.  Everything lives for the whole run.
#pragma once
#include <string>

#include "platform/ui.h"  // the status values

namespace tellu {

// The last public line or whisper heard, for the automatic mute.
struct RepeatTracker {
  std::string speaker;
  std::string text;
  int count = 0;  // identical lines after the first
};

// The host message count belongs to the relay; the dispatcher reads it where
// it lives.
struct ChatState {
  std::string own_name;             // from the run's first login; empty until then
  int current_room = 0;             // from own room position and own room entry
  std::string last_whisperer;       // speaker of the last whisper shown
  std::string last_whisper_target;  // target of the last whisper the user sent
  RepeatTracker repeat;
  std::string last_auto_replied;    // key of the last whisper answered automatically
  int status = kNormalStatus;       // 0..6
  std::string current_avatar;       // the reference of the last own avatar sent
  std::string avatar_base;          // folder prefix of avatar references, set once
  bool login_seen = false;
  // WhoWindowFlag as read at start, then whether the Who window is open.
  bool who_window_flag = false;
};

}  // namespace tellu
