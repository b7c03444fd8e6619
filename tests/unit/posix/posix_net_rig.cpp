// The socket tests on POSIX sockets and the console's poll loop.
#include "posix/posix_net.h"

#include "net/net_rig.h"

namespace tellu {
namespace {

class PosixRig : public NetRig {
 public:
  bool ok() const override { return true; }
  Net& net() override { return net_; }
  bool RunUntil(const std::function<bool()>& done, int timeout_ms) override {
    if (timeout_ms == 0) {
      loop_.RunOnce(0);
      return done();
    }
    return loop_.RunUntil(done, timeout_ms);
  }

 private:
  PosixLoop loop_;
  PosixNet net_{loop_};
};

}  // namespace

std::unique_ptr<NetRig> MakeNetRig() { return std::make_unique<PosixRig>(); }

}  // namespace tellu
