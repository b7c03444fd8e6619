#include "bar/tooltips.h"

#include "bar/bar_controls.h"

namespace tellu {

std::optional<std::string> TooltipText(int control, std::string_view status_label) {
  switch (control) {
    case kWhoButton:
      return "RealTimeWho\x95\x5C\x8E\xA6ON/OFF\x90\xD8\x8A\xB7";  // RealTimeWho表示ON/OFF切換
    case kMessageTableButton:
      return "\x93\x6F\x98\x5E\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57\x91\x97\x90\x4D";  // 登録メッセージ送信
    case kStatusButton:
      // ステータス変更(%s)
      return "\x83\x58\x83\x65\x81\x5B\x83\x5E\x83\x58\x95\xCF\x8D\x58(" + std::string(status_label) +
             ")";
    default:
      return std::nullopt;
  }
}

}  // namespace tellu
