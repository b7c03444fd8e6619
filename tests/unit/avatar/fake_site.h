// A TransferSite on fake ports for the transfer tests and the fuzz target:
// it records what the transfers tell it, and a listener that greets peers
// and hands them to SCmdAccept objects the site keeps.
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "avatar/accept.h"
#include "avatar/ava_rcv.h"
#include "platform/fake_files.h"
#include "platform/fake_net.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"

namespace tellu::avatar_test {

inline constexpr int kPort = 5200;

class FakeSite : public TransferSite {
 public:
  Net& net() override { return net_; }
  Files& files() override { return *files_; }
  Timers& timers() override { return timers_; }
  Ui& ui() override { return ui_; }
  const std::string& ProgramDir() override { return dir; }
  std::string OwnName() override { return own_name; }
  int ServerPort() override { return kPort; }
  void SystemLine(const std::string& text) override { system_lines.push_back(text); }
  void AvatarRefresh(const std::string& final_path) override { refreshed.push_back(final_path); }
  // The exchange's request list is tried on its own; here every command is
  // one this side asked for.
  bool Admits(TransferDirection, const std::string&, const std::string&) override { return true; }
  void Received(const std::string& peer) override { received.push_back(peer); }
  std::set<std::string>& TempPaths() override { return temps; }
  void Release(PeerObject* object) override { released.push_back(object); }

  bool IsReleased(const PeerObject* object) const {
    for (const PeerObject* p : released)
      if (p == object) return true;
    return false;
  }

  // Accepts connections on kPort as the relay does for a peer: greeted with
  // "ok" LF, kind 1, served by a new SCmdAccept.
  void ListenForPeers() {
    listener_ = net_.Listen(kPort, [this](std::unique_ptr<Stream> stream) {
      auto sock = std::make_unique<CServSock>(std::move(stream), nullptr);
      sock->SetConnectionKind(SockKind::kPeerAccepted);
      sock->Send("ok\n");
      accepted.push_back(std::make_unique<SCmdAccept>(*this, std::move(sock)));
    });
  }
  // A peer connects; returns its far end with the greeting already taken.
  FakeNet::Peer* PeerConnects(const std::string& address = "203.0.113.7") {
    FakeNet::Peer* peer = net_.Accept(kPort, address);
    if (peer) peer->TakeSent();
    return peer;
  }
  SCmdAccept& LastAccepted() { return *accepted.back(); }

  // An outgoing transfer, started.
  SCmdAvaRcv& Open(const TransferOrder& order) {
    outgoing.push_back(std::make_unique<SCmdAvaRcv>(
        *this, order, [this](Transfer& t) { Release(&t); }));
    outgoing.back()->Start();
    return *outgoing.back();
  }

  FakeNet net_;
  FakeFiles fake_files;
  Files* files_ = &fake_files;
  FakeTimers timers_;
  FakeUi ui_;
  std::string dir = "C:\\host\\";
  std::string own_name = "me";
  std::vector<std::string> system_lines, refreshed, received;
  std::set<std::string> temps;
  std::vector<PeerObject*> released;
  std::vector<std::unique_ptr<SCmdAccept>> accepted;
  std::vector<std::unique_ptr<SCmdAvaRcv>> outgoing;

 private:
  std::unique_ptr<Listener> listener_;
};

}  // namespace tellu::avatar_test
