#include "avatar/handshake.h"

#include "avatar/address.h"
#include "avatar/texts.h"
#include "settings/unsendable.h"
#include "chat/objects.h"

namespace tellu {

namespace t = avatar_text;

Handshake::Handshake(Links links) : l_(std::move(links)), self_(std::make_shared<Handshake*>(this)) {}

void Handshake::Whisper(const std::string& target, std::string_view text) {
  l_.chat.Whisper(target, text, false);
}

void Handshake::SystemLine(const std::string& text) { l_.chat.SystemLine(text); }

bool Handshake::AvatarWhisperCheck(const std::string& text, const std::string& speaker) {
  std::string_view view(text);
  if (!view.starts_with(t::kPrefix)) return false;
  std::string_view rest = view.substr(t::kPrefix.size());
  if (rest.starts_with(t::kNoticeKey)) {
    l_.ui.Notice(std::string(rest.substr(t::kNoticeKey.size())),
                 std::string(t::kFromCaption) + speaker, NoticeIcon::None);
  } else if (rest.starts_with(t::kRequestKey)) {
    OnAvatarRequest(speaker, rest.substr(t::kRequestKey.size()));
  } else if (rest.starts_with(t::kOfferKey)) {
    OnAvatarOffer(speaker, rest);
  } else {
    Whisper(speaker, std::string(t::kUnsupportedHead) + l_.places.bar_title +
                         std::string(t::kUnsupportedTail));
  }
  return true;
}

void Handshake::OnAvatarRequest(const std::string& requester, std::string_view scrambled) {
  const std::string address = DecodeAddress(scrambled);
  const std::string file = l_.chat.state().current_avatar;
  if (!IsAvatarFileName(file)) {
    SystemLine(requester + std::string(t::kBadFileTail));
    return;
  }
  if (!l_.files.Exists(l_.places.program_dir + file)) {
    Whisper(requester, t::kNoFileNotice);
    return;
  }
  if (IsLocalAddress(l_.own_address()) && IsLocalAddress(address)) {
    Whisper(requester, std::string(t::kLocalNoticeHead) + l_.chat.state().own_name +
                           std::string(t::kLocalNoticeTail));
    l_.ui.Notice(requester + std::string(t::kLocalWarningTail), std::string(t::kCaption),
                 NoticeIcon::Exclamation);
    return;
  }
  const std::string own_address_then = l_.own_address();
  l_.ui.Beep(BeepKind::Asterisk);
  l_.flash.Start();
  const Settings& s = l_.settings.settings();
  if (s.ava_req_refuse_flag != 0 || l_.chat.state().status == kAwayStatus) {
    // The refusal goes out even when the user's own words cannot.
    if (s.ava_req_refuse_flag != 0)
      Whisper(requester, std::string(t::kRefusalNotice) +
                             (Sendable(s.ava_req_refuse_msg) ? s.ava_req_refuse_msg : ""));
    else
      Whisper(requester, t::kAwayNotice);
    SystemLine(std::string(t::kAutoRefusedHead) + requester + std::string(t::kAutoRefusedTail));
    l_.flash.Stop();
    return;
  }
  std::weak_ptr<Handshake*> self = self_;
  l_.ui.Ask(requester + std::string(t::kQuestionTail), std::string(t::kCaption),
            [self, requester, address, file, own_address_then](bool yes) {
              if (auto alive = self.lock())
                (*alive)->Answer(yes, requester, address, file, own_address_then);
            });
}

void Handshake::Answer(bool yes, const std::string& requester, const std::string& address,
                       const std::string& file, const std::string& own_address_then) {
  if (!yes) {
    Whisper(requester, t::kDeclineNotice);
  } else if (IsLocalAddress(l_.own_address())) {
    // Behind a private network nobody can reach us: we connect and push.
    l_.start_transfer({requester, address, file, TransferDirection::kPut});
  } else {
    l_.requests.Offered(requester, file);
    Whisper(requester, std::string(t::kPrefix) + std::string(t::kOfferKey) + file + t::kOfferSeparator +
                           EncodeAddress(own_address_then));
  }
  l_.flash.Stop();
}

void Handshake::OnAvatarOffer(const std::string& owner, std::string_view text) {
  std::string_view rest = text.substr(std::min(text.size(), t::kOfferKey.size()));
  std::string_view file = rest, scrambled;
  if (std::size_t comma = rest.find(t::kOfferSeparator); comma != std::string_view::npos) {
    file = rest.substr(0, comma);
    scrambled = rest.substr(comma + 1);
  }
  if (!l_.requests.HasRequested(owner)) {
    if (l_.refused) l_.refused(Refusal::kOffer, owner, std::string(file));
    return;
  }
  // The file is written where the offer says: only a name that stays in the
  // host program directory is taken.
  if (!IsAvatarFileName(file)) {
    SystemLine(owner + std::string(t::kBadFileTail));
    return;
  }
  l_.start_transfer({owner, DecodeAddress(scrambled), std::string(file), TransferDirection::kGet});
}

void Handshake::RequestAvatar(const std::string& name) {
  if (name.empty()) return;
  l_.requests.Requested(name);
  Whisper(name, std::string(t::kPrefix) + std::string(t::kRequestKey) +
                    EncodeAddress(l_.own_address()));
}

Menu Handshake::RequestMenu() {
  Menu menu;
  const ObjectTable& objects = l_.chat.objects();
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    const ObjectRecord& r = objects.Get(n);
    if (r.avatar.empty()) continue;
    if (MarkOf(r.pos).companion == Companion::kNone) continue;
    MenuItem item;
    item.command = kRequestCommandBase + n;
    item.label = r.name + "\t" + std::string(AfterFirstBackslash(r.avatar));
    menu.push_back(std::move(item));
    entries_[n - kFirstOther] = r.name;
  }
  return menu;
}

bool Handshake::OnRequestCommand(int command) {
  const int k = command - (kRequestCommandBase + kFirstOther);
  if (k < 0 || k >= kMenuEntries) return false;
  RequestAvatar(entries_[k]);
  return true;
}

}  // namespace tellu
