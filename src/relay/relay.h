// The relay between the host and the chat server, every message through the
// parser; later connections to its listening socket are avatar-exchange peers.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net.h"
#include "relay/cliant_sock.h"
#include "relay/framing.h"
#include "relay/parser_port.h"
#include "relay/protocol.h"
#include "relay/relay_port.h"
#include "relay/serv_soc_lsn.h"
#include "relay/serv_sock.h"

namespace tellu {

// Shown in the log window, in RGB(0, 128, 0), when the server connection is lost.
inline constexpr char kServerLostNotice[] =
    "\n\x83\x54\x81\x5B\x83\x6F\x81\x5B\x82\xC6\x82\xCC\x90\xDA\x91\xB1\x82\xAA"
    "\x90\xD8\x82\xEA\x82\xDC\x82\xB5\x82\xBD\x81\x42";  // \nサーバーとの接続が切れました。

// The first connection, from this machine, is the host's: the relay then
// connects to the server, and host bytes that come meanwhile wait for it.
class Relay : public RelayPort {
 public:
  using NoticeFn = std::function<void(const std::string& text)>;
  // Takes a greeted peer connection (kPeerAccepted) and the serving of it.
  using PeerFn = std::function<void(std::unique_ptr<CServSock> connection)>;

  explicit Relay(Net& net);
  ~Relay() override;
  Relay(const Relay&) = delete;
  Relay& operator=(const Relay&) = delete;

  // Without a parser every message is forwarded.
  void SetParser(ParserPort* parser) { parser_ = parser; }
  // The server's host name or dotted address, and where its port is read at
  // each connect (5200 without one).
  void SetServer(std::string host_name, std::function<int()> read_port);
  void SetServerLostNotice(NoticeFn notice) { server_lost_ = std::move(notice); }
  // Without one, peers are greeted and closed.
  void SetPeerAccept(PeerFn accept) { peer_accept_ = std::move(accept); }

  // Opens the listening socket; false when the port cannot be had.
  bool Open(int port);
  // Closes the listening socket and the relay's connections.
  void Shutdown();

  void SendToServer(std::string_view payload) override;
  void SendToHost(std::string_view payload) override;
  bool HasServer() const override { return server_ && server_->IsConnected(); }

  uint64_t HostMessageCount() const { return host_count_; }
  uint64_t ServerMessageCount() const { return server_count_; }
  // Local end of the server connection, empty until the first one is made.
  const std::string& OwnAddress() const { return own_address_; }
  // The port the server connection was made on; also the transfers' port.
  int ServerPort() const { return server_port_; }
  bool IsListening() const { return listener_ && listener_->IsListening(); }
  int ListeningPort() const { return listener_ ? listener_->Port() : 0; }
  bool HasHost() const { return !hosts_.empty(); }

 private:
  friend class CServSock;
  friend class CCliantSock;

  void Accept(std::unique_ptr<Stream> connection);
  void ServerConnected(bool connected, int port);
  void HostReceived(std::string_view bytes);
  void ServerReceived(std::string_view bytes);
  void HostClosed();
  void ServerClosed();
  void RelayBytes(Direction direction, std::string_view bytes);
  // Forgets what belonged to the connections that just ended.
  void EndSession();

  Net& net_;
  ParserPort* parser_ = nullptr;
  NoticeFn server_lost_;
  PeerFn peer_accept_;
  std::function<int()> read_port_;

  std::unique_ptr<CServSocLsn> listener_;
  std::vector<std::unique_ptr<CServSock>> hosts_;  // at most one
  std::unique_ptr<CCliantSock> server_;
  std::string server_host_;
  int server_port_ = kDefaultPort;
  std::string own_address_;
  Reassembly host_rx_, server_rx_;
  uint64_t host_count_ = 0, server_count_ = 0;
  // Host bytes that came while the server connect was under way.
  std::string host_waiting_;
  // Changes whenever connections end, so a pass over received bytes can tell
  // that the connections it serves went away under it.
  uint64_t session_ = 0;
};

}  // namespace tellu
