// Registered avatars and the avatar change: the host's own registrations read
// from its configuration file, the change menu as data, and the change itself.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "avatar/avatar_menu.h"
#include "chat/chat_core.h"
#include "chat/objects.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "relay/relay_port.h"

namespace tellu {

struct RegisteredAvatar {
  std::string file;         // avatar base + registered name + ".mov"
  std::string description;  // may carry a group after a backslash
};

// A registered name the host can have written: 1 to 8 printable ASCII bytes
// without a blank.
bool IsUsableRegistration(std::string_view value);

class RegisteredAvatars {
 public:
  static constexpr int kMaxKeys = 256;
  // The host reads its values into 32-byte buffers.
  static constexpr std::size_t kValueBuffer = 32;

  // Reads "MYAVATAR<n>" and "MYAVADOC<n>" for n = 1..256, keeping the
  // registrations whose ".cmp" file exists.  A loaded list is kept unless
  // `reload` (the Shift key held while the menu opens).  Returns the count.
  int Load(Profile& host_ini, const std::string& section, const std::string& avatar_base,
           const std::string& program_dir, Files& files, bool reload);

  const std::vector<RegisteredAvatar>& entries() const { return entries_; }
  int count() const { return static_cast<int>(entries_.size()); }

 private:
  std::vector<RegisteredAvatar> entries_;
};

// The avatar change menu: "登録ｱﾊﾞﾀ" with the registrations (grouped into
// submenus as their descriptions ask) when there are any, then the avatar of
// each object 1..11 that wears one, a separator before the first other
// person.  Stores object n's avatar reference in entries[n - 1].
Menu AvatarChangeMenu(const std::vector<RegisteredAvatar>& registered,
                      const ObjectTable& objects,
                      std::array<std::string, kMenuEntries>& entries);

// Tells the server the new avatar: the default one first, then the chosen
// one, then (unless the ghost is frozen) the own room position.
void ChangeAvatar(const std::string& reference, ChatCore& chat, RelayPort& relay);

}  // namespace tellu
