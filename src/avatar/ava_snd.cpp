#include "avatar/ava_snd.h"

namespace tellu {

SCmdAvaSnd::SCmdAvaSnd(TransferSite& site, CServSock& connection, std::string peer,
                       std::string file, TransferDirection direction,
                       EndedFn ended)
    : Transfer(site, std::move(peer), std::move(file), direction, std::move(ended)),
      connection_(connection) {}

void SCmdAvaSnd::Start() {
  SetUp();
  cursor_ = 0;
  remaining_ = 0;
  if (direction_ == TransferDirection::kPut) {
    state_ = kAwaitingAck;
    if (!OpenForSending()) return Close();
    StartSending();
    return;
  }
  state_ = kSizeDigits;
  total_ = 0;
  count_ = 8;
  if (!CreateTemporary()) return Close();
}

}  // namespace tellu
