#include "app/shutdown.h"

namespace tellu {

void ShutdownInOrder(const ShutdownParts& parts) {
  parts.launch.Restore();
  if (parts.log_file) parts.log_file->Close();
  if (parts.close_peers) parts.close_peers();
  parts.relay.Shutdown();
}

}  // namespace tellu
