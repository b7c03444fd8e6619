// The side that opens the transfer connection: the requester fetching an
// offered file (get), or an owner behind a private network pushing its file
// to the requester (put).
#pragma once
#include <functional>
#include <string>

#include "avatar/transfer.h"
#include "relay/cliant_sock.h"

namespace tellu {

class SCmdAvaRcv : public Transfer {
 public:
  SCmdAvaRcv(TransferSite& site, const TransferOrder& order, EndedFn ended);
  ~SCmdAvaRcv() override;

  // Opens the file and starts connecting to the peer on the server port.
  // Any failure closes the transfer silently.
  void Start();
  // The peer closed or the connection failed: the transfer ends at once.
  void OnClose() override { Close(); }

  const CCliantSock& connection() const { return sock_; }

 private:
  void Send(std::string_view bytes) override { sock_.Send(bytes); }
  void CloseConnection() override { sock_.Close(); }

  std::string address_;
  CCliantSock sock_;
};

}  // namespace tellu
