// The first line on an accepted peer connection: "getava," or "putava,",
// the peer's name and a file reference.  A sound line that answers this
// side's request or offer hands the connection to an SCmdAvaSnd; anything
// else ends it.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "avatar/ava_snd.h"
#include "avatar/transfer.h"
#include "relay/serv_sock.h"

namespace tellu {

class SCmdAccept : public PeerObject {
 public:
  // The longest command line taken: a name and a reference, 255 bytes each
  // at most on the chat wire, with room to spare.
  static constexpr std::size_t kMaxLine = 1024;
  // A peer that names no file within this time is let go.
  static constexpr int kLineTimeoutMs = 60000;

  // connection: greeted, kind 1.
  SCmdAccept(TransferSite& site, std::unique_ptr<CServSock> connection);
  ~SCmdAccept() override;
  SCmdAccept(const SCmdAccept&) = delete;
  SCmdAccept& operator=(const SCmdAccept&) = delete;

  void OnReceive(std::string_view bytes) override;
  void OnClose() override { End(); }

  SCmdAvaSnd* transfer() const { return transfer_.get(); }
  bool ended() const { return ended_; }

 private:
  void Evaluate();
  // Closes the connection and lets the site release this object, with the
  // transfer if there is one.
  void End();

  TransferSite& site_;
  std::unique_ptr<CServSock> connection_;
  std::string line_;
  std::unique_ptr<SCmdAvaSnd> transfer_;  // destroyed before the connection
  Timers::Id timer_ = 0;
  bool ended_ = false;
};

}  // namespace tellu
