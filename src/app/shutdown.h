// The order in which a run is taken down, whichever way it ends: the host's
// configuration first (it must never stay patched), then the log, then the
// connections.
#pragma once
#include <functional>

#include "app/launch.h"
#include "log/log_file.h"
#include "relay/relay.h"

namespace tellu {

struct ShutdownParts {
  HostLaunch& launch;
  LogFile* log_file;                   // none before a slot was chosen
  std::function<void()> close_peers;   // the avatar exchange's connections
  Relay& relay;
};

// 1. the backup copied back over the host configuration if it still exists;
// 2. the log file's end banner; 3. the accepted peer connections; 4. the
// listening socket, the host connection and the server connection.
void ShutdownInOrder(const ShutdownParts& parts);

}  // namespace tellu
