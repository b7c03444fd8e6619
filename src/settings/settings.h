// The Settings record: every user setting of one slot section of tellu.ini,
// plus the run-only greeting, the mute list and the message table.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace tellu {

// A "pair" value: a position (left, top) or a size (width, height) in pixels.
struct Pair {
  int x = 0;
  int y = 0;
  friend bool operator==(const Pair&, const Pair&) = default;
};

// The automatic greeting is edited in the settings dialog but lives only for
// the run: every start begins with it off and empty.
struct Greeting {
  bool enabled = false;
  std::string partner;
  std::string text;
};

struct MessageEntry {
  std::string label;
  std::string text;
};

constexpr int kMessageCount = 16;

// "ＭＳ ゴシック"
inline constexpr char kDefaultFontFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

struct Settings {
  std::string slot_section;  // "SYS" + slot number

  int whisper_sw = 0;                 // WHISPERSW
  std::string whisper_msg;            // WHISPERMSG
  int ava_req_refuse_flag = 0;        // AvaReqRefuseFlag
  std::string ava_req_refuse_msg;     // AvaReqRefuseMsg
  std::string unmute;                 // UnMute
  int log_chk = 0;                    // LogChk
  std::string log_name;               // LogName
  std::string font_face = kDefaultFontFace;  // FontSort
  int font_tenths = 0;                // FontSize, in tenths of a point
  int search_timer = 25;              // SearchTimer
  int position_save_flag = 0;         // PositionSaveFlag
  Pair position_rv;                   // Position_RV
  Pair position_tellu_window;         // PositionTelluWindow
  Pair size_tellu_window;             // SizeTelluWindow
  int log_window_flag = 0;            // LogWindowFlag
  Pair position_log_window;           // PositionLogWindow
  Pair size_log_window;               // SizeLogWindow
  int log_window_real = 0;            // LogWindowReal
  int who_window_flag = 0;            // WhoWindowFlag
  Pair position_who_window;           // PositionWhoWindow
  Pair position_who_btn;              // PositionWhoBtn
  int most_top_chk = 0;               // MostTopChk
  int ime_auto_on_chk = 1;            // ImeAutoOnChk
  int whisper_flash = 1;              // WhisperFlash
  std::string msg;                    // MSG: name of the message section

  Greeting greeting;
  std::vector<std::string> mute_list;  // in the order read or added; duplicates allowed
  std::array<MessageEntry, kMessageCount> messages;
};

}  // namespace tellu
