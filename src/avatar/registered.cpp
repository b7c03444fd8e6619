#include "avatar/registered.h"

#include <cstdio>

#include "avatar/address.h"
#include "avatar/texts.h"

namespace tellu {

namespace {

// "No.%2d %s\t%s"
std::string RegisteredLabel(int number, std::string_view name, std::string_view description) {
  char head[16];
  std::snprintf(head, sizeof head, "No.%2d ", number);
  return std::string(head) + std::string(name) + "\t" + std::string(description);
}

// The registered file as the menu shows it: without the folder that object
// 1's avatar reference has before its first backslash.
std::string_view ShownName(std::string_view file, std::string_view own_avatar) {
  std::size_t q = FirstBackslash(own_avatar);
  if (q == std::string_view::npos) return file;
  return q + 1 <= file.size() ? file.substr(q + 1) : std::string_view();
}

MenuItem TextItem(int command, std::string label) {
  MenuItem item;
  item.command = command;
  item.label = std::move(label);
  return item;
}

MenuItem Popup(std::string label) {
  MenuItem item;
  item.kind = MenuItem::Kind::kPopup;
  item.label = std::move(label);
  return item;
}

}  // namespace

bool IsUsableRegistration(std::string_view value) {
  // An empty value is a missing key, not a registration.
  if (value.empty() || value.size() > 8) return false;
  for (char c : value)
    if (c < 0x21 || c > 0x7E) return false;
  return true;
}

int RegisteredAvatars::Load(Profile& host_ini, const std::string& section,
                            const std::string& avatar_base, const std::string& program_dir,
                            Files& files, bool reload) {
  if (!entries_.empty() && !reload) return count();
  entries_.clear();
  for (int n = 1; n <= kMaxKeys; ++n) {
    const std::string number = std::to_string(n);
    std::string value = host_ini.GetString(section, "MYAVATAR" + number, "", kValueBuffer);
    if (!IsUsableRegistration(value)) continue;
    const std::string name = avatar_base + value;
    if (!files.Exists(program_dir + name + ".cmp")) continue;
    entries_.push_back(
        {name + ".mov", host_ini.GetString(section, "MYAVADOC" + number, "", kValueBuffer)});
  }
  return count();
}

Menu AvatarChangeMenu(const std::vector<RegisteredAvatar>& registered,
                      const ObjectTable& objects,
                      std::array<std::string, kMenuEntries>& entries) {
  Menu menu;
  if (!registered.empty()) {
    MenuItem top = Popup(std::string(avatar_text::kRegisteredTitle));
    // Items go to the registered submenu or to the group submenu last opened.
    MenuItem* target = &top;
    const std::string& own_avatar = objects.Own().avatar;
    for (std::size_t k = 0; k < registered.size(); ++k) {
      std::string_view description = registered[k].description;
      std::size_t p = FirstBackslash(description);
      if (p != std::string_view::npos && p > 0) {
        std::string_view group = description.substr(p + 1);
        description = description.substr(0, p);
        if (group.empty()) {
          target = &top;
        } else {
          top.items.push_back(Popup(std::string(group)));
          target = &top.items.back();
        }
      }
      target->items.push_back(TextItem(
          kRegisteredCommandBase + static_cast<int>(k),
          RegisteredLabel(static_cast<int>(k) + 1, ShownName(registered[k].file, own_avatar),
                          description)));
    }
    menu.push_back(std::move(top));
  }
  bool separated = false;
  for (int n = kOwnObject; n <= kLastObject; ++n) {
    const ObjectRecord& r = objects.Get(n);
    if (r.avatar.empty()) continue;
    if (n > kOwnObject && !separated) {
      MenuItem separator;
      separator.kind = MenuItem::Kind::kSeparator;
      menu.push_back(separator);
      separated = true;
    }
    menu.push_back(TextItem(kChangeCommandBase + n,
                            r.name + "\t" + std::string(AfterFirstBackslash(r.avatar))));
    entries[n - 1] = r.avatar;
  }
  return menu;
}

void ChangeAvatar(const std::string& reference, ChatCore& chat, RelayPort& relay) {
  const std::string chosen = reference;  // the caller's string may be the current avatar
  ChatState& state = chat.state();
  state.current_avatar = chosen;
  chat.SendOwnAvatar(state.avatar_base + std::string(avatar_text::kDefaultAvatar));
  chat.SendOwnAvatar(chosen);
  if (!chat.movement().ghost().frozen) {
    std::string payload = chat.movement().OwnRoomPosition(state.current_room, state.status);
    if (!payload.empty()) relay.SendToServer(payload);
  }
}

}  // namespace tellu
