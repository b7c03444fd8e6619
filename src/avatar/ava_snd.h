// The accepted side's transfer, created from the peer's command line: it
// sends the file for "getava," and receives it for "putava,".
#pragma once
#include <functional>
#include <string>

#include "avatar/transfer.h"
#include "relay/serv_sock.h"

namespace tellu {

class SCmdAvaSnd : public Transfer {
 public:
  // The connection belongs to the SCmdAccept that creates this object and
  // outlives it.
  SCmdAvaSnd(TransferSite& site, CServSock& connection, std::string peer, std::string file,
             TransferDirection direction, EndedFn ended);

  // Opens the file; put: sends the size and the first chunk at once.  Any
  // failure closes the transfer.
  void Start();
  // The peer went away: the window stays, at its last share, until the user
  // cancels it; after an empty file there is nothing left to wait for.
  void OnClose() override {
    if (SentEmptyFile()) Close();
  }

 private:
  void Send(std::string_view bytes) override { connection_.Send(bytes); }
  void CloseConnection() override { connection_.Close(); }

  CServSock& connection_;
};

}  // namespace tellu
