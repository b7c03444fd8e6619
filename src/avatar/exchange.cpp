#include "avatar/exchange.h"

#include <algorithm>

#include "avatar/accept.h"
#include "avatar/ava_rcv.h"
#include "chat/kinds.h"

namespace tellu {

void AvatarRefresh(const ObjectTable& objects, const Movement& movement, RelayPort& relay,
                   const std::string& final_path) {
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    const ObjectRecord& r = objects.Get(n);
    if (r.name.empty() || final_path.find(r.avatar) == std::string::npos) continue;
    relay.SendToHost(movement.RoomPositionRecord(n, kind::kReloadFirst));
    relay.SendToHost(movement.RoomPositionRecord(n, kind::kReloadSecond));
  }
}

AvatarExchange::AvatarExchange(ChatCore& chat, RelayAccess relay, SettingsStore& settings,
                               Ports ports)
    : chat_(chat),
      relay_(std::move(relay)),
      ports_(ports),
      flash_(ports.timers, ports.ui),
      requests_(ports.timers),
      handshake_({chat, settings, ports.files, ports.ui, flash_, requests_, places_,
                  relay_.own_address,
                  [this](const TransferOrder& order) { StartTransfer(order); },
                  [this](Refusal what, const std::string& name, const std::string& reference) {
                    Refused(what, name, reference);
                  }}) {
  chat_.set_avatar_hook(this);
}

AvatarExchange::~AvatarExchange() {
  chat_.set_avatar_hook(nullptr);
  if (reaper_ != 0) ports_.timers.Cancel(reaper_);
  live_.clear();
  released_.clear();
}

std::size_t AvatarExchange::live() const { return live_.size(); }

void AvatarExchange::Accept(std::unique_ptr<CServSock> connection) {
  TransferSite& site = *this;
  live_.push_back(std::make_unique<SCmdAccept>(site, std::move(connection)));
}

void AvatarExchange::StartTransfer(const TransferOrder& order) {
  TransferSite& site = *this;
  auto transfer =
      std::make_unique<SCmdAvaRcv>(site, order, [this](Transfer& t) { Release(&t); });
  SCmdAvaRcv* raw = transfer.get();
  live_.push_back(std::move(transfer));
  raw->Start();
}

void AvatarExchange::Release(PeerObject* object) {
  auto it = std::find_if(live_.begin(), live_.end(),
                         [object](const auto& p) { return p.get() == object; });
  if (it == live_.end()) return;
  released_.push_back(std::move(*it));
  live_.erase(it);
  if (reaper_ == 0)
    reaper_ = ports_.timers.Start(0, false, [this] {
      reaper_ = 0;
      released_.clear();
    });
}

void AvatarExchange::AvatarRefresh(const std::string& final_path) {
  tellu::AvatarRefresh(chat_.objects(), chat_.movement(), relay_.port, final_path);
}

bool AvatarExchange::Admits(TransferDirection this_side, const std::string& peer,
                            const std::string& reference) {
  const bool asked = this_side == TransferDirection::kGet ? requests_.HasRequested(peer)
                                                          : requests_.HasOffered(peer, reference);
  if (!asked) Refused(this_side == TransferDirection::kGet ? Refusal::kPush : Refusal::kFetch,
                      peer, reference);
  return asked;
}

void AvatarExchange::Refused(Refusal what, const std::string& name,
                             const std::string& reference) {
  if (refused_) refused_(what, name, reference);
}

Menu AvatarExchange::ChangeMenu(bool shift) {
  if (host_ini_)
    registered_.Load(*host_ini_, host_section_, chat_.state().avatar_base, places_.program_dir,
                     ports_.files, shift);
  return AvatarChangeMenu(registered_.entries(), chat_.objects(), change_entries_);
}

bool AvatarExchange::OnMenuCommand(int command) {
  if (command > kChangeCommandBase && command <= kChangeCommandBase + kMenuEntries) {
    const std::string& reference = change_entries_[command - kChangeCommandBase - 1];
    if (!reference.empty()) ChangeAvatar(reference);
    return true;
  }
  if (command >= kRegisteredCommandBase &&
      command < kRegisteredCommandBase + RegisteredAvatars::kMaxKeys) {
    const std::size_t k = command - kRegisteredCommandBase;
    if (k < registered_.entries().size()) ChangeAvatar(registered_.entries()[k].file);
    return true;
  }
  return handshake_.OnRequestCommand(command);
}

void AvatarExchange::ChangeAvatar(const std::string& reference) {
  tellu::ChangeAvatar(reference, chat_, relay_.port);
}

}  // namespace tellu
