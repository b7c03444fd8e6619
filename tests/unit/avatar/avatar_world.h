// One user's program on fake ports for the exchange tests and the whisper
// fuzz target: a chat core, the avatar exchange attached to it, and readers
// for what the chat core sent the server and the host.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "avatar/exchange.h"
#include "chat/chat_core.h"
#include "chat_parts.h"
#include "chat/wire.h"
#include "log/log_file.h"
#include "log/log_store.h"
#include "platform/fake_files.h"
#include "platform/fake_net.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"
#include "settings/settings_store.h"

namespace tellu::avatar_test {

class RelayRecorder : public RelayPort {
 public:
  void SendToServer(std::string_view payload) override { to_server.emplace_back(payload); }
  void SendToHost(std::string_view payload) override { to_host.emplace_back(payload); }
  bool HasServer() const override { return true; }
  std::vector<std::string> to_server, to_host;
};

struct WhisperOut {
  std::string target, sender, text;
  bool operator==(const WhisperOut&) const = default;
};

class World : public ChatParts<RelayRecorder> {
 public:
  static constexpr int kPort = 5200;
  static constexpr const char* kDir = "C:\\host\\";

  explicit World(std::string own_name, std::string own_address = "203.0.113.10")
      : address(std::move(own_address)) {
    host_count = 2;  // logged in
    core.state().own_name = std::move(own_name);
    exchange.SetHostPlaces({kDir, "Tellu bar"});
  }

  // The whispers sent to the server, decoded.
  std::vector<WhisperOut> Whispers() const {
    std::vector<WhisperOut> out;
    for (const std::string& p : relay.to_server) {
      if (p.empty() || p[0] != 0) continue;
      PayloadReader r(p, 1);
      WhisperOut w;
      w.target = r.ReadString();
      r.Skip(2);
      w.sender = r.ReadString();
      w.text = r.ReadString();
      out.push_back(w);
    }
    return out;
  }
  // Lines shown to the host under the speaker "Tellu".
  std::vector<std::string> SystemLines() const {
    std::vector<std::string> out;
    for (const std::string& p : relay.to_host) {
      if (!std::string_view(p).starts_with(std::string_view("\x01\x0E\x00", 3))) continue;
      PayloadReader r(p, 3);
      if (r.ReadString() == "Tellu") out.push_back(r.ReadString());
    }
    return out;
  }
  // A whisper arrives from the server; returns DispAddBin's verdict.
  Verdict Whispered(std::string_view speaker, std::string_view text) {
    std::string p("\x01\x11\x00", 3);
    PutString(p, speaker);
    PutString(p, text);
    return core.DispAddBin(Direction::kFromServer, p);
  }
  // Object n is `name` wearing `avatar`, with the z mark given.
  void Person(int n, std::string_view name, std::string_view avatar, int z_mark) {
    core.DispAddBin(Direction::kFromServer, BuildObjectNaming(name, n));
    core.DispAddBin(Direction::kFromServer, BuildNamedObjectAvatar(name, avatar));
    BatchRecord record{n, 0, Position{100, 200, static_cast<int16_t>(0x40 | z_mark), 0}};
    core.DispAddBin(Direction::kFromServer, BuildPositionBatch({&record, 1}));
  }
  // The host announces the user's own avatar.
  void OwnAvatar(std::string_view reference) { core.DispAddBin(Direction::kFromHost, BuildOwnAvatar(reference)); }

  // Peers connecting to the listening port reach the exchange greeted, as the
  // relay hands them over.
  void ListenForPeers() {
    listener = net.Listen(kPort, [this](std::unique_ptr<Stream> stream) {
      auto sock = std::make_unique<CServSock>(std::move(stream), nullptr);
      sock->SetConnectionKind(SockKind::kPeerAccepted);
      sock->Send("ok\n");
      exchange.Accept(std::move(sock));
    });
  }

  std::string address;
  FakeNet net;
  AvatarExchange exchange{core,
                          {relay, [this] { return address; }, [] { return kPort; }},
                          settings,
                          {net, files, timers, ui}};
  std::unique_ptr<Listener> listener;
};

}  // namespace tellu::avatar_test
