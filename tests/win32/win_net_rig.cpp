// The socket tests on Winsock, notified through the message window.
#include "win32/win_net.h"

#include "net/net_rig.h"
#include "win32/message_window.h"

namespace tellu {
namespace {

class WinRig : public NetRig {
 public:
  bool ok() const override { return winsock_.ok() && window_.ok(); }
  Net& net() override { return net_; }
  bool RunUntil(const std::function<bool()>& done, int timeout_ms) override {
    // A tick now and then, so that done() is asked again while nothing comes.
    const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr);
    const bool result = PumpMessagesUntil(done, static_cast<DWORD>(timeout_ms));
    KillTimer(nullptr, wake);
    return result;
  }

 private:
  WinsockSession winsock_;
  MessageWindow window_;
  WinNet net_{window_};
};

}  // namespace

std::unique_ptr<NetRig> MakeNetRig() { return std::make_unique<WinRig>(); }

}  // namespace tellu
