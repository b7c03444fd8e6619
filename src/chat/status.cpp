#include "chat/status.h"

#include "chat/objects.h"

namespace tellu {

namespace {

struct StringEntry {
  int id;
  std::string_view text;
};

constexpr StringEntry kStrings[] = {
    {101, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1 (&A)..."},  // ﾊﾞｰｼﾞｮﾝ情報 (&A)...
    {102, "\xD2\xAF\xBE\xB0\xBC\xDE\xC3\xB0\xCC\xDE\xD9(&T)"},      // ﾒｯｾｰｼﾞﾃｰﾌﾞﾙ(&T)
    {103, "\xDB\xB8\xDE\x95\x5C\x8E\xA6(&L)"},                      // ﾛｸﾞ表示(&L)
    {104, "\x90\xDD\x92\xE8(&S)"},                                  // 設定(&S)
    {105, "\xD8\xB1\xD9\xC0\xB2\xD1Who\x95\x5C\x8E\xA6(&W)"},       // ﾘｱﾙﾀｲﾑWho表示(&W)
    {106, "\xB1\xCA\xDE\xC0\x95\xCF\x8D\x58(&K)"},                  // ｱﾊﾞﾀ変更(&K)
    {107, "Free Memory   %lu KB / %lu KB\r\n"},
    {108, "Disk Space  %lu KB (Disk %c:)"},
    {109, "\x95\x73\x96\xBE"},                                      // 不明
    {110, "\xB1\xCA\xDE\xC0\xCC\xA7\xB2\xD9\x97\x76\x8B\x81(&R)"},  // ｱﾊﾞﾀﾌｧｲﾙ要求(&R)
    {111, "\xCD\xD9\xCC\xDF(&H)"},                                  // ﾍﾙﾌﾟ(&H)
};

struct MenuRow {
  int command;
  int string_id;
  bool launch_only;
  bool grayed_until_login;
};

constexpr MenuRow kSystemMenu[] = {
    {kMessageTableCommand, 102, false, false}, {kLogCommand, 103, true, false},
    {kWhoCommand, 105, true, true},            {kAvatarChangeCommand, 106, true, true},
    {kAvatarRequestCommand, 110, true, true},  {kSettingsCommand, 104, true, false},
    {kHelpCommand, 111, false, false},         {kAboutCommand, 101, false, false},
};

constexpr int kOfferedStatus[] = {0, 1, 2, 3, 4, 6};

}  // namespace

int StatusIcon(int index) { return index == kAwayStatus ? kAwayIcon : kNormalIcon; }

std::array<StatusMenuItem, 6> StatusMenu() {
  std::array<StatusMenuItem, 6> items{};
  for (size_t i = 0; i < items.size(); ++i) {
    int index = kOfferedStatus[i];
    items[i] = {index, kTelluStatus[index].label, kTelluStatus[index].bitmap,
                kStatusCommandBase + index};
  }
  return items;
}

void SetStatus(int index, ChatState& state, const Movement& movement, RelayPort& relay, Ui& ui) {
  if (index == state.status || index < 0 || index >= kStatusCount) return;
  state.status = index;
  ui.StatusChanged(index);
  relay.SendToServer(movement.OwnRoomPosition(state.current_room, index));
}

std::optional<std::string> TooltipText(int control, int status) {
  switch (control) {
    case kWhoButton:
      return "RealTimeWho\x95\x5C\x8E\xA6ON/OFF\x90\xD8\x8A\xB7";  // RealTimeWho表示ON/OFF切換
    case kMessageTableButton:
      return "\x93\x6F\x98\x5E\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57\x91\x97\x90\x4D";  // 登録メッセージ送信
    case kStatusButton: {
      std::string_view label = status >= 0 && status < kStatusCount ? kTelluStatus[status].label
                                                                    : std::string_view();
      // ステータス変更(%s)
      return "\x83\x58\x83\x65\x81\x5B\x83\x5E\x83\x58\x95\xCF\x8D\x58(" + std::string(label) + ")";
    }
    default:
      return std::nullopt;
  }
}

std::vector<SystemMenuItem> SystemMenuItems(bool launch_mode) {
  std::vector<SystemMenuItem> items;
  for (const MenuRow& row : kSystemMenu) {
    if (row.launch_only && !launch_mode) continue;
    items.push_back({row.command, row.string_id, StringText(row.string_id), row.grayed_until_login});
  }
  return items;
}

std::string_view StringText(int id) {
  for (const StringEntry& s : kStrings) {
    if (s.id == id) return s.text;
  }
  return {};
}

}  // namespace tellu
