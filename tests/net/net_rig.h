// A platform's Net and the loop it runs on, for the socket tests that every
// platform's implementation must pass.
#pragma once
#include <functional>
#include <memory>

#include "platform/net.h"

namespace tellu {

class NetRig {
 public:
  virtual ~NetRig() = default;
  // False when the platform's sockets could not be set up.
  virtual bool ok() const = 0;
  virtual Net& net() = 0;
  // Runs the loop until done() holds or timeout_ms has passed (what is
  // already waiting runs even with 0); returns done().
  virtual bool RunUntil(const std::function<bool()>& done, int timeout_ms) = 0;
  // Runs the loop a while, for things that must not happen.
  void Idle(int ms) { RunUntil([] { return false; }, ms); }
};

// Defined once per platform.
std::unique_ptr<NetRig> MakeNetRig();

}  // namespace tellu
