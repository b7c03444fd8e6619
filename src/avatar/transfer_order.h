// A transfer this side opens: the handshake decides it, the exchange connects.
#pragma once
#include <string>

namespace tellu {

// get: this side receives the file; put: this side sends it.
enum class TransferDirection { kGet, kPut };

struct TransferOrder {
  std::string peer;     // the other person's handle
  std::string address;  // the other side's dotted address
  std::string file;     // reference relative to the host program directory
  TransferDirection direction = TransferDirection::kGet;
};

}  // namespace tellu
