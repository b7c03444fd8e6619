#include "avatar/ava_rcv.h"

#include "avatar/address.h"

namespace tellu {

namespace {
constexpr uint32_t kGreetingLimit = 8;
}  // namespace

SCmdAvaRcv::SCmdAvaRcv(TransferSite& site, const TransferOrder& order, EndedFn ended)
    : Transfer(site, order.peer, order.file, order.direction, std::move(ended)),
      address_(order.address),
      sock_(site.net(), SockKind::kOutgoingTransfer, nullptr) {
  state_ = kGreeting;
  remaining_ = kGreetingLimit;
  sock_.SetPeer(this);
}

SCmdAvaRcv::~SCmdAvaRcv() { sock_.SetPeer(nullptr); }

void SCmdAvaRcv::Start() {
  // The order comes from another user's whisper: only a plain address and a
  // file name inside the host program directory are taken.
  if (!IsAvatarFileName(reference_) || !IsDottedAddress(address_)) return Close();
  SetUp();
  if (direction_ == TransferDirection::kGet) {
    if (!CreateTemporary()) return Close();
  } else {
    if (!OpenForSending()) return Close();
    StartProgress();
  }
  sock_.Connect(address_, site_.ServerPort(), [this](bool connected) {
    if (!connected) Close();
  });
}

}  // namespace tellu
