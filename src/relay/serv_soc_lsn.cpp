#include "relay/serv_soc_lsn.h"

#include <utility>

namespace tellu {

CServSocLsn::CServSocLsn(Net& net, Net::AcceptFn owner_accept)
    : net_(net), owner_accept_(std::move(owner_accept)) {}

bool CServSocLsn::Listen(int port) {
  listener_ = net_.Listen(port, [this](std::unique_ptr<Stream> c) { OnAccept(std::move(c)); });
  return listener_ != nullptr;
}

void CServSocLsn::OnAccept(std::unique_ptr<Stream> connection) {
  owner_accept_(std::move(connection));
}

}  // namespace tellu
