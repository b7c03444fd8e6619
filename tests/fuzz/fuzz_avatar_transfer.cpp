// Random bytes into each avatar transfer state machine, in random pieces:
// the connecting side getting and pushing, and the accepted side before and
// after a command line.  No file may appear outside the host folder, and
// once the peer is gone and the user has closed the windows no temporary
// file and no reserved temporary name is left.
#include <cstddef>
#include <cstdint>
#include <string>

#include "unit/avatar/fake_site.h"

using namespace tellu;
using namespace tellu::avatar_test;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int mode = data[0] % 6;
  uint32_t seed = data[1];
  std::string input(reinterpret_cast<const char*>(data + 2), size - 2);

  FakeSite site;
  const std::string final_path = "C:\\host\\avatar\\f.mov";
  site.fake_files.Put(final_path, std::string(1300, 'a'));
  FakeNet::Peer* peer = nullptr;
  if (mode <= 2) {
    const auto direction = mode == 2 ? TransferDirection::kPut : TransferDirection::kGet;
    site.Open({"bob", "198.51.100.2", "avatar\\f.mov", direction});
    peer = site.net_.LastConnect();
    if (!peer) return 0;
    peer->Complete();
    if (mode >= 1) input = "ok\n" + input;
  } else {
    site.ListenForPeers();
    peer = site.PeerConnects();
    if (mode == 4) input = "putava,x,avatar\\f.mov\n" + input;
    if (mode == 5) input = "getava,x,avatar\\f.mov\n" + input;
  }
  for (size_t at = 0; at < input.size();) {
    seed = seed * 1103515245u + 12345u;
    size_t n = 1 + (seed >> 16) % 600;
    peer->Feed(input.substr(at, n));
    at += n;
  }
  site.timers_.Advance(1000);
  // A command may name any avatar file of the host folder, never one outside.
  for (const auto& [path, bytes] : site.fake_files.contents())
    Check(path.rfind("C:\\host\\", 0) == 0 && path.find("..") == std::string::npos);
  // The end: the peer goes and the user cancels what windows stay, in
  // either order.
  auto cancel_all = [&site] {
    for (const auto& window : site.ui_.progress) window->Cancel();
  };
  if (!(seed & 1)) cancel_all();
  peer->Close();
  cancel_all();
  site.timers_.Advance(1000);
  Check(site.temps.empty());
  for (const auto& [path, bytes] : site.fake_files.contents())
    Check(!path.ends_with(".tmp") && !path.ends_with(".TMP"));
  return 0;
}
